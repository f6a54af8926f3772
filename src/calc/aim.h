// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string_view>
#include <vector>

#include "calc/geo.h"
#include "calc/sun.h"

namespace palquin {

/// A geostationary orbital position as the user writes it: "13E", "5W", "13.0E".
struct OrbitalPosition {
    double degrees = 0.0;   ///< 0..180, as written
    char hemisphere = 'E';  ///< 'E' or 'W'
    double EastDeg() const { return hemisphere == 'W' ? -degrees : degrees; }
};

/// Digits with at most one decimal point, then E or W (either case); 0 to 180 degrees.
std::optional<OrbitalPosition> ParseOrbitalPosition(std::string_view text);

/// Signed decimal degrees ("55.75", "-33.9") or unsigned with a trailing N or S ("33.9S"); at
/// most 90 in magnitude. Blanks around the text are allowed, nothing else.
std::optional<double> ParseLatitude(std::string_view text);

/// As ParseLatitude with E or W, at most 180 in magnitude.
std::optional<double> ParseLongitude(std::string_view text);

/// YYYY-MM-DD, an existing day of the Gregorian calendar.
std::optional<CivilDate> ParseDate(std::string_view text);

struct AimRequest {
    GeoPosition site;
    OrbitalPosition satellite;
    CivilDate date;
    std::chrono::minutes utcOffset{0};  ///< of the time zone the sun's time is given in
};

/// What an aim calls for the installer's attention, in the order it is found.
enum class AimWarning {
    ModelExpired,  ///< the date lies outside the magnetic model's years
    BelowHorizon,  ///< the satellite cannot be seen from the site
    NoPointing,    ///< the pointing formulas give nothing for this site
    Overhead,      ///< straight overhead: no azimuth to find the sun at
};

struct AimResult {
    AimRequest request;
    // Empty when the pointing formulas give no result for the site (a latitude of 0 north).
    std::optional<double> azimuthDeg;          ///< true, 0..360
    std::optional<double> magneticAzimuthDeg;  ///< 0..360
    std::optional<double> elevationDeg;
    std::optional<double> rotationDeg;  ///< converter rotation
    std::optional<bool> visible;
    double declinationDeg = 0.0;
    bool modelExpired = false;
    std::optional<SunAlignmentTime> sun;  ///< the sun at the satellite's azimuth that day
    std::vector<AimWarning> warnings;
};

/// True azimuth minus declination, into [0, 360).
double MagneticAzimuth(double trueAzimuthDeg, double declinationDeg);

/// Everything an installer aims with, from the program's own pointing and rotation formulas, the
/// magnetic model and the sun.
AimResult ComputeAim(const AimRequest& request);

/// What the picture window tells about the central satellite's azimuth today.
struct PictureAim {
    std::optional<double> magneticAzimuthDeg;  ///< empty for an azimuth that is not finite
    double declinationDeg = 0.0;
    bool modelExpired = false;
    std::optional<SunAlignmentTime> sun;  ///< the sun at that azimuth today
};

/// The magnetic azimuth and the sun for the central satellite's true azimuth (any value, taken
/// modulo 360) on the local day of `now` in the given offset from UTC.
PictureAim ComputePictureAim(const GeoPosition& site, double trueAzimuthDeg,
                             std::chrono::sys_seconds now, std::chrono::minutes utcOffset);

}  // namespace palquin
