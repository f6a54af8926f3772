// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/dish.h"
#include "core/field_ranges.h"
#include "diagram/layout_mm.h"

namespace palquin {
class LayoutModel;
}

namespace palquin {

/// Everything the 1:1 mounting template draws. Window-free: the command line builds it from
/// positions, the window from its calculated slots; the page drawing reads nothing else.
struct TemplateInput {
    /// The calculated converters; the first is the central one, at the origin.
    std::vector<ConverterMm> converters;
    std::string siteText;  ///< for example "55.75 N 37.6 E" (UTF-8)
    double focalMm = 0.0;
    std::string dateText;     ///< for example "07.12.2026"; empty: the day the page is drawn
    bool eastOnRight = true;  ///< which compass side lies right in the front view
    /// Said on every page, large and red above the drawing (UTF-8); empty when all is well.
    std::string pageWarning;
};

/// A rectangle of the layout, mm, in the layout's own coordinates (origin on the central
/// converter's centre, x right, y down).
struct BoxMm {
    double leftMm = 0.0;
    double topMm = 0.0;
    double rightMm = 0.0;
    double bottomMm = 0.0;
    double WidthMm() const { return rightMm - leftMm; }
    double HeightMm() const { return bottomMm - topMm; }
};

/// Sizes of what the template draws around each converter, mm.
inline constexpr double kCrossOverhangMm = 5.0;      ///< the cross reaches this far out of the body
inline constexpr double kCaptionHalfWidthMm = 10.0;  ///< room kept for the position text
inline constexpr double kCaptionHalfHeightMm = 3.0;
inline constexpr double kContentMarginMm = 5.0;  ///< clear space around the whole drawing

/// What the template must show: every body, cross, rotation line and position text, with a
/// margin all round.
BoxMm ContentBoxMm(const std::vector<ConverterMm>& converters);

/// How the drawing is cut into pages of equal frames, laid edge to edge without overlap.
struct TilePlan {
    int columns = 1;
    int rows = 1;
    double tileWidthMm = 0.0;
    double tileHeightMm = 0.0;
    PointMm originMm;  ///< the layout point at the top-left corner of the first page's frame

    int Pages() const { return columns * rows; }
    /// The layout point at the top-left corner of the frame of the page in that row and column.
    PointMm TileOriginMm(int row, int column) const {
        return {originMm.xMm + column * tileWidthMm, originMm.yMm + row * tileHeightMm};
    }
};

/// The most pages a template may take; a layout that needs more is refused, not printed.
inline constexpr int kMaxTemplatePages = 100;

/// A drawing that fits one frame is centred in it; a larger one is cut into as many columns and
/// rows as it needs, the block of pages centred on the drawing and then moved, as far as the
/// spare room allows, to keep the given converter centres off the edges where pages meet. Empty
/// when the frame is not positive, a size is not finite, or more than kMaxTemplatePages pages
/// would be needed.
std::optional<TilePlan> PlanTiles(const BoxMm& content, double frameWidthMm, double frameHeightMm,
                                  const std::vector<PointMm>& centres = {});

/// One converter asked for: its position text as the catalogue writes it ("E 13.0", "W 5.0")
/// and its body's diameter.
struct TemplateConverterRequest {
    std::string positionText;
    double diameterMm = kDefaultDiameterMm;
};

/// The site and converters to calculate; the first converter is the central one.
struct TemplateRequest {
    double latitudeDeg = 0.0;   ///< magnitude, with ns
    std::string ns = "N";       ///< "N" or "S"
    double longitudeDeg = 0.0;  ///< magnitude, with ew
    std::string ew = "E";       ///< "E" or "W"
    double focalMm = 600.0;
    std::vector<TemplateConverterRequest> converters;
    std::string dateText;
    /// The dish's own geometry for the extra converters' places; none: the window's rule.
    std::optional<DishGeometry> dish;
};

/// Calculates every converter as the window does (pointing, offsets from the central one,
/// rotation; with a dish, its own places) and lays them out in millimetres. Empty, with a Russian
/// message in *error, when there is no converter or a position cannot be calculated from this site.
/// A satellite below the horizon is still laid out; its name is added to *warnings, and the page
/// warning says which are below the horizon (or that all are).
std::optional<TemplateInput> BuildTemplateInput(const TemplateRequest& request, std::string* error,
                                                std::vector<std::string>* warnings = nullptr);

/// The template of what the window's diagram shows now: every placed slot, the central one
/// first, in slot order. Empty when the central slot has not been placed.
std::optional<TemplateInput> TemplateFromLayout(const LayoutModel& layout, std::string siteText,
                                                double focalMm, double centralAzimuthDeg,
                                                std::string dateText = {});

}  // namespace palquin
