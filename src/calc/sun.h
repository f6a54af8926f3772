// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>

#include "calc/geo.h"

namespace palquin {

/// Air at the site, for the refraction of the sun's elevation.
struct Atmosphere {
    double pressureMbar = 1010.0;
    double temperatureC = 10.0;
};

struct SunPosition {
    double azimuthDeg = 0.0;            ///< from north through east, 0..360
    double elevationDeg = 0.0;          ///< topocentric, without refraction
    double apparentElevationDeg = 0.0;  ///< with the atmosphere's refraction
    double zenithDeg() const { return 90.0 - apparentElevationDeg; }
};

/// Seconds of Terrestrial Time ahead of Universal Time around the 2020s.
inline constexpr double kDefaultDeltaTSeconds = 69.0;

/// Julian day (UT) of a moment.
double JulianDay(std::chrono::sys_seconds utc);

/// The sun seen from the site at a Julian day (UT), by the low-precision solar theory NOAA's solar
/// calculator uses (good to about 0.01 degree, a few seconds of time, between 1901 and 2099).
SunPosition ComputeSunPosition(const GeoPosition& site, double julianDayUt,
                               double deltaTSeconds = kDefaultDeltaTSeconds,
                               const Atmosphere& atmosphere = {});

struct SunAlignmentTime {
    std::chrono::sys_seconds utc;  ///< to the second
    double apparentElevationDeg = 0.0;
};

/// The first moment of the civil day `day` (midnight to midnight at the given offset from UTC)
/// when the sun's azimuth equals `azimuthDeg` (any value, taken modulo 360) while the sun's
/// apparent centre is above the horizon. Empty when there is no such moment that day.
std::optional<SunAlignmentTime> SunAlignment(const GeoPosition& site, const CivilDate& day,
                                             double azimuthDeg, std::chrono::minutes utcOffset);

}  // namespace palquin
