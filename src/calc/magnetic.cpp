// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/magnetic.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calc/wmm_coefficients.h"

#include "core/angles.h"

namespace palquin {
namespace {

constexpr double kReferenceRadiusKm = 6371.2;  // the model's geomagnetic reference sphere
constexpr double kWgs84SemiMajorKm = 6378.137;
constexpr double kWgs84Flattening = 1.0 / 298.257223563;
constexpr double kModelYears = 5.0;
// Closest the position may come to a pole: the east component divides by cos(latitude).
constexpr double kMaxLatitudeDeg = 90.0 - 1e-7;

constexpr int kSize = kWmmDegree + 1;
using Table = std::array<std::array<double, kSize>, kSize>;

// Schmidt semi-normalised associated Legendre functions P[n][m](cos theta) and their derivatives
// by theta, theta being the geocentric colatitude.
void Legendre(double cosTheta, double sinTheta, Table& p, Table& dp) {
    p = {};
    dp = {};
    p[0][0] = 1.0;
    for (int n = 1; n < kSize; ++n) {
        const auto un = static_cast<std::size_t>(n);
        if (n == 1) {
            p[1][1] = sinTheta;
            dp[1][1] = cosTheta;
        } else {
            const double k = std::sqrt((2.0 * n - 1.0) / (2.0 * n));
            p[un][un] = k * sinTheta * p[un - 1][un - 1];
            dp[un][un] = k * (cosTheta * p[un - 1][un - 1] + sinTheta * dp[un - 1][un - 1]);
        }
        for (int m = 0; m < n; ++m) {
            const auto um = static_cast<std::size_t>(m);
            const double previous2 = n >= 2 ? p[un - 2][um] : 0.0;
            const double previous2d = n >= 2 ? dp[un - 2][um] : 0.0;
            const double a = 2.0 * n - 1.0;
            const double b = std::sqrt(static_cast<double>((n - 1) * (n - 1) - m * m));
            const double c = std::sqrt(static_cast<double>(n * n - m * m));
            p[un][um] = (a * cosTheta * p[un - 1][um] - b * previous2) / c;
            dp[un][um] =
                (a * (cosTheta * dp[un - 1][um] - sinTheta * p[un - 1][um]) - b * previous2d) / c;
        }
    }
}

}  // namespace

double MagneticModelStartYear() {
    return kWmmModel.epochYear;
}
double MagneticModelEndYear() {
    return kWmmModel.epochYear + kModelYears;
}
const char* MagneticModelName() {
    return "WMM2025";
}

double DecimalYear(const CivilDate& date) {
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    static constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int month = std::clamp(date.month, 1, 12);
    int dayOfYear = kDaysBefore[month - 1] + date.day;
    if (leap && month > 2) {
        ++dayOfYear;
    }
    return date.year + (dayOfYear - 1) / (leap ? 366.0 : 365.0);
}

MagneticField ComputeMagneticField(const GeoPosition& position, double decimalYear) {
    const double latitude =
        std::clamp(position.latitudeDeg, -kMaxLatitudeDeg, kMaxLatitudeDeg) * kRadiansPerDegree;
    const double longitude = position.longitudeDeg * kRadiansPerDegree;
    const double h = position.heightKm;

    // Geodetic to geocentric spherical coordinates on WGS84.
    const double e2 = kWgs84Flattening * (2.0 - kWgs84Flattening);
    const double sinLat = std::sin(latitude);
    const double cosLat = std::cos(latitude);
    const double primeVertical = kWgs84SemiMajorKm / std::sqrt(1.0 - e2 * sinLat * sinLat);
    const double equatorial = (primeVertical + h) * cosLat;
    const double axial = (primeVertical * (1.0 - e2) + h) * sinLat;
    const double radius = std::hypot(equatorial, axial);
    const double geocentricLatitude = std::asin(axial / radius);

    Table p;
    Table dp;
    Legendre(std::sin(geocentricLatitude), std::cos(geocentricLatitude), p, dp);

    const double dt = decimalYear - kWmmModel.epochYear;
    const double ratio = kReferenceRadiusKm / radius;
    double north = 0.0;  // geocentric components
    double east = 0.0;
    double down = 0.0;
    for (const WmmCoefficient& c : kWmmModel.coefficients) {
        const auto n = static_cast<std::size_t>(c.n);
        const auto m = static_cast<std::size_t>(c.m);
        const double g = c.g + dt * c.gPerYear;
        const double hh = c.h + dt * c.hPerYear;
        const double scale = std::pow(ratio, c.n + 2);
        const double cosM = std::cos(c.m * longitude);
        const double sinM = std::sin(c.m * longitude);
        const double even = g * cosM + hh * sinM;
        north += scale * even * dp[n][m];  // d/d(latitude) is -d/d(colatitude)
        east += scale * c.m * (g * sinM - hh * cosM) * p[n][m];
        down -= scale * (c.n + 1) * even * p[n][m];
    }
    east /= std::cos(geocentricLatitude);

    // Back from the geocentric to the geodetic horizon.
    const double tilt = geocentricLatitude - latitude;
    MagneticField field;
    field.northNt = north * std::cos(tilt) - down * std::sin(tilt);
    field.eastNt = east;
    field.downNt = north * std::sin(tilt) + down * std::cos(tilt);
    field.horizontalNt = std::hypot(field.northNt, field.eastNt);
    field.totalNt = std::hypot(field.horizontalNt, field.downNt);
    field.declinationDeg = std::atan2(field.eastNt, field.northNt) / kRadiansPerDegree;
    field.inclinationDeg = std::atan2(field.downNt, field.horizontalNt) / kRadiansPerDegree;
    field.expired =
        !(decimalYear >= MagneticModelStartYear() && decimalYear <= MagneticModelEndYear());
    return field;
}

}  // namespace palquin
