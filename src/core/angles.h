// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Angle conversions. The pointing formulas work with a 15-digit value of pi on purpose: every
// figure they show was checked against it, and a more precise pi moves the last shown digit in a
// few cases. The magnetic model, the sun and the great-circle direction follow their published
// formulas, which take the full-precision pi.

#include <cmath>
#include <numbers>

namespace palquin {

inline constexpr double kPi = 3.14159265358979;

/// Degrees to radians, as value * pi / 180 in that order.
inline constexpr double DegToRad(double degrees) {
    return degrees * kPi / 180.0;
}

/// Radians to degrees, as value * 180 / pi in that order.
inline constexpr double RadToDeg(double radians) {
    return radians * 180.0 / kPi;
}

/// Radians in one degree, from the full-precision pi; for the magnetic model, the sun and the
/// great circle only (the pointing formulas use DegToRad).
inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

/// An angle in degrees brought into [0, 360): never 360 itself, never -0.
inline double AzimuthInTurn(double degrees) {
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped < 0.0) {
        wrapped += 360.0;
    }
    return wrapped >= 360.0 ? 0.0 : wrapped + 0.0;
}

/// 360 - x in degrees, computed as (180 - x + 180) like the rest of the formulas.
inline constexpr double FullTurnMinus(double degrees) {
    return 180.0 - degrees + 180.0;
}

}  // namespace palquin
