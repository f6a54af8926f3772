// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/geo.h"

namespace palquin {

/// The main field of the World Magnetic Model at one place and time.
struct MagneticField {
    double declinationDeg = 0.0;  ///< angle from true to magnetic north, east positive
    double inclinationDeg = 0.0;  ///< dip below the horizontal, down positive
    double northNt = 0.0;         ///< X, geodetic north component
    double eastNt = 0.0;          ///< Y
    double downNt = 0.0;          ///< Z
    double horizontalNt = 0.0;    ///< H
    double totalNt = 0.0;         ///< F
    bool expired = false;         ///< the time lies outside the years the model is made for
};

/// First and last decimal year of the compiled-in model (2025.0 and 2030.0 for WMM2025).
double MagneticModelStartYear();
double MagneticModelEndYear();

/// "WMM2025": the model's short name for labels.
const char* MagneticModelName();

/// The date as a decimal year: year + (day of year - 1) / days in that year.
double DecimalYear(const CivilDate& date);

/// The field by spherical harmonics to degree 12, the coefficients carried to the given decimal
/// year by the model's yearly change. A time outside the model's years still gives a result,
/// marked expired. At the geographic poles, where declination has no meaning, the position is
/// taken a hair away from the pole.
MagneticField ComputeMagneticField(const GeoPosition& position, double decimalYear);

}  // namespace palquin
