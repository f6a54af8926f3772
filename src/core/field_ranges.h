// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace palquin {

/// Range rule of the latitude and longitude fields (magnitudes, the hemisphere is a letter of its
/// own): 0 <= v <= 180.
constexpr bool CoordinateInRange(double value) {
    return value >= 0.0 && value <= 180.0;
}

/// A converter's diameter, mm, when none is given.
inline constexpr double kDefaultDiameterMm = 50.0;

/// Range rule of a converter's diameter, mm: 0 <= v <= 100.
constexpr bool DiameterInRange(double value) {
    return value >= 0.0 && value <= 100.0;
}

}  // namespace palquin
