// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "calc/pointing.h"

namespace palquin {

/// Distance of an extra converter from the central one in the focal plane, both magnitudes.
struct Offsets {
    double horizontalMm = 0.0;
    double verticalMm = 0.0;
};

/// F * sin(|e0 - az|) and F * sin(|u0 - el|). Empty when a result is not finite.
std::optional<Offsets> ComputeOffsets(double focalMm, double azimuthDeg, double elevationDeg,
                                      double centralAzimuthDeg, double centralElevationDeg);

/// Rotation of the converter about its own axis, degrees (-90..90). For a satellite and a site
/// in different longitude hemispheres the formula works on mirrored angles, so the sign is turned
/// back: the same orbital position gives the same rotation however it is written. Empty when
/// tan(latitude) is 0 or a value is not finite.
std::optional<double> ComputeRotation(const WorkingCoordinates& coordinates);

}  // namespace palquin
