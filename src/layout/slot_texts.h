// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The texts of a slot's elements, built from its figures: the heading over the selector, the
// results under it and the lower panel's box. UTF-8; the window only copies them into its
// elements.

#include <optional>
#include <string>
#include <string_view>

#include "layout/slot.h"

namespace palquin {

/// The lower panel has boxes for the first slots only; the others have none.
inline constexpr int kPanelBoxCount = 8;

/// The central slot's heading once the catalogue is loaded, before anything is chosen.
inline constexpr std::string_view kCentralHeadingAtStart = "Центральный";

/// The heading of a slot whose entry has the position positionText ("E 13.0"). Without a central
/// satellite nothing can be placed: the central slot then reads "Центральная", the others nothing.
std::string SlotHeadingText(int slot, bool centralChosen, std::string_view positionText);

/// The results of a slot and the type size their lines need.
struct ResultsText {
    std::string text;                 ///< the lines as far as the figures go, each ending "\r\n"
    std::optional<double> pointSize;  ///< empty: the label keeps the size it has
};

/// The results of slot (0 is the central one): azimuth and elevation, for an extra slot its
/// distances (by the window's rule, or with precise by the dish's own geometry, with the sides
/// seen against centralAzimuthDeg), then the rotation. An incomplete result stops before the
/// first figure it lacks.
ResultsText SlotResultsText(int slot, const SlotResult& result, bool precise,
                            double centralAzimuthDeg);

/// What the lower panel's box of slot shows: for the central slot its azimuth over its entry,
/// for the others their entry as chosen. Empty when nothing is to be written: the central azimuth
/// is not known (or 0), or the slot has no box.
std::optional<std::string> PanelBoxText(int slot, std::optional<double> centralAzimuthDeg,
                                        std::string_view entryText);

/// The site as the layout's header gives it, each number in at most 15 significant digits:
/// "55.75 N 37.6 E".
std::string SiteHeaderText(double latitudeDeg, std::string_view northSouth, double longitudeDeg,
                           std::string_view eastWest);

/// The message for a slot whose satellite stands below the horizon; shownEntry is its entry as
/// the window shows it.
std::string HiddenSatelliteMessage(std::string_view shownEntry);

}  // namespace palquin
