// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QRectF>
#include <QWidget>
#include <cmath>

#include "diagram/layout_model.h"

namespace palquin {

/// Twips per device-independent pixel (96 dpi); Qt scales the pixels for high-DPI screens.
inline constexpr double kTwipsPerPixel = 15.0;

inline int TwToPx(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

/// A rectangle as it is, in twips (for a painter scaled to twips).
inline QRectF ToQRect(const RectTw& rect) {
    return QRectF(rect.leftTw, rect.topTw, rect.widthTw, rect.heightTw);
}

/// A rectangle in device-independent pixels.
inline QRectF ToPixels(const RectTw& rect) {
    return QRectF(rect.leftTw / kTwipsPerPixel, rect.topTw / kTwipsPerPixel,
                  rect.widthTw / kTwipsPerPixel, rect.heightTw / kTwipsPerPixel);
}

/// Places a widget by a rectangle given in twips inside its parent.
inline void PlaceTw(QWidget* widget, double leftTw, double topTw, double widthTw, double heightTw) {
    widget->setGeometry(TwToPx(leftTw), TwToPx(topTw), TwToPx(widthTw), TwToPx(heightTw));
}

}  // namespace palquin
