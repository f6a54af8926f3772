#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest>
#include <cmath>

#include "diagram/compass_view.h"
#include "diagram/diagram_view.h"

namespace palquin {
namespace {

const QColor kFrameColor(192, 192, 255);

QPoint Pixel(double xTw, double yTw) {
    return QPoint(static_cast<int>(std::floor(xTw / 15.0)),
                  static_cast<int>(std::floor(yTw / 15.0)));
}

// Renders the view inside a parent that paints the frame colour, as the window's frame does.
QImage RenderInFrame(QWidget* view, const QColor& background) {
    QWidget frame;
    frame.setAutoFillBackground(true);
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Window, background);
    frame.setPalette(palette);
    view->setParent(&frame);
    view->show();  // re-parenting hides a widget, and render() skips hidden children
    frame.resize(view->size());
    QImage image(view->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    frame.render(&image);
    view->setParent(nullptr);
    return image;
}

int CountPixels(const QImage& image, const QRect& area, bool (*wanted)(QColor)) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.rect().contains(x, y) && wanted(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return count;
}

// Lines are antialiased: look for a pixel of the wanted kind next to the expected one.
bool AnyPixelNear(const QImage& image, QPoint at, bool (*wanted)(QColor)) {
    return CountPixels(image, QRect(at - QPoint(1, 1), QSize(3, 3)), wanted) > 0;
}

QRect PixelBox(const RectTw& r) {
    return QRect(Pixel(r.leftTw, r.topTw), Pixel(r.leftTw + r.widthTw, r.topTw + r.heightTw));
}

const auto IsMagenta = [](QColor c) { return c.red() > 200 && c.blue() > 200 && c.green() < 160; };
const auto IsReddish = [](QColor c) { return c.red() > 200 && c.green() < 120 && c.blue() < 120; };
const auto IsDarkRed = [](QColor c) { return c.red() >= 80 && c.green() < 30 && c.blue() < 30; };
const auto IsBlue = [](QColor c) { return c.blue() > 150 && c.red() < 80 && c.green() < 80; };

// Receives the clicks the compass passes on.
class ClickCounter : public QWidget {
  public:
    int presses = 0;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        event->accept();
    }
};

}  // namespace

class DiagramViewTest : public QObject {
    Q_OBJECT

  private slots:
    void PaintsGridAxesAndSlot();
    void CompassNeedleFollowsPointAndHide();
    void CompassPassesBackgroundClicksOn();
};

void DiagramViewTest::PaintsGridAxesAndSlot() {
    LayoutModel model;
    // The worked example: slot 2 right of and above the centre, rotation 15.8.
    model.PlaceExtra(2, 50, 208.98141531600504, 22.772725167247664, 181.9354308031532,
                     26.46327596944846, 272.8232750948578, 38.62063891096427, "E 13.0");
    model.PlaceRotation(2, 50, 15.824612669384681);
    DiagramView view(&model);
    QCOMPARE(view.size(), QSize(745, 193));
    const QImage image = RenderInFrame(&view, kFrameColor);

    // Fixed vertical axis at 5640, below the markers and between grid lines.
    QCOMPARE(image.pixelColor(Pixel(5645, 2700)), QColor(0, 255, 0));
    // A grid line one division right of the centre.
    QCOMPARE(image.pixelColor(Pixel(5855, 2700)), QColor(128, 128, 255));
    // Between lines the frame shows through.
    QCOMPARE(image.pixelColor(Pixel(5750, 2700)), kFrameColor);
    // The untouched central marker, away from the axes and grid lines through its centre.
    QCOMPARE(image.pixelColor(Pixel(5500, 1717.5)), QColor(255, 255, 128));
    // Slot 2: crosshair bar drawn over its marker.
    QCOMPARE(image.pixelColor(Pixel(8378.23 - 200, 1181.29 + 7)), QColor(0, 255, 0));
    // Marker fill inside slot 2, clear of crosshair, caption and rotation line.
    QCOMPARE(image.pixelColor(Pixel(8378.23 + 200, 1181.29 - 100)), QColor(255, 255, 128));
    // Rotation line outside the marker, 400 twips up its axis from the centre.
    const double r = 15.824612669384681 * 3.14159265358979 / 180.0;
    QVERIFY(AnyPixelNear(image, Pixel(8378.23 - 400 * std::sin(r), 1181.29 - 400 * std::cos(r)),
                         IsMagenta));
    QVERIFY(CountPixels(image, PixelBox(model.Slot(2).caption), IsReddish) > 5);
}

void DiagramViewTest::CompassNeedleFollowsPointAndHide() {
    CompassView view(PanelCompassLayout());
    // Azimuth 45 points up and to the left; its midpoint is clear of the cross and the letters.
    const QRect midNeedle(Pixel(610, 678) - QPoint(4, 4), QSize(9, 9));
    const auto darkRedPixels = [&view, &midNeedle] {
        return CountPixels(RenderInFrame(&view, Qt::black), midNeedle, IsDarkRed);
    };
    QCOMPARE(darkRedPixels(), 0);

    view.PointNeedle(45);
    const LineTw& needle = view.Layout().needle;
    QVERIFY(needle.visible);
    const QImage image = RenderInFrame(&view, Qt::black);
    const double midX = (needle.x1Tw + needle.x2Tw) / 2.0;
    const double midY = (needle.y1Tw + needle.y2Tw) / 2.0;
    QVERIFY2(AnyPixelNear(image, Pixel(midX, midY), IsDarkRed),
             qPrintable(QStringLiteral("needle midpoint %1, %2 tw").arg(midX).arg(midY)));
    QVERIFY(CountPixels(image, PixelBox(view.Layout().letterN), IsBlue) > 3);

    view.HideNeedle();
    QCOMPARE(darkRedPixels(), 0);

    // The start stays on the cross; the end comes from the circle's box.
    CompassView picture(PictureCompassLayout());
    picture.PointNeedle(180);
    const LineTw& down = picture.Layout().needle;
    QCOMPARE(QPointF(down.x1Tw, down.y1Tw), QPointF(960, 960));
    QVERIFY2(std::abs(down.x2Tw - 967.5) < 1e-6 && std::abs(down.y2Tw - 1957.5) < 1e-6,
             qPrintable(QStringLiteral("end %1, %2 tw").arg(down.x2Tw).arg(down.y2Tw)));
}

void DiagramViewTest::CompassPassesBackgroundClicksOn() {
    ClickCounter window;
    window.resize(317, 132);
    auto* view = new CompassView(PictureCompassLayout(), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(view, Qt::LeftButton, {}, Pixel(300, 300));
    QCOMPARE(window.presses, 1);
    const RectTw& n = view->Layout().letterN;
    QTest::mouseClick(view, Qt::LeftButton, {}, Pixel(n.CenterXTw(), n.CenterYTw()));
    QCOMPARE(window.presses, 1);
}

}  // namespace palquin

QTEST_MAIN(palquin::DiagramViewTest)
#include "diagram_view_test.moc"
