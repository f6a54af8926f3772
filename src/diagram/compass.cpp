// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/compass.h"

#include <cmath>

#include "core/angles.h"
#include "core/result_number.h"

namespace palquin {

NeedleEnd ComputeNeedleEnd(double dialLeftTw, double dialTopTw, double dialWidthTw,
                           double dialHeightTw, double azimuthDeg) {
    const double cx = dialLeftTw + dialWidthTw / 2.0;
    const double cy = dialTopTw + dialHeightTw / 2.0;
    const double a = DegToRad(azimuthDeg);
    // Minus on both axes: the dial is seen with north up and east on the left.
    return {cx - std::sin(a) * 100.0 * 10.0, cy - std::cos(a) * 100.0 * 10.0};
}

std::string AzimuthCaption(double azimuthDeg, const std::string& centralEntryText) {
    std::string text = FormatResult(azimuthDeg, NumberPattern::Grouped1);
    if (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
    }
    text += "\xC2\xB0\r\n";
    text += centralEntryText;
    return text;
}

}  // namespace palquin
