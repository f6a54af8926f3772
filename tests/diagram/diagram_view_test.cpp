#include <QtTest>
#include <algorithm>
#include <ranges>

#include "diagram/compass_view.h"
#include "diagram/diagram_view.h"

namespace palquin {
namespace {

const auto Pixel = [](double xTw, double yTw) { return (QPointF(xTw, yTw) / 15.0).toPoint(); };
const auto IsMagenta = [](QColor c) { return c.red() > 200 && c.blue() > 200 && c.green() < 160; };
const auto IsDarkRed = [](QColor c) { return c.red() >= 80 && c.green() < 30 && c.blue() < 30; };

// Paints the view over black, as a window's frame shows behind it.
QImage Render(QWidget& view) {
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    view.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

// Lines are antialiased: true when the pixel or one next to it is of the wanted kind.
bool NearPixel(const QImage& image, QPoint at, bool (*wanted)(QColor)) {
    return std::ranges::any_of(std::views::iota(0, 9), [&](int i) {
        return wanted(image.pixelColor(at + QPoint(i % 3 - 1, i / 3 - 1)));
    });
}

}  // namespace

class DiagramViewTest : public QObject {
    Q_OBJECT

  private slots:
    void PaintsAxisGridMarkerAndRotationLine() {
        LayoutModel model;  // Moscow, 36 E central, 13 E in slot 2: right of and above the centre
        model.PlaceExtra(2, 50, 208.98141531600504, 22.772725167247664, 181.9354308031532,
                         26.46327596944846, 272.8232750948578, 38.62063891096427, "E 13.0");
        model.PlaceRotation(2, 50, 15.824612669384681);
        DiagramView view(&model);
        const QImage image = Render(view);
        // Below the markers: the fixed vertical axis, a grid line one division right, the frame.
        QCOMPARE(image.pixelColor(Pixel(5645, 2700)), QColor(0, 255, 0));
        QCOMPARE(image.pixelColor(Pixel(5855, 2700)), QColor(128, 128, 255));
        QCOMPARE(image.pixelColor(Pixel(5750, 2700)), QColor(Qt::black));
        // Slot 2's marker fill, clear of crosshair, caption and rotation line.
        QCOMPARE(image.pixelColor(Pixel(8378.23 + 200, 1181.29 - 100)), QColor(255, 255, 128));
        // The rotation line outside the marker, 400 twips from its centre.
        const LineTw& line = model.Slot(2).rotationLine;
        QVERIFY(NearPixel(
            image, Pixel(0.9 * line.x1Tw + 0.1 * line.x2Tw, 0.9 * line.y1Tw + 0.1 * line.y2Tw),
            IsMagenta));
    }

    // 13 E and 16 E side by side with 60 mm converters: both outlines and the warning turn red.
    void MarksCollidingConvertersRed() {
        LayoutModel model;
        model.PlaceCentral(60, "E 36.0");
        model.PlaceExtra(2, 60, 209, 22.7, 182, 26.5, 272, 38.6, "E 13.0");
        model.PlaceExtra(3, 60, 205, 23.1, 182, 26.5, 227, 34.6, "E 16.0");
        DiagramView view(&model);
        const auto IsRed = [](QColor c) {
            return c.red() > 200 && c.green() < 80 && c.blue() < 80;
        };
        const auto redAt = [&](int slot, double dxTw) {
            const RectTw& m = model.Slot(slot).marker;
            return NearPixel(Render(view), Pixel(m.CenterXTw() + dxTw, m.CenterYTw()), IsRed);
        };
        if (qEnvironmentVariableIsSet("PALQUIN_SHOT_DIR")) {  // to look at by hand
            Render(view).save(qEnvironmentVariable("PALQUIN_SHOT_DIR") + "/collision.png");
        }
        // The outline's rightmost point, away from the other marker and the caption.
        QVERIFY(redAt(2, 300));
        QVERIFY(redAt(3, -300));
        QVERIFY(!redAt(0, 300));
        // The warning's first letter at the bottom left of the frame.
        const QImage image = Render(view);
        int redPixels = 0;
        for (int y = image.height() - 20; y < image.height(); ++y) {
            for (int x = 0; x < 200; ++x) {
                redPixels += IsRed(image.pixelColor(x, y)) ? 1 : 0;
            }
        }
        QVERIFY(redPixels > 20);

        model.HideSlot(3);
        QVERIFY(!redAt(2, 300));
    }

    void PaintsTheNeedleOnlyWhilePointed() {
        CompassView view(PanelCompassLayout());
        // The middle of the needle at azimuth 45, clear of the cross and the letters.
        const auto needleOn = [&] { return NearPixel(Render(view), Pixel(610, 678), IsDarkRed); };
        QVERIFY(!needleOn());
        view.PointNeedle(45);
        QVERIFY(needleOn());
        view.HideNeedle();
        QVERIFY(!needleOn());
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::DiagramViewTest)
#include "diagram_view_test.moc"
