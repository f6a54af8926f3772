// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/compass_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

#include "diagram/compass.h"
#include "diagram/twips.h"

namespace palquin {
namespace {

constexpr double kLetterSizeTw = 255.0;
constexpr double kNeedleLengthTw = 1000.0;
const QColor kCircleColor(0, 192, 0);
const QColor kCrossColor(0, 255, 0);
const QColor kNorthColor(0, 0, 255);
const QColor kSouthColor(255, 0, 0);
const QColor kWestColor(255, 0, 255);
const QColor kEastColor(192, 192, 0);

RectTw Letter(double leftTw, double topTw) {
    return {leftTw, topTw, kLetterSizeTw, kLetterSizeTw, true};
}

// Large enough for every element and for the needle in any direction, so that only the window
// around the view clips it.
QSize DefaultSize(const CompassLayout& layout) {
    double right = layout.circle.leftTw + layout.circle.widthTw;
    double bottom = layout.circle.topTw + layout.circle.heightTw;
    for (const LineTw& line : {layout.vertical, layout.horizontal}) {
        right = std::max({right, line.x1Tw, line.x2Tw});
        bottom = std::max({bottom, line.y1Tw, line.y2Tw});
    }
    for (const RectTw& letter : {layout.letterN, layout.letterS, layout.letterW, layout.letterE}) {
        right = std::max(right, letter.leftTw + letter.widthTw);
        bottom = std::max(bottom, letter.topTw + letter.heightTw);
    }
    right = std::max(right, layout.circle.CenterXTw() + kNeedleLengthTw);
    bottom = std::max(bottom, layout.circle.CenterYTw() + kNeedleLengthTw);
    return QSize(static_cast<int>(std::ceil(right / kTwipsPerPixel)),
                 static_cast<int>(std::ceil(bottom / kTwipsPerPixel)));
}

}  // namespace

CompassLayout PanelCompassLayout() {
    CompassLayout layout;
    layout.circle = {0.0, 240.0, 1935.0, 1575.0, true};
    layout.circleColor = kCircleColor;
    layout.vertical = {960.0, 120.0, 960.0, 1920.0, true};
    layout.horizontal = {120.0, 1035.0, 1800.0, 1035.0, true};
    layout.needle = {960.0, 1035.0, 1560.0, 1515.0, false};
    layout.needleColor = QColor(192, 0, 0);
    layout.letterN = Letter(960.0, 315.0);
    layout.letterS = Letter(720.0, 1515.0);
    layout.letterW = Letter(1440.0, 1035.0);
    layout.letterE = Letter(240.0, 795.0);
    return layout;
}

CompassLayout PictureCompassLayout() {
    CompassLayout layout;
    layout.circle = {0.0, 50.0, 1935.0, 1815.0, true};
    layout.circleColor = kCircleColor;
    layout.vertical = {960.0, 120.0, 960.0, 1800.0, true};
    layout.horizontal = {120.0, 960.0, 1800.0, 960.0, true};
    layout.needle = {960.0, 960.0, 1680.0, 1560.0, false};
    layout.needleColor = QColor(255, 255, 0);
    layout.letterN = Letter(960.0, 120.0);
    layout.letterS = Letter(720.0, 1600.0);
    layout.letterW = Letter(1600.0, 990.0);
    layout.letterE = Letter(80.0, 760.0);
    return layout;
}

CompassView::CompassView(CompassLayout layout, QWidget* parent)
    : QWidget(parent), layout_(std::move(layout)) {
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    resize(DefaultSize(layout_));
}

void CompassView::PointNeedle(double azimuthDeg) {
    const RectTw& c = layout_.circle;
    const NeedleEnd end = ComputeNeedleEnd(c.leftTw, c.topTw, c.widthTw, c.heightTw, azimuthDeg);
    // The start stays on the crossing of the cross lines, as laid out.
    layout_.needle.x2Tw = end.xTw;
    layout_.needle.y2Tw = end.yTw;
    layout_.needle.visible = true;
    update();
}

void CompassView::HideNeedle() {
    layout_.needle.visible = false;
    update();
}

bool CompassView::OnLetter(const QPointF& pixel) const {
    for (const RectTw* letter :
         {&layout_.letterN, &layout_.letterS, &layout_.letterW, &layout_.letterE}) {
        if (letter->visible && ToPixels(*letter).contains(pixel)) {
            return true;
        }
    }
    return false;
}

// The letters swallow clicks; anywhere else the click goes on to the window behind, which is
// how the picture window closes when its compass is clicked.
void CompassView::mousePressEvent(QMouseEvent* event) {
    event->setAccepted(OnLetter(event->position()));
}

void CompassView::mouseReleaseEvent(QMouseEvent* event) {
    event->setAccepted(OnLetter(event->position()));
}

void CompassView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->setAccepted(OnLetter(event->position()));
}

void CompassView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    // Lines one pixel wide on screen and as wide on paper; a hairline would all but vanish
    // at a printer's resolution.

    if (layout_.circle.visible) {
        painter.setPen(QPen(layout_.circleColor, kTwipsPerPixel));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(ToQRect(layout_.circle));
    }
    const auto drawLine = [&painter](const LineTw& line, const QColor& color) {
        if (line.visible) {
            painter.setPen(QPen(color, kTwipsPerPixel));
            painter.drawLine(QLineF(line.x1Tw, line.y1Tw, line.x2Tw, line.y2Tw));
        }
    };
    drawLine(layout_.vertical, kCrossColor);
    drawLine(layout_.horizontal, kCrossColor);
    drawLine(layout_.needle, layout_.needleColor);

    // Letters in pixels: a point-sized font under the twips transform would vanish.
    painter.resetTransform();
    const auto drawLetter = [&painter](const RectTw& box, const QColor& color, const char* text) {
        if (box.visible) {
            painter.setPen(color);
            painter.drawText(ToPixels(box), Qt::AlignCenter, QString::fromLatin1(text));
        }
    };
    drawLetter(layout_.letterN, kNorthColor, "N");
    drawLetter(layout_.letterS, kSouthColor, "S");
    drawLetter(layout_.letterW, kWestColor, "W");
    drawLetter(layout_.letterE, kEastColor, "E");
}

}  // namespace palquin
