// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What --aim writes: labelled lines for a person, or one JSON object for a program.

#include <string>

#include "calc/aim.h"

namespace palquin {

/// Labelled lines, one per value, each ending in "\n".
std::string FormatAimText(const AimResult& result);

/// One JSON object (keys azimuthDeg, magneticAzimuthDeg, declinationDeg, elevationDeg,
/// rotationDeg, visible, sunAlignment, sunElevationDeg, warnings), ending in "\n".
std::string FormatAimJson(const AimResult& result);

}  // namespace palquin
