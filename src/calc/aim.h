#pragma once

#include <chrono>
#include <optional>
#include <string>
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
    std::vector<std::string> warnings;    ///< Russian, one sentence each
};

/// True azimuth minus declination, into [0, 360).
double MagneticAzimuth(double trueAzimuthDeg, double declinationDeg);

/// Everything an installer aims with, from the program's own pointing and rotation formulas, the
/// magnetic model and the sun.
AimResult ComputeAim(const AimRequest& request);

/// Labelled lines, one per value, each ending in "\n".
std::string FormatAimText(const AimResult& result);

/// One JSON object (keys azimuthDeg, magneticAzimuthDeg, declinationDeg, elevationDeg,
/// rotationDeg, visible, sunAlignment, sunElevationDeg, warnings), ending in "\n".
std::string FormatAimJson(const AimResult& result);

/// "2026-06-21T12:36:00+03:00": the moment rounded to the minute, in the given offset.
std::string FormatIsoMinute(std::chrono::sys_seconds utc, std::chrono::minutes utcOffset);

/// The two lines under the picture window's caption.
struct PictureAimTexts {
    std::string magnetic;  ///< "Магнитный азимут: 170.6° (склонение +11.3°, WMM2025)"
    std::string sun;  ///< "Солнце на этом азимуте: 13:52 (высота 10.5°)" or that it is not
};

/// The picture window's lines for the central satellite's true azimuth (any value, taken modulo
/// 360) on the local day of `now` in the given offset from UTC.
PictureAimTexts MakePictureAimTexts(const GeoPosition& site, double trueAzimuthDeg,
                                    std::chrono::sys_seconds now, std::chrono::minutes utcOffset);

}  // namespace palquin
