// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/converter.h"

#include <cmath>

#include "core/angles.h"

namespace palquin {

std::optional<Offsets> ComputeOffsets(double focalMm, double azimuthDeg, double elevationDeg,
                                      double centralAzimuthDeg, double centralElevationDeg) {
    Offsets offsets;
    offsets.horizontalMm = focalMm * std::sin(DegToRad(std::fabs(centralAzimuthDeg - azimuthDeg)));
    offsets.verticalMm =
        focalMm * std::sin(DegToRad(std::fabs(centralElevationDeg - elevationDeg)));
    if (!std::isfinite(offsets.horizontalMm) || !std::isfinite(offsets.verticalMm)) {
        return std::nullopt;
    }
    return offsets;
}

std::optional<double> ComputeRotation(const WorkingCoordinates& coordinates) {
    const double tanLatitude = std::tan(coordinates.latitudeAngleRad);
    const double sinDelta = std::sin(coordinates.LongitudeDifferenceRad());
    if (!std::isfinite(tanLatitude) || !std::isfinite(sinDelta)) {
        return std::nullopt;
    }
    double rotationDeg = RadToDeg(AtanOfQuotient(sinDelta, tanLatitude));
    // Mixed hemispheres are worked on mirrored longitudes; turning the sign back makes "W 5.0"
    // and "E 355.0" the same converter rotation.
    if (coordinates.azimuthSign < 0) {
        rotationDeg = -rotationDeg;
    }
    if (!std::isfinite(rotationDeg)) {
        return std::nullopt;
    }
    return rotationDeg + 0.0;  // a satellite on the meridian of a southern site gives -0
}

}  // namespace palquin
