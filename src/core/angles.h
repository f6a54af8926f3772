#pragma once

// Angle conversions. The program works with this 15-digit value of pi on purpose: every figure it
// shows was checked against it, and a more precise pi moves the last shown digit in a few cases.
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

/// 360 - x in degrees, computed as (180 - x + 180) like the rest of the formulas.
inline constexpr double FullTurnMinus(double degrees) {
    return 180.0 - degrees + 180.0;
}

}  // namespace palquin
