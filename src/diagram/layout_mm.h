// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace palquin {

/// How the diagram and the template face, in the user's words. A reflector inverts the image, so
/// both show the converters as a person standing in front of the reflector sees them: a satellite
/// west of the central one lands east of the central converter, a lower one above it.
inline constexpr const char* kFrontViewText =
    "Вид спереди: вы стоите перед зеркалом и смотрите на хвосты конвертеров";

/// True when east lies right in the front view: for a dish aimed into the southern sky. For a
/// dish aimed into the northern sky (southern sites) right is west.
bool EastOnRight(double centralAzimuthDeg);

/// A point of the converter layout in millimetres, in the front view: origin at the central
/// converter's centre, x to the right, y downwards (the diagram's and the page's sense).
struct PointMm {
    double xMm = 0.0;
    double yMm = 0.0;
};

/// The two ends of a converter's rotation line, in the unit of the centre it was built from.
struct RotationLine {
    PointMm first;   ///< the upper end for a rotation between -90 and 90
    PointMm second;  ///< the first end reflected through the centre
};

/// Where an extra converter's centre lies. The offsets are magnitudes (mm); the side comes from
/// the angles: a smaller azimuth than the central one puts it left, a greater one right, an equal
/// one on the vertical axis; a lower elevation puts it above, a higher one below, an equal one on
/// the horizontal axis.
PointMm ExtraCentreMm(double azimuthDeg, double elevationDeg, double centralAzimuthDeg,
                      double centralElevationDeg, double horizontalMm, double verticalMm);

/// The rotation line through `centre`, `halfLength` each way, tilted from the vertical by
/// rotationDeg; for a positive rotation the upper end leans left. Any length unit: the diagram
/// calls it in twips, the template in millimetres.
RotationLine RotationLineThrough(PointMm centre, double halfLength, double rotationDeg);

/// One calculated converter in millimetres.
struct ConverterMm {
    std::string positionText;  ///< for example "E 13.0"
    PointMm centre;            ///< from the central converter's centre
    double diameterMm = 0.0;
    double rotationDeg = 0.0;

    /// Half the rotation line: as long as the converter is wide, so both ends stick out.
    double RotationHalfLengthMm() const { return diameterMm; }
    RotationLine RotationLineMm() const {
        return RotationLineThrough(centre, RotationHalfLengthMm(), rotationDeg);
    }
};

/// Two converters whose bodies overlap: the distance between their centres is less than the sum
/// of their radii.
struct Collision {
    std::size_t first = 0;   ///< index into the converters handed in, the smaller one
    std::size_t second = 0;  ///< the larger index
    double distanceMm = 0.0;
    double neededMm = 0.0;  ///< sum of the two radii
    double ShortfallMm() const { return neededMm - distanceMm; }
};

/// True when the two bodies overlap; bodies that exactly touch do not.
bool Collide(const ConverterMm& a, const ConverterMm& b);

/// Every colliding pair, the largest shortfall first (pairs with equal shortfall in index order).
std::vector<Collision> FindCollisions(const std::vector<ConverterMm>& converters);

/// The warning line for a collision, for example "E 13.0 и E 16.0 мешают друг другу: 48 мм из 55"
/// (UTF-8). Millimetres are whole unless rounding would make the two figures equal; then one or
/// two decimals are shown.
std::string CollisionText(const std::vector<ConverterMm>& converters, const Collision& collision);

/// The diagram's red line: the worst pair, and how many pairs there are when there are several.
/// Empty when nothing collides.
std::string CollisionSummary(const std::vector<ConverterMm>& converters);

}  // namespace palquin
