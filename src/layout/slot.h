// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One converter slot calculated from typed values: its pointing, rotation, and for an extra slot
// its place against the central converter, by the window's rule and, for a dish whose geometry
// is known, by the dish's own.

#include <optional>
#include <string_view>

#include "calc/converter.h"
#include "calc/dish.h"
#include "calc/pointing.h"
#include "diagram/layout_mm.h"
#include "layout/site.h"

namespace palquin {

/// Where the central converter's satellite stands; every extra slot is placed against it.
struct CentralAim {
    double azimuthDeg = 0.0;
    double elevationDeg = 0.0;
};

/// Which side of the central converter a converter lies on, in the front view.
enum class Side { Left, Right, Centre };

/// A slot's figures, computed in the order the window shows them: the pointing, then (for an extra
/// slot) the offsets and the dish's place, then the rotation. A step that fails leaves it and
/// every later one empty, so that a caller can show what came before it.
struct SlotResult {
    Pointing pointing;
    /// Empty when a step failed; then the slot is not complete.
    std::optional<double> rotationDeg;
    /// Extra slots only: the distances of the window's rule (magnitudes), and their sides: a
    /// smaller azimuth than the central one lies left, a lower elevation above (nullopt when
    /// the elevations are equal).
    std::optional<Offsets> offsets;
    Side side = Side::Centre;
    std::optional<bool> above;
    PointMm centreMm;  ///< the window's place: x right, y down, from the central converter
    /// Extra slots with a dish given: the dish's own place and the loss there.
    std::optional<ConverterPlace> precise;
    double lossDb = 0.0;

    /// Every figure there is to compute was computed.
    bool Complete() const { return rotationDeg.has_value(); }
};

/// Calculates one slot. central is empty for the central slot itself (unset central values count
/// as 0 for the others). dish, when given, adds the precise place and the loss of an extra slot.
/// Empty when the pointing gives no result for this site and position; a later step that fails
/// (a value leaves the finite numbers) leaves the result incomplete.
std::optional<SlotResult> CalculateSlot(const Site& site, SatellitePosition satellite,
                                        double focalMm, std::optional<CentralAim> central,
                                        const DishGeometry* dish = nullptr);

/// The same from the window's fields and a position text such as "E 13.0".
std::optional<SlotResult> CalculateSlot(const SiteFields& site, std::string_view positionText,
                                        double focalMm, std::optional<CentralAim> central,
                                        const DishGeometry* dish = nullptr);

/// The slot's warning when its loss makes reception unreliable, for example
/// "E 13.0: потери −6.8 дБ, приём ненадёжен" (UTF-8); empty otherwise.
std::string LossWarning(std::string_view positionText, const SlotResult& result);

}  // namespace palquin
