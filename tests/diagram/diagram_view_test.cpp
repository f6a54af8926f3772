// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>
#include <algorithm>
#include <ranges>

#include "diagram/compass_view.h"
#include "diagram/diagram_view.h"

namespace palquin {
namespace {

const auto Pixel = [](double xTw, double yTw) { return (QPointF(xTw, yTw) / 15.0).toPoint(); };
const auto IsRed = [](QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
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
    // 13 E and 16 E side by side with 60 mm converters; 13 E has its rotation line.
    void PaintsGridMarkersRotationAndCollisions() {
        LayoutModel model;
        model.PlaceCentral(60, "E 36.0");
        model.PlaceExtra(2, 60, 209, 22.7, 182, 26.5, 272, 38.6, "E 13.0");
        model.PlaceExtra(3, 60, 205, 23.1, 182, 26.5, 227, 34.6, "E 16.0");
        model.PlaceRotation(2, 60, 15.8);
        DiagramView view(&model);
        const QImage image = Render(view);
        // Above the markers: the fixed vertical axis, a grid line one division right, the frame.
        QCOMPARE(image.pixelColor(Pixel(5645, 300)), QColor(0, 255, 0));
        QCOMPARE(image.pixelColor(Pixel(5855, 300)), QColor(128, 128, 255));
        QCOMPARE(image.pixelColor(Pixel(5750, 300)), QColor(Qt::black));
        const RectTw& m2 = model.Slot(2).marker;
        // Slot 2's fill, clear of crosshair, caption and rotation line.
        QCOMPARE(image.pixelColor(Pixel(m2.CenterXTw() + 200, m2.CenterYTw() - 100)),
                 QColor(255, 255, 128));
        // The rotation line outside the marker, 480 twips from its centre.
        const LineTw& line = model.Slot(2).rotationLine;
        QVERIFY(NearPixel(
            image, Pixel(0.9 * line.x1Tw + 0.1 * line.x2Tw, 0.9 * line.y1Tw + 0.1 * line.y2Tw),
            IsMagenta));
        // The outlines' outer points away from the other marker and the captions.
        const auto redAt = [&](const QImage& shown, int slot, double dxTw) {
            const RectTw& marker = model.Slot(slot).marker;
            return NearPixel(shown, Pixel(marker.CenterXTw() + dxTw, marker.CenterYTw()), IsRed);
        };
        QVERIFY(redAt(image, 2, 300) && redAt(image, 3, -300) && !redAt(image, 0, 300));
        // The warning's first letters at the bottom left of the frame.
        const QImage corner = image.copy(0, image.height() - 20, 200, 20);
        QVERIFY(std::ranges::count_if(std::views::iota(0, 200 * 20), [&](int i) {
                    return IsRed(corner.pixelColor(i % 200, i / 200));
                }) > 20);
        model.HideSlot(3);
        QVERIFY(!redAt(Render(view), 2, 300));
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
