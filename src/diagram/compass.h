// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace palquin {

/// End point of the compass needle, twips: 1000 twips from the centre of the dial's box, with
/// north up, east on the left, south down and west on the right (azimuth 90 points left).
struct NeedleEnd {
    double xTw = 0.0;
    double yTw = 0.0;
};
NeedleEnd ComputeNeedleEnd(double dialLeftTw, double dialTopTw, double dialWidthTw,
                           double dialHeightTw, double azimuthDeg);

/// "<azimuth, one decimal, no leading blank>°" CR LF "<central selector text>", in UTF-8.
std::string AzimuthCaption(double azimuthDeg, const std::string& centralEntryText);

}  // namespace palquin
