// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace palquin {

/// A place on the WGS84 ellipsoid: signed geodetic degrees, north and east positive.
struct GeoPosition {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double heightKm = 0.0;  ///< above the ellipsoid
};

/// A day of the Gregorian calendar.
struct CivilDate {
    int year = 2000;
    int month = 1;
    int day = 1;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

}  // namespace palquin
