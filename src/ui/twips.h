#pragma once

#include <QRect>
#include <QWidget>
#include <cmath>

namespace palquin {

/// Twips per device-independent pixel (96 dpi); Qt scales the pixels for high-DPI screens.
inline constexpr double kTwipsPerPixel = 15.0;

inline int TwToPx(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline double PxToTw(int pixels) {
    return pixels * kTwipsPerPixel;
}

/// Places a widget by a rectangle given in twips inside its parent.
inline void PlaceTw(QWidget* widget, double leftTw, double topTw, double widthTw, double heightTw) {
    widget->setGeometry(TwToPx(leftTw), TwToPx(topTw), TwToPx(widthTw), TwToPx(heightTw));
}

}  // namespace palquin
