#include "diagram/layout_model.h"

#include <gtest/gtest.h>

#include "common/row_name.h"

#include <cmath>
#include <string>

namespace palquin {
namespace {

using testing_support::RowName;

// Sums of exact binary fractions must match exactly; the worked example carries the pointing
// formulas' rounding and is checked to the hundredth of a twip.
constexpr double kExactTw = 1e-9;
constexpr double kExampleTw = 0.01;
constexpr double kCx = 5650.0;
constexpr double kCy = 1567.5;

void ExpectRect(const RectTw& r, double left, double top, double width, double height,
                double tolerance, const std::string& what) {
    EXPECT_NEAR(r.leftTw, left, tolerance) << what << " left";
    EXPECT_NEAR(r.topTw, top, tolerance) << what << " top";
    EXPECT_NEAR(r.widthTw, width, tolerance) << what << " width";
    EXPECT_NEAR(r.heightTw, height, tolerance) << what << " height";
}

bool AnyShown(const SlotDrawing& s) {
    return s.marker.visible || s.caption.visible || s.rotationLine.visible || s.crossX.visible ||
           s.crossY.visible;
}

TEST(LayoutModelStart, MatchesTheLaidOutWindow) {
    const LayoutModel model;
    EXPECT_EQ(model.Scale(), 1.0);
    EXPECT_EQ(model.ScaleLabel(), "1x1");
    ExpectRect(model.Slot(0).marker, 5400, 1320, 500, 495, kExactTw, "central marker");
    EXPECT_TRUE(model.Slot(0).marker.visible);
    ExpectRect(model.Slot(0).caption, 5460, 1370, 405, 375, kExactTw, "central caption");
    EXPECT_EQ(model.Slot(0).captionText, "E 13");
    EXPECT_FALSE(model.Slot(0).caption.visible || model.Slot(0).crossX.visible);
    for (int i = 1; i < LayoutModel::kSlots; ++i) {
        ExpectRect(model.Slot(i).marker, 5400, 1320, 500, 500, kExactTw, std::to_string(i));
        EXPECT_FALSE(AnyShown(model.Slot(i))) << "slot " << i;
        EXPECT_EQ(model.Slot(i).crossX.widthTw, 500.0);
        EXPECT_EQ(model.Slot(i).crossY.heightTw, 500.0);
    }
}

struct GridRow {
    const char* name;
    const char* presses;  // '+' zoom in, '-' zoom out
    size_t vertical, rightward;
    double maxLeft, minLeft;
    size_t horizontal, downward;
    double maxTop, minTop;
};

class GridTest : public testing::TestWithParam<GridRow> {};

TEST_P(GridTest, PlacesTheExpectedLines) {
    const GridRow& row = GetParam();
    LayoutModel model;
    for (const char* p = row.presses; *p != '\0'; ++p) {
        *p == '+' ? model.ZoomIn() : model.ZoomOut();
    }
    model.RedrawLayout();
    const auto& v = model.VerticalGridLeftsTw();
    const auto& h = model.HorizontalGridTopsTw();
    ASSERT_EQ(v.size(), row.vertical) << "msh " << model.Scale();
    ASSERT_EQ(h.size(), row.horizontal) << "msh " << model.Scale();
    // Both runs start on the centre, so the centre line is there twice.
    EXPECT_EQ(v.front(), kCx);
    EXPECT_EQ(v.at(row.rightward), kCx);
    EXPECT_EQ(v.at(row.rightward - 1), row.maxLeft);
    EXPECT_EQ(v.back(), row.minLeft);
    EXPECT_EQ(h.front(), kCy);
    EXPECT_EQ(h.at(row.downward), kCy);
    EXPECT_EQ(h.at(row.downward - 1), row.maxTop);
    EXPECT_EQ(h.back(), row.minTop);
}

// The bounds are inclusive: 50 and 11125 are both reached.
INSTANTIATE_TEST_SUITE_P(
    Scales, GridTest,
    testing::Values(GridRow{"msh_1", "", 57, 28, 11050, 50, 15, 7, 2767.5, 167.5},
                    GridRow{"msh_2", "+", 29, 14, 10850, 50, 8, 4, 2767.5, 367.5},
                    GridRow{"msh_32", "+++++", 2, 1, kCx, kCx, 2, 1, kCy, kCy},
                    GridRow{"msh_half", "-", 112, 55, 11050, 50, 28, 13, 2767.5, 167.5},
                    GridRow{"msh_sixteenth", "----", 888, 439, 11125, 50, 217, 103, 2842.5, 155}),
    RowName());

struct ZoomRow {
    const char* name;
    std::string presses;
    double scale;
    const char* label;
    bool lastAccepted;
};

class ZoomTest : public testing::TestWithParam<ZoomRow> {};

TEST_P(ZoomTest, ScaleAndLabel) {
    const ZoomRow& row = GetParam();
    LayoutModel model;
    bool accepted = false;
    for (char press : row.presses) {
        accepted = press == '+' ? model.ZoomIn() : model.ZoomOut();
    }
    EXPECT_EQ(model.Scale(), row.scale) << row.presses;
    EXPECT_EQ(model.ScaleLabel(), row.label) << row.presses;
    EXPECT_EQ(accepted, row.lastAccepted) << row.presses;
}

INSTANTIATE_TEST_SUITE_P(Presses, ZoomTest,
                         testing::Values(ZoomRow{"in_once", "+", 2, "1/2", true},
                                         ZoomRow{"out_once", "-", 0.5, "1/2", true},
                                         ZoomRow{"in_five", "+++++", 32, "1/32", true},
                                         ZoomRow{"in_sixth_refused", "++++++", 32, "1/32", false},
                                         ZoomRow{"out_four", "----", 0.0625, "1/16", true},
                                         ZoomRow{"out_fifth_refused", "-----", 0.0625, "1/16",
                                                 false},
                                         ZoomRow{"out_then_in", "-+", 1, "1/1", true}),
                         RowName());

// Pointing formulas for site 55.75 N 37.6 E, focal length 600 mm, central entry 36;0;E and slot
// entry 13;0;E.
constexpr double kE0 = 181.9354308031532;
constexpr double kU0 = 26.46327596944846;
constexpr double kAz = 208.98141531600504;
constexpr double kEl = 22.772725167247664;
constexpr double kDx = 272.8232750948578;
constexpr double kDy = 38.62063891096427;
constexpr double kRotation = 15.824612669384681;

TEST(LayoutModelPlacement, WorkedExampleRightOfAndAboveTheCentre) {
    LayoutModel model;
    model.PlaceExtra(2, 50, kAz, kEl, kE0, kU0, kDx, kDy, "E 13.0");
    model.PlaceRotation(2, 50, kRotation);
    const SlotDrawing& slot = model.Slot(2);
    ExpectRect(slot.marker, 8128.23, 931.29, 500, 500, kExampleTw, "marker");
    EXPECT_NEAR(slot.rotationLine.x1Tw, 8241.88, kExampleTw);
    EXPECT_NEAR(slot.rotationLine.y1Tw, 700.24, kExampleTw);
    EXPECT_NEAR(slot.rotationLine.x2Tw, 8514.58, kExampleTw);
    EXPECT_NEAR(slot.rotationLine.y2Tw, 1662.34, kExampleTw);
    ExpectRect(slot.crossX, 8128.23, 1181.29, 500, 15, kExampleTw, "ShapeX");
    ExpectRect(slot.crossY, 8378.23, 931.29, 15, 500, kExampleTw, "ShapeY");
    ExpectRect(slot.caption, 8378.23 - 202.5, 1181.29 - 187.5, 405, 375, kExampleTw, "caption");
    EXPECT_EQ(slot.captionText, "E 13.0");
    EXPECT_TRUE(slot.marker.visible && slot.caption.visible && slot.rotationLine.visible &&
                slot.crossX.visible && slot.crossY.visible);
}

struct SideRow {
    const char* name;
    double azimuthDeg, elevationDeg, centerX, centerY;
};

class SideTest : public testing::TestWithParam<SideRow> {};

// Central 180 / 30; offsets 20 mm across and 10 mm up or down.
TEST_P(SideTest, AnglesPickTheSide) {
    const SideRow& row = GetParam();
    LayoutModel model;
    model.PlaceExtra(5, 30, row.azimuthDeg, row.elevationDeg, 180, 30, 20, 10, "x");
    const RectTw& marker = model.Slot(5).marker;
    EXPECT_NEAR(marker.widthTw, 300, kExactTw);
    EXPECT_NEAR(marker.CenterXTw(), row.centerX, kExactTw) << "az " << row.azimuthDeg;
    EXPECT_NEAR(marker.CenterYTw(), row.centerY, kExactTw) << "el " << row.elevationDeg;
}

INSTANTIATE_TEST_SUITE_P(
    Sides, SideTest,
    testing::Values(SideRow{"smaller_az_left_lower_el_above", 170, 20, kCx - 200, kCy - 100},
                    SideRow{"greater_az_right_higher_el_below", 190, 40, kCx + 200, kCy + 100},
                    SideRow{"equal_az_on_vertical_axis", 180, 40, kCx, kCy + 100},
                    SideRow{"equal_el_on_horizontal_axis", 170, 30, kCx - 200, kCy}),
    RowName());

TEST(LayoutModelPlacement, FortyMillimetresLeftAtScale1) {
    LayoutModel model;
    model.PlaceExtra(1, 50, 170, 30, 180, 30, 40, 0, "W 5.0");
    EXPECT_NEAR(model.Slot(1).marker.CenterXTw(), 5250, kExactTw);
}

TEST(LayoutModelPlacement, MarkerScalesButRotationLineAndCrosshairDoNot) {
    LayoutModel model;
    model.ZoomIn();
    model.PlaceExtra(3, 50, 170, 20, 180, 30, 40, 10, "E 5.0");
    model.PlaceRotation(3, 50, 0);
    const SlotDrawing& slot = model.Slot(3);
    const double px = kCx - 800;
    const double py = kCy - 200;
    ExpectRect(slot.marker, px - 500, py - 500, 1000, 1000, kExactTw, "marker");
    // Rotation 0: vertical through the centre, 2 x 500 long.
    EXPECT_NEAR(slot.rotationLine.x1Tw, px, kExactTw);
    EXPECT_NEAR(slot.rotationLine.x2Tw, px, kExactTw);
    EXPECT_NEAR(slot.rotationLine.y1Tw, py - 500, kExactTw);
    EXPECT_NEAR(slot.rotationLine.y2Tw, py + 500, kExactTw);
    ExpectRect(slot.crossX, px - 250, py, 500, 15, kExactTw, "ShapeX");
    ExpectRect(slot.crossY, px, py - 250, 15, 500, kExactTw, "ShapeY");
}

TEST(LayoutModelPlacement, DiameterZeroGivesAPointMarkerAndNoLine) {
    LayoutModel model;
    model.PlaceExtra(6, 0, 190, 40, 180, 30, 20, 10, "E 1.0");
    model.PlaceRotation(6, 0, 12);
    const SlotDrawing& slot = model.Slot(6);
    ExpectRect(slot.marker, kCx + 200, kCy + 100, 0, 0, kExactTw, "marker");
    EXPECT_EQ(slot.rotationLine.x1Tw, slot.rotationLine.x2Tw);
    EXPECT_EQ(slot.rotationLine.y1Tw, slot.rotationLine.y2Tw);
}

TEST(LayoutModelPlacement, CentralCaptionAndMarkerCentredOnTheCentre) {
    LayoutModel model;
    model.ZoomIn();
    model.PlaceCentral(60, "E 36.0");
    ExpectRect(model.Slot(0).marker, kCx - 600, kCy - 600, 1200, 1200, kExactTw, "marker");
    ExpectRect(model.Slot(0).caption, kCx - 202.5, kCy - 187.5, 405, 375, kExactTw, "caption");
    EXPECT_TRUE(model.Slot(0).caption.visible);
    EXPECT_EQ(model.Slot(0).captionText, "E 36.0");
}

TEST(LayoutModelResize, KeepsCentreAndVisibility) {
    LayoutModel model;
    model.ZoomIn();
    model.ResizeMarker(0, 50);  // the laid-out 500 x 495 becomes square about C
    ExpectRect(model.Slot(0).marker, kCx - 500, kCy - 500, 1000, 1000, kExactTw, "central");
    EXPECT_TRUE(model.Slot(0).marker.visible);
    // A hidden extra marker still sits where it was created: 500 x 500 from (5400, 1320).
    model.ResizeMarker(8, 20);
    ExpectRect(model.Slot(8).marker, kCx - 200, 1570 - 200, 400, 400, kExactTw, "slot 8");
    EXPECT_FALSE(model.Slot(8).marker.visible);
}

TEST(LayoutModelHide, HidesEverythingAndTheCentralMarkerComesBackAlone) {
    LayoutModel model;
    model.PlaceCentral(50, "E 36.0");
    model.PlaceRotation(0, 50, 1.1);
    model.PlaceExtra(2, 50, kAz, kEl, kE0, kU0, kDx, kDy, "E 13.0");
    model.PlaceRotation(2, 50, kRotation);
    const double left = model.Slot(2).marker.leftTw;
    model.HideSlot(0);
    model.HideSlot(2);
    EXPECT_FALSE(AnyShown(model.Slot(0)));
    EXPECT_FALSE(AnyShown(model.Slot(2)));
    EXPECT_EQ(model.Slot(2).marker.leftTw, left);

    model.ShowCentralMarker();
    EXPECT_TRUE(model.Slot(0).marker.visible);
    EXPECT_FALSE(model.Slot(0).caption.visible || model.Slot(0).rotationLine.visible ||
                 model.Slot(0).crossX.visible || model.Slot(0).crossY.visible);
}

}  // namespace
}  // namespace palquin
