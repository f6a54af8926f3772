// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace palquin {

/// The intermediate angles of the pointing formulas, shared with the rotation.
struct WorkingCoordinates {
    double latitudeAngleRad = 0.0;      ///< phi for a northern site, 360 - phi otherwise
    double satelliteAngleRad = 0.0;     ///< sigma or 360 - sigma, by the hemisphere rules
    double siteAngleRad = 0.0;          ///< lambda or 360 - lambda, by the hemisphere rules
    std::int16_t azimuthSign = 0;       ///< +1 same hemispheres, -1 mixed, 0 no rule applied
    std::int16_t azimuthOffsetDeg = 0;  ///< 0 north; +180 / -180 for a southern site

    /// Site angle minus satellite angle, radians.
    double LongitudeDifferenceRad() const { return siteAngleRad - satelliteAngleRad; }
};

/// Which way the latitude counts: a northern site takes it as it is, a southern one as 360 - phi.
enum class LatitudeRule { North, South };

/// Which hemisphere a longitude lies in. NoRule leaves the longitude formulas unapplied: the
/// satellite then counts as standing on the site's meridian.
enum class LongitudeRule { East, West, NoRule };

/// A receiving site: magnitudes in degrees with the rules they are read by.
struct Site {
    double latitudeDeg = 0.0;
    LatitudeRule latitudeRule = LatitudeRule::North;
    double longitudeDeg = 0.0;
    LongitudeRule longitudeRule = LongitudeRule::East;
};

/// A geostationary satellite's orbital position: its hemisphere and the degrees counted in it.
struct SatellitePosition {
    LongitudeRule hemisphere = LongitudeRule::East;
    double degrees = 0.0;
};

struct Pointing {
    WorkingCoordinates coordinates;
    double azimuthDeg = 0.0;  ///< from north through east; not reduced into 0..360
    double elevationDeg = 0.0;
    bool visible = false;  ///< elevation > 0
};

/// atan(numerator / denominator), radians. A denominator of exactly 0 gives the value the angle
/// tends to as the denominator shrinks to 0 from above: plus or minus pi/2 by the numerator's
/// sign, and 0 when the numerator is 0 as well (a zero numerator keeps the angle 0 all the way).
/// The pointing formulas divide by sin and tan of the latitude, which are 0 on the equator, and
/// their elevation root is 0 for a satellite straight overhead there; this is their value in
/// the limit, so 0 N answers as 0.000001 N does.
double AtanOfQuotient(double numerator, double denominator);

/// Azimuth, elevation and visibility of the satellite at the given position. On the equator the
/// quotients that divide by zero take their limit (AtanOfQuotient). Empty when any value is not
/// finite.
std::optional<Pointing> ComputePointing(const Site& site, SatellitePosition satellite);

}  // namespace palquin
