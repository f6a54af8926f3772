// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/sun.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"

namespace palquin {
namespace {

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kJ2000 = 2451545.0;

double Sin(double deg) {
    return std::sin(deg * kRadiansPerDegree);
}
double Cos(double deg) {
    return std::cos(deg * kRadiansPerDegree);
}

double Normalized(double deg) {
    const double r = std::fmod(deg, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

// Difference of two azimuths in (-180, 180].
double AzimuthDifference(double a, double b) {
    const double d = Normalized(a - b);
    return d > 180.0 ? d - 360.0 : d;
}

// Refraction of an elevation, degrees, for the given air; nothing well below the horizon.
double Refraction(double elevationDeg, const Atmosphere& air) {
    if (elevationDeg < -1.0) {
        return 0.0;
    }
    return air.pressureMbar / 1010.0 * 283.0 / (273.0 + air.temperatureC) * 1.02 /
           (60.0 * std::tan((elevationDeg + 10.3 / (elevationDeg + 5.11)) * kRadiansPerDegree));
}

}  // namespace

double JulianDay(std::chrono::sys_seconds utc) {
    return kUnixEpochJulianDay + static_cast<double>(utc.time_since_epoch().count()) / 86400.0;
}

SunPosition ComputeSunPosition(const GeoPosition& site, double julianDayUt, double deltaTSeconds,
                               const Atmosphere& atmosphere) {
    // Julian centuries since J2000: terrestrial time for the sun, universal time for the earth's
    // turning.
    const double t = (julianDayUt + deltaTSeconds / 86400.0 - kJ2000) / 36525.0;
    const double tu = (julianDayUt - kJ2000) / 36525.0;

    const double meanLongitude = Normalized(280.46646 + t * (36000.76983 + t * 0.0003032));
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double centre = Sin(meanAnomaly) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          Sin(2.0 * meanAnomaly) * (0.019993 - 0.000101 * t) +
                          Sin(3.0 * meanAnomaly) * 0.000289;
    const double node = 125.04452 - 1934.136261 * t;  // moon's ascending node
    // Aberration and the main term of the nutation in longitude.
    const double apparentLongitude = meanLongitude + centre - 0.00569 - 0.00478 * Sin(node);
    const double meanObliquity =
        23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = meanObliquity + 0.00256 * Cos(node);

    const double rightAscension =
        std::atan2(Cos(obliquity) * Sin(apparentLongitude), Cos(apparentLongitude)) /
        kRadiansPerDegree;
    const double declination =
        std::asin(Sin(obliquity) * Sin(apparentLongitude)) / kRadiansPerDegree;

    // Apparent sidereal time at Greenwich: the mean one plus the nutation in longitude.
    const double moonLongitude = 218.3165 + 481267.8813 * t;
    const double nutationLongitude = (-17.20 * Sin(node) - 1.32 * Sin(2.0 * meanLongitude) -
                                      0.23 * Sin(2.0 * moonLongitude) + 0.21 * Sin(2.0 * node)) /
                                     3600.0;
    const double siderealTime = 280.46061837 + 360.98564736629 * (julianDayUt - kJ2000) +
                                tu * tu * (0.000387933 - tu / 38710000.0) +
                                nutationLongitude * Cos(obliquity);
    const double hourAngle = Normalized(siderealTime + site.longitudeDeg - rightAscension);

    const double latitude = site.latitudeDeg;
    const double sinElevation =
        Sin(latitude) * Sin(declination) + Cos(latitude) * Cos(declination) * Cos(hourAngle);
    const double geocentricElevation =
        std::asin(std::clamp(sinElevation, -1.0, 1.0)) / kRadiansPerDegree;
    const double azimuth =
        std::atan2(Sin(hourAngle), Cos(hourAngle) * Sin(latitude) -
                                       std::tan(declination * kRadiansPerDegree) * Cos(latitude)) /
            kRadiansPerDegree +
        180.0;

    SunPosition position;
    position.azimuthDeg = Normalized(azimuth);
    // Parallax of the sun seen from the surface instead of the earth's centre: 8.8 seconds of arc
    // at most.
    position.elevationDeg = geocentricElevation - 8.794 / 3600.0 * Cos(geocentricElevation);
    position.apparentElevationDeg =
        position.elevationDeg + Refraction(position.elevationDeg, atmosphere);
    return position;
}

std::optional<SunAlignmentTime> SunAlignment(const GeoPosition& site, const CivilDate& day,
                                             double azimuthDeg, std::chrono::minutes utcOffset) {
    using namespace std::chrono;
    const year_month_day ymd{year{day.year}, month{static_cast<unsigned>(day.month)},
                             std::chrono::day{static_cast<unsigned>(day.day)}};
    if (!ymd.ok() || !std::isfinite(azimuthDeg) || !std::isfinite(site.latitudeDeg) ||
        !std::isfinite(site.longitudeDeg)) {
        return std::nullopt;
    }
    const sys_seconds midnight = sys_days{ymd} - utcOffset;
    const double startJd = JulianDay(midnight);
    const auto offsetAt = [&](double minutes) {
        const SunPosition sun = ComputeSunPosition(site, startJd + minutes / 1440.0);
        return AzimuthDifference(sun.azimuthDeg, azimuthDeg);
    };

    // Step through the day minute by minute and refine each crossing of the azimuth; a step whose
    // difference jumps by half a turn is the sun passing the opposite azimuth, not this one.
    constexpr int kMinutesPerDay = 1440;
    double before = offsetAt(0.0);
    for (int minute = 1; minute <= kMinutesPerDay; ++minute) {
        const double after = offsetAt(minute);
        const bool crosses = (before <= 0.0) != (after <= 0.0) || before == 0.0;
        if (crosses && std::fabs(after - before) < 180.0) {
            double low = minute - 1.0;
            double high = minute;
            const bool rising = before < after;
            for (int i = 0; i < 24; ++i) {
                const double middle = 0.5 * (low + high);
                if ((offsetAt(middle) < 0.0) == rising) {
                    low = middle;
                } else {
                    high = middle;
                }
            }
            const double at = 0.5 * (low + high);
            const SunPosition sun = ComputeSunPosition(site, startJd + at / 1440.0);
            if (sun.apparentElevationDeg > 0.0 && at < kMinutesPerDay) {
                const auto seconds = static_cast<long long>(std::llround(at * 60.0));
                return SunAlignmentTime{midnight + std::chrono::seconds{seconds},
                                        sun.apparentElevationDeg};
            }
        }
        before = after;
    }
    return std::nullopt;
}

}  // namespace palquin
