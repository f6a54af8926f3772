// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "diagram/layout_mm.h"

namespace palquin {

/// A rectangle in twips inside Frame4 (x to the right, y downwards).
struct RectTw {
    double leftTw = 0.0;
    double topTw = 0.0;
    double widthTw = 0.0;
    double heightTw = 0.0;
    bool visible = false;

    double CenterXTw() const { return leftTw + widthTw / 2.0; }
    double CenterYTw() const { return topTw + heightTw / 2.0; }
};

/// A straight line in twips given by its two end points.
struct LineTw {
    double x1Tw = 0.0;
    double y1Tw = 0.0;
    double x2Tw = 0.0;
    double y2Tw = 0.0;
    bool visible = false;
};

/// What the diagram shows of one converter slot.
struct SlotDrawing {
    RectTw marker;            ///< the converter's circle, inscribed in this box
    RectTw caption;           ///< the box of its caption
    std::string captionText;  ///< the slot's position text, for example "E 13.0"
    LineTw rotationLine;      ///< the line showing its rotation
    RectTw crossX;            ///< its crosshair's horizontal bar
    RectTw crossY;            ///< its crosshair's vertical bar
};

/// Geometry of the converter layout diagram (the front view, see kFrontViewText), in twips. It owns
/// the scale msh, the grid and every slot's items; it computes no pointing itself: the slot
/// recalculation hands it angles and offsets. A widget paints it as it stands.
class LayoutModel {
  public:
    static constexpr int kSlots = 10;

    // Frame4 and its fixed elements, as laid out.
    static constexpr double kFrameWidthTw = 11175.0;
    static constexpr double kFrameHeightTw = 2895.0;
    static constexpr double kCenterXTw = 5650.0;  ///< centre of the central marker
    static constexpr double kCenterYTw = 1567.5;
    static constexpr double kLineThicknessTw = 15.0;
    static constexpr double kVerticalLineTopTw = 195.0;  ///< vertical grid lines and axis
    static constexpr double kVerticalLineHeightTw = 2625.0;
    static constexpr double kHorizontalLineLeftTw = 120.0;  ///< horizontal grid lines and axis
    static constexpr double kHorizontalLineWidthTw = 10935.0;
    static constexpr double kVerticalAxisLeftTw = 5640.0;   ///< the green vertical axis
    static constexpr double kHorizontalAxisTopTw = 1560.0;  ///< the green horizontal axis

    /// The start state: msh 1, grid built at scale 1, central marker visible at 500 x 495,
    /// markers 1-9 hidden at 500 x 500, every caption, crosshair and rotation line hidden.
    LayoutModel();

    double Scale() const { return msh_; }
    /// "1x1" until the first zoom step, then "1/<n>".
    const std::string& ScaleLabel() const { return scaleLabel_; }

    /// Lefts of the placed vertical grid lines and tops of the placed horizontal ones, in the
    /// order they were placed (the centre line appears twice in each family).
    const std::vector<double>& VerticalGridLeftsTw() const { return verticalGrid_; }
    const std::vector<double>& HorizontalGridTopsTw() const { return horizontalGrid_; }

    const SlotDrawing& Slot(int slot) const { return slots_.at(static_cast<size_t>(slot)); }

    /// Rebuilds the grid at the current scale around the central marker's centre.
    void RedrawLayout();

    /// Doubles msh unless it is above 16 and rewrites the scale label. Returns false (and changes
    /// nothing) at the limit. The caller recalculates the slots and then calls RedrawLayout().
    bool ZoomIn();
    /// Halves msh unless it is below 1/8; as ZoomIn otherwise.
    bool ZoomOut();

    /// Central slot: caption centred on the marker, marker re-centred on the centre at the size of
    /// diameterMm.
    void PlaceCentral(double diameterMm, const std::string& caption);

    /// Extra slot 1-9: marker shown, sized, put left/right of the centre by az against e0 and
    /// above/below by el against u0, offsets in mm; caption centred on it.
    void PlaceExtra(int slot, double diameterMm, double azimuthDeg, double elevationDeg,
                    double centralAzimuthDeg, double centralElevationDeg, double horizontalMm,
                    double verticalMm, const std::string& caption);

    /// Extra slot 1-9 at a place already worked out (mm from the central converter's centre, x
    /// right, y down), for the dish's own geometry.
    void PlaceExtraAt(int slot, double diameterMm, PointMm centreMm, const std::string& caption);

    /// A warning the diagram shows for the slot (UTF-8), such as a loss that makes reception
    /// unreliable; empty clears it. Hiding the slot clears it too.
    void SetSlotWarning(int slot, std::string warning);
    /// The slots' warnings in slot order, joined by "; "; empty when there is none.
    std::string WarningLine() const;

    /// Rotation line (2 x 10 x D twips, not scaled) and crosshair (500 twips) through the marker's
    /// centre, for any slot.
    void PlaceRotation(int slot, double diameterMm, double rotationDeg);

    /// The site (as the template's header writes it) and the focal length of the latest
    /// placement: what the drawing was calculated from, whatever the fields say since.
    struct Source {
        std::string siteText;
        double focalMm = 0.0;
    };
    void SetComputedFrom(std::string siteText, double focalMm) {
        source_ = Source{std::move(siteText), focalMm};
    }
    const std::optional<Source>& ComputedFrom() const { return source_; }

    /// The central satellite's azimuth, which decides the compass words of the edges.
    void SetCentralAzimuth(double azimuthDeg) { centralAzimuthDeg_ = azimuthDeg; }

    /// The compass sides at the diagram's left and right edges (UTF-8), while the central slot is
    /// placed and its azimuth is known.
    struct EdgeWords {
        std::string left;
        std::string right;
    };
    std::optional<EdgeWords> SideWords() const;

    /// Hides marker, caption, rotation line and crosshair of the slot.
    void HideSlot(int slot);
    /// Shows the central marker where and as large as it was.
    void ShowCentralMarker();

    /// New marker size D x 10 x msh, keeping its centre; visibility unchanged.
    void ResizeMarker(int slot, double diameterMm);

    /// The converter of a slot in millimetres, once the slot has been placed and until it is
    /// hidden; the twips above are drawn from it.
    const std::optional<ConverterMm>& SlotMm(int slot) const {
        return mm_.at(static_cast<size_t>(slot));
    }
    /// True when the slot's converter body overlaps another placed one.
    bool Colliding(int slot) const { return colliding_.at(static_cast<size_t>(slot)); }
    /// The warning for the worst overlapping pair (UTF-8); empty when nothing overlaps.
    const std::string& CollisionLine() const { return collisionLine_; }

  private:
    void UpdateCollisions();

    double msh_ = 1.0;
    std::string scaleLabel_ = "1x1";
    std::vector<double> verticalGrid_;
    std::vector<double> horizontalGrid_;
    std::array<SlotDrawing, kSlots> slots_;
    std::array<std::optional<ConverterMm>, kSlots> mm_;
    std::array<bool, kSlots> colliding_{};
    std::string collisionLine_;
    std::optional<double> centralAzimuthDeg_;
    std::optional<Source> source_;
    std::array<std::string, kSlots> warnings_;
};

}  // namespace palquin
