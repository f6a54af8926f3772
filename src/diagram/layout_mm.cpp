// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/layout_mm.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/angles.h"

namespace palquin {

bool EastOnRight(double centralAzimuthDeg) {
    // A larger azimuth lies right. The dish images a satellite further west on the east side of
    // its focus, so right is east for a dish aimed into the southern sky.
    return std::cos(DegToRad(centralAzimuthDeg)) <= 0.0;
}
namespace {

// Fixed decimals, the point always ".", trailing zeros dropped. std::to_chars ignores the C
// locale, which the window's toolkit sets from the environment.
std::string Millimetres(double value, int decimals) {
    // Room for the largest double written out in full.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) {
        return "?";
    }
    std::string text(buffer, result.ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

// Which side of the central converter, by comparing the angles: -1, 0 or +1.
double Side(double value, double central) {
    if (value < central) {
        return -1.0;
    }
    return value > central ? 1.0 : 0.0;
}

}  // namespace

PointMm ExtraCentreMm(double azimuthDeg, double elevationDeg, double centralAzimuthDeg,
                      double centralElevationDeg, double horizontalMm, double verticalMm) {
    // In the front view a smaller azimuth lies left and a lower elevation lies above.
    return {Side(azimuthDeg, centralAzimuthDeg) * horizontalMm,
            Side(elevationDeg, centralElevationDeg) * verticalMm};
}

RotationLine RotationLineThrough(PointMm centre, double halfLength, double rotationDeg) {
    const double r = DegToRad(rotationDeg);
    const double s = std::sin(r);
    const double c = std::cos(r);
    return {{centre.xMm - halfLength * s, centre.yMm - halfLength * c},
            {centre.xMm + halfLength * s, centre.yMm + halfLength * c}};
}

bool Collide(const ConverterMm& a, const ConverterMm& b) {
    const double distance = std::hypot(a.centre.xMm - b.centre.xMm, a.centre.yMm - b.centre.yMm);
    return distance < a.diameterMm / 2.0 + b.diameterMm / 2.0;
}

std::vector<Collision> FindCollisions(const std::vector<ConverterMm>& converters) {
    std::vector<Collision> found;
    for (std::size_t i = 0; i < converters.size(); ++i) {
        for (std::size_t j = i + 1; j < converters.size(); ++j) {
            const ConverterMm& a = converters[i];
            const ConverterMm& b = converters[j];
            if (Collide(a, b)) {
                found.push_back(
                    {i, j, std::hypot(a.centre.xMm - b.centre.xMm, a.centre.yMm - b.centre.yMm),
                     a.diameterMm / 2.0 + b.diameterMm / 2.0});
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Collision& x, const Collision& y) {
        return x.ShortfallMm() > y.ShortfallMm();
    });
    return found;
}

std::string CollisionText(const std::vector<ConverterMm>& converters, const Collision& collision) {
    // Whole millimetres unless "55 мм из 55" would hide a real overlap.
    std::string distance;
    std::string needed;
    for (int decimals = 0; decimals <= 2; ++decimals) {
        distance = Millimetres(collision.distanceMm, decimals);
        needed = Millimetres(collision.neededMm, decimals);
        if (distance != needed) {
            break;
        }
    }
    return converters.at(collision.first).positionText + " и " +
           converters.at(collision.second).positionText + " мешают друг другу: " + distance +
           " мм из " + needed;
}

std::string CollisionSummary(const std::vector<ConverterMm>& converters) {
    const std::vector<Collision> collisions = FindCollisions(converters);
    if (collisions.empty()) {
        return {};
    }
    std::string text = CollisionText(converters, collisions.front());
    if (collisions.size() > 1) {
        text += " (всего пар: " + std::to_string(collisions.size()) + ")";
    }
    return text;
}

}  // namespace palquin
