// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/pointing.h"

#include <cmath>
#include <initializer_list>

#include "core/angles.h"

namespace palquin {
namespace {

// The ratio the elevation formula uses in place of earth radius over orbit radius.
constexpr double kOrbitRatio = 0.15105;

bool AllFinite(std::initializer_list<double> values) {
    for (const double value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

// Fills the longitude angles, sign and southern offset by the hemispheres of the satellite (h)
// and the site (ew). Mixed hemispheres are worked as the mirror image of the true
// longitudes; the sign turns the azimuth back. No rule leaves everything at 0.
void ApplyHemisphereRule(LongitudeRule h, LongitudeRule ew, double sigmaDeg, double lambdaDeg,
                         bool north, WorkingCoordinates& wc) {
    constexpr LongitudeRule E = LongitudeRule::East;
    constexpr LongitudeRule W = LongitudeRule::West;
    double satelliteDeg = 0.0;
    double siteDeg = 0.0;
    if (h == E && ew == E) {
        satelliteDeg = sigmaDeg;
        siteDeg = lambdaDeg;
        wc.azimuthSign = 1;
    } else if (h == W && ew == W) {
        satelliteDeg = FullTurnMinus(sigmaDeg);
        siteDeg = FullTurnMinus(lambdaDeg);
        wc.azimuthSign = 1;
    } else if (h == W && ew == E) {
        satelliteDeg = sigmaDeg;
        siteDeg = FullTurnMinus(lambdaDeg);
        wc.azimuthSign = -1;
    } else if (h == E && ew == W) {
        satelliteDeg = FullTurnMinus(sigmaDeg);
        siteDeg = lambdaDeg;
        wc.azimuthSign = -1;
    } else {
        return;
    }
    wc.satelliteAngleRad = DegToRad(satelliteDeg);
    wc.siteAngleRad = DegToRad(siteDeg);
    if (!north) {
        wc.azimuthOffsetDeg = ew == E ? 180 : -180;
    }
}

}  // namespace

double AtanOfQuotient(double numerator, double denominator) {
    if (denominator != 0.0) {
        return std::atan(numerator / denominator);
    }
    // Approached from above whatever the zero's sign: a northern latitude only shrinks to 0.
    return numerator == 0.0 ? 0.0 : std::atan(std::copysign(HUGE_VAL, numerator));
}

std::optional<Pointing> ComputePointing(const Site& site, SatellitePosition satellite) {
    Pointing result;
    WorkingCoordinates& wc = result.coordinates;
    const bool north = site.latitudeRule == LatitudeRule::North;
    wc.latitudeAngleRad = DegToRad(north ? site.latitudeDeg : FullTurnMinus(site.latitudeDeg));
    ApplyHemisphereRule(satellite.hemisphere, site.longitudeRule, satellite.degrees,
                        site.longitudeDeg, north, wc);

    const double delta = wc.LongitudeDifferenceRad();
    const double sinLatitude = std::sin(wc.latitudeAngleRad);
    if (!AllFinite({wc.latitudeAngleRad, wc.satelliteAngleRad, wc.siteAngleRad, delta})) {
        return std::nullopt;
    }
    const double a = RadToDeg(AtanOfQuotient(std::tan(delta), sinLatitude));
    result.azimuthDeg = 180.0 + a * wc.azimuthSign + wc.azimuthOffsetDeg;

    const double cosLatitude = std::cos(wc.latitudeAngleRad);
    const double cosDelta = std::cos(delta);
    const double n = cosLatitude * cosDelta - kOrbitRatio;
    const double d = std::sqrt(1.0 - std::pow(cosLatitude, 2) * std::pow(cosDelta, 2));
    if (!AllFinite({n, d})) {
        return std::nullopt;
    }
    result.elevationDeg = RadToDeg(AtanOfQuotient(n, d));
    if (!AllFinite({a, result.azimuthDeg, result.elevationDeg})) {
        return std::nullopt;
    }
    result.visible = result.elevationDeg > 0.0;
    return result;
}

}  // namespace palquin
