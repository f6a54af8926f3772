// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/layout_model.h"

#include <charconv>
#include <cmath>

#include "core/angles.h"

namespace palquin {
namespace {

// As laid out in the window: the central marker, the slot captions and the crosshair bars.
constexpr double kCentralMarkerLeftTw = 5400.0;
constexpr double kCentralMarkerTopTw = 1320.0;
constexpr double kCentralMarkerWidthTw = 500.0;
constexpr double kCentralMarkerHeightTw = 495.0;
constexpr double kExtraMarkerSizeTw = 500.0;
constexpr double kCaptionLeftTw = 5460.0;
constexpr double kCaptionTopTw = 1370.0;
constexpr double kCaptionWidthTw = 405.0;
constexpr double kCaptionHeightTw = 375.0;
constexpr const char* kInitialCaption = "E 13";
constexpr double kCrossLengthTw = 500.0;

// Grid bounds: lines stay 50 twips inside the frame, except that horizontal lines stop 150 twips
// below its top edge (the frame's caption sits there).
constexpr double kGridMarginTw = 50.0;
constexpr double kGridTopLimitTw = 150.0;
constexpr double kGridStepAtScale1Tw = 200.0;

constexpr double kZoomInLimit = 16.0;
constexpr double kZoomOutLimit = 1.0 / 8.0;

// Millimetres on the dish (and converter diameters) become twips at this rate, times the scale.
constexpr double kTwipsPerMm = 10.0;

// Where every marker is placed from. The laid-out grid templates sit at (5640, 1560), but the
// start-up grid build moves the first grid lines onto the central marker's centre, so by the
// time anything is placed "the template's edge" and "the marker's centre" are the same point,
// (5650, 1567.5). Using the laid-out template edges instead would put every extra marker 10
// twips left and 7.5 twips high (a site in Moscow with 36 E central and 13 E beside it, checked
// by hand, has the 13 E marker at left 8128.23, top 931.29).
constexpr double kPlaceCenterXTw = LayoutModel::kCenterXTw;
constexpr double kPlaceCenterYTw = LayoutModel::kCenterYTw;

// The scale label's number: the shortest form that reads back to the same value ("2", "16").
std::string PlainNumber(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string ScaleLabelFor(double msh) {
    if (msh >= 1.0) {
        return "1/" + PlainNumber(msh);
    }
    return "1/" + PlainNumber(100.0 / (msh * 100.0));
}

void CenterOn(RectTw& rect, double centerXTw, double centerYTw) {
    rect.leftTw = centerXTw - rect.widthTw / 2.0;
    rect.topTw = centerYTw - rect.heightTw / 2.0;
}

// Appends start, start + step, start + 2 step, ... up to and including the limit (down to it for
// a negative step).
void PlaceRun(std::vector<double>& out, double startTw, double stepTw, double limitTw) {
    for (int k = 0;; ++k) {
        const double at = startTw + static_cast<double>(k) * stepTw;
        if (stepTw > 0.0 ? at > limitTw : at < limitTw) {
            return;
        }
        out.push_back(at);
    }
}

}  // namespace

LayoutModel::LayoutModel() {
    for (int i = 0; i < kSlots; ++i) {
        SlotDrawing& slot = slots_[static_cast<size_t>(i)];
        // Extra markers start as hidden copies of the central one, made square.
        slot.marker = {kCentralMarkerLeftTw, kCentralMarkerTopTw,
                       i == 0 ? kCentralMarkerWidthTw : kExtraMarkerSizeTw,
                       i == 0 ? kCentralMarkerHeightTw : kExtraMarkerSizeTw, i == 0};
        slot.caption = {kCaptionLeftTw, kCaptionTopTw, kCaptionWidthTw, kCaptionHeightTw, false};
        slot.captionText = kInitialCaption;
        slot.crossX = {kPlaceCenterXTw - kCrossLengthTw / 2.0, kPlaceCenterYTw, kCrossLengthTw,
                       kLineThicknessTw, false};
        slot.crossY = {kPlaceCenterXTw, kPlaceCenterYTw - kCrossLengthTw / 2.0, kLineThicknessTw,
                       kCrossLengthTw, false};
        slot.rotationLine = {kPlaceCenterXTw, kPlaceCenterYTw, kPlaceCenterXTw, kPlaceCenterYTw,
                             false};
    }
    RedrawLayout();
}

void LayoutModel::RedrawLayout() {
    const RectTw& central = slots_[0].marker;
    const double cx = central.CenterXTw();
    const double cy = central.CenterYTw();
    const double step = kGridStepAtScale1Tw * msh_;

    verticalGrid_.clear();
    horizontalGrid_.clear();
    // Each family: away from the centre one way, then the other, the centre line both times.
    PlaceRun(verticalGrid_, cx, step, kFrameWidthTw - kGridMarginTw);
    PlaceRun(verticalGrid_, cx, -step, kGridMarginTw);
    PlaceRun(horizontalGrid_, cy, step, kFrameHeightTw - kGridMarginTw);
    PlaceRun(horizontalGrid_, cy, -step, kGridTopLimitTw);
}

bool LayoutModel::ZoomIn() {
    if (msh_ > kZoomInLimit) {
        return false;
    }
    msh_ *= 2.0;
    scaleLabel_ = ScaleLabelFor(msh_);
    return true;
}

bool LayoutModel::ZoomOut() {
    if (msh_ < kZoomOutLimit) {
        return false;
    }
    msh_ /= 2.0;
    scaleLabel_ = ScaleLabelFor(msh_);
    return true;
}

void LayoutModel::PlaceCentral(double diameterMm, const std::string& caption) {
    SlotDrawing& slot = slots_[0];
    // The caption goes on the marker's current centre, before the marker itself is re-centred.
    slot.captionText = caption;
    slot.caption.visible = true;
    CenterOn(slot.caption, slot.marker.CenterXTw(), slot.marker.CenterYTw());

    const double size = diameterMm * kTwipsPerMm * msh_;
    slot.marker.widthTw = size;
    slot.marker.heightTw = size;
    CenterOn(slot.marker, kPlaceCenterXTw, kPlaceCenterYTw);

    mm_[0] = ConverterMm{caption, {0.0, 0.0}, diameterMm, 0.0};
    UpdateCollisions();
}

void LayoutModel::PlaceExtra(int slot, double diameterMm, double azimuthDeg, double elevationDeg,
                             double centralAzimuthDeg, double centralElevationDeg,
                             double horizontalMm, double verticalMm, const std::string& caption) {
    // The millimetre layout decides the side; the diagram only scales it onto the screen.
    PlaceExtraAt(slot, diameterMm,
                 ExtraCentreMm(azimuthDeg, elevationDeg, centralAzimuthDeg, centralElevationDeg,
                               horizontalMm, verticalMm),
                 caption);
}

void LayoutModel::PlaceExtraAt(int slot, double diameterMm, PointMm centre,
                               const std::string& caption) {
    SlotDrawing& drawing = slots_.at(static_cast<size_t>(slot));
    RectTw& marker = drawing.marker;
    marker.visible = true;
    const double size = diameterMm * kTwipsPerMm * msh_;
    marker.widthTw = size;
    marker.heightTw = size;
    marker.leftTw = kPlaceCenterXTw - size / 2.0 + centre.xMm * kTwipsPerMm * msh_;
    marker.topTw = kPlaceCenterYTw - size / 2.0 + centre.yMm * kTwipsPerMm * msh_;

    CenterOn(drawing.caption, marker.CenterXTw(), marker.CenterYTw());
    drawing.captionText = caption;
    drawing.caption.visible = true;

    mm_.at(static_cast<size_t>(slot)) = ConverterMm{caption, centre, diameterMm, 0.0};
    UpdateCollisions();
}

void LayoutModel::PlaceRotation(int slot, double diameterMm, double rotationDeg) {
    SlotDrawing& drawing = slots_.at(static_cast<size_t>(slot));
    const double px = drawing.marker.CenterXTw();
    const double py = drawing.marker.CenterYTw();

    // Half-length equals the marker's diameter at scale 1 and deliberately ignores the zoom.
    const RotationLine line = RotationLineThrough({px, py}, kTwipsPerMm * diameterMm, rotationDeg);
    drawing.rotationLine = {line.first.xMm, line.first.yMm, line.second.xMm, line.second.yMm, true};
    if (std::optional<ConverterMm>& mm = mm_.at(static_cast<size_t>(slot))) {
        mm->rotationDeg = rotationDeg;
    }

    drawing.crossX.leftTw = px - kCrossLengthTw / 2.0;
    drawing.crossX.topTw = py;
    drawing.crossX.visible = true;
    drawing.crossY.leftTw = px;
    drawing.crossY.topTw = py - kCrossLengthTw / 2.0;
    drawing.crossY.visible = true;
}

std::optional<LayoutModel::EdgeWords> LayoutModel::SideWords() const {
    if (!mm_[0] || !centralAzimuthDeg_) {
        return std::nullopt;
    }
    const std::string east = "восток";
    const std::string west = "запад";
    return EastOnRight(*centralAzimuthDeg_) ? EdgeWords{west, east} : EdgeWords{east, west};
}

void LayoutModel::HideSlot(int slot) {
    SlotDrawing& drawing = slots_.at(static_cast<size_t>(slot));
    drawing.marker.visible = false;
    drawing.caption.visible = false;
    drawing.rotationLine.visible = false;
    drawing.crossX.visible = false;
    drawing.crossY.visible = false;
    mm_.at(static_cast<size_t>(slot)).reset();
    warnings_.at(static_cast<size_t>(slot)).clear();
    UpdateCollisions();
}

void LayoutModel::SetSlotWarning(int slot, std::string warning) {
    warnings_.at(static_cast<size_t>(slot)) = std::move(warning);
}

std::string LayoutModel::WarningLine() const {
    std::string line;
    for (const std::string& warning : warnings_) {
        if (!warning.empty()) {
            line += (line.empty() ? "" : "; ") + warning;
        }
    }
    return line;
}

void LayoutModel::ShowCentralMarker() {
    slots_[0].marker.visible = true;
}

void LayoutModel::ResizeMarker(int slot, double diameterMm) {
    RectTw& marker = slots_.at(static_cast<size_t>(slot)).marker;
    const double cx = marker.CenterXTw();
    const double cy = marker.CenterYTw();
    const double size = diameterMm * kTwipsPerMm * msh_;
    marker.widthTw = size;
    marker.heightTw = size;
    CenterOn(marker, cx, cy);
    if (std::optional<ConverterMm>& mm = mm_.at(static_cast<size_t>(slot))) {
        mm->diameterMm = diameterMm;
        UpdateCollisions();
    }
}

void LayoutModel::UpdateCollisions() {
    std::vector<ConverterMm> placed;
    std::vector<size_t> slotOf;
    for (size_t i = 0; i < mm_.size(); ++i) {
        if (mm_[i]) {
            placed.push_back(*mm_[i]);
            slotOf.push_back(i);
        }
    }
    colliding_.fill(false);
    for (const Collision& collision : FindCollisions(placed)) {
        colliding_[slotOf[collision.first]] = true;
        colliding_[slotOf[collision.second]] = true;
    }
    collisionLine_ = CollisionSummary(placed);
}

}  // namespace palquin
