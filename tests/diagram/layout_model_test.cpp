#include "diagram/layout_model.h"

#include <gtest/gtest.h>

#include "common/row_name.h"

#include <algorithm>
#include <string>

namespace palquin {
namespace {

using testing_support::RowName;

// The placement from real pointing figures carries their rounding and is checked to the
// hundredth of a twip; every other value is a sum of exact binary fractions.
constexpr double kTw = 0.01;
constexpr double kCx = 5650.0;
constexpr double kCy = 1567.5;

// 0: what shows, 1 marker + 2 caption + 4 rotation line + 8 ShapeX + 16 ShapeY; 1-4: marker box;
// 5-8: rotation line ends; 9-11: ShapeX left, top, width; 12-14: ShapeY left, top, height; 15-16:
// caption left and top. All in twips.
std::vector<double> Geometry(const SlotDrawing& s) {
    const RectTw &m = s.marker, &x = s.crossX, &y = s.crossY, &c = s.caption;
    const LineTw& l = s.rotationLine;
    const double shown = m.visible + 2 * c.visible + 4 * l.visible + 8 * x.visible + 16 * y.visible;
    return {shown,    m.leftTw, m.topTw,    m.widthTw, m.heightTw, l.x1Tw,
            l.y1Tw,   l.x2Tw,   l.y2Tw,     x.leftTw,  x.topTw,    x.widthTw,
            y.leftTw, y.topTw,  y.heightTw, c.leftTw,  c.topTw};
}

// Compares the first expected.size() values of the slot's geometry.
void ExpectGeometry(const SlotDrawing& slot, const std::vector<double>& expected) {
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(Geometry(slot).at(i), expected[i], kTw) << "value " << i;
    }
}

TEST(LayoutModelStart, OnlyTheCentralMarkerShowsAndResizingKeepsCentres) {
    LayoutModel model;
    ExpectGeometry(model.Slot(0), {1, 5400, 1320, 500, 495});
    for (int i = 1; i < LayoutModel::kSlots; ++i) {
        ExpectGeometry(model.Slot(i), {0, 5400, 1320, 500, 500});
    }
    model.ResizeMarker(0, 40);  // the laid-out 500 x 495 becomes square about C
    ExpectGeometry(model.Slot(0), {1, kCx - 200, kCy - 200, 400, 400});
    model.ResizeMarker(9, 20);  // a hidden marker too, about where it was created
    ExpectGeometry(model.Slot(9), {0, kCx - 100, 1570 - 100, 200, 200});
}

struct ZoomRow {
    const char* name;
    const char* presses;  // '+' zoom in, '-' zoom out
    const char* label;    // with " refused" when the last press changed nothing
    // Vertical lines: count, leftmost, rightmost; horizontal lines: count, top, bottom.
    std::vector<double> grid;
};

class ZoomTest : public testing::TestWithParam<ZoomRow> {};

TEST_P(ZoomTest, ScaleLabelAndGrid) {
    const ZoomRow& row = GetParam();
    LayoutModel model;
    bool accepted = true;
    for (const char press : std::string(row.presses)) {
        accepted = press == '+' ? model.ZoomIn() : model.ZoomOut();
    }
    model.RedrawLayout();
    EXPECT_EQ(model.ScaleLabel() + (accepted ? "" : " refused"), row.label);
    const std::vector<double>& v = model.VerticalGridLeftsTw();
    const std::vector<double>& h = model.HorizontalGridTopsTw();
    EXPECT_EQ(std::vector({double(v.size()), std::ranges::min(v), std::ranges::max(v),
                           double(h.size()), std::ranges::min(h), std::ranges::max(h)}),
              row.grid);
}

// Both runs of lines start on the centre, so it is counted twice. The bounds are inclusive: 50
// and 11125 are both reached at 1/16.
INSTANTIATE_TEST_SUITE_P(
    Presses, ZoomTest,
    testing::Values(
        ZoomRow{"Start", "", "1x1", {57, 50, 11050, 15, 167.5, 2767.5}},
        ZoomRow{"SixthInRefused", "++++++", "1/32 refused", {2, kCx, kCx, 2, kCy, kCy}},
        ZoomRow{"FifthOutRefused", "-----", "1/16 refused", {888, 50, 11125, 217, 155, 2842.5}},
        ZoomRow{"OutThenIn", "-+", "1/1", {57, 50, 11050, 15, 167.5, 2767.5}}),
    RowName());

// A site in Moscow (55.75 N 37.6 E), focal length 600 mm, 36 E central and 13 E in slot 2,
// checked by hand.
TEST(LayoutModelPlacement, MoscowThirteenEastRightOfAndAboveTheCentre) {
    LayoutModel model;
    model.PlaceExtra(2, 50, 208.98141531600504, 22.772725167247664, 181.9354308031532,
                     26.46327596944846, 272.8232750948578, 38.62063891096427, "E 13.0");
    model.PlaceRotation(2, 50, 15.824612669384681);
    ExpectGeometry(model.Slot(2),
                   {31, 8128.23, 931.29, 500, 500, 8241.88, 700.24, 8514.58, 1662.34, 8128.23,
                    1181.29, 500, 8378.23, 931.29, 500, 8378.23 - 202.5, 1181.29 - 187.5});
    EXPECT_EQ(model.Slot(2).captionText, "E 13.0");
}

struct SideRow {
    const char* name;
    int zoomIns;
    double azimuthDeg, elevationDeg, x, y, size;
};

class SideTest : public testing::TestWithParam<SideRow> {};

// Central 180 / 30, diameter 30 mm, offsets 20 mm across and 10 mm up or down, rotation 0. The
// rotation line (2 x 10 x D) and the crosshair (500) do not scale.
TEST_P(SideTest, AnglesPickTheSideAndOnlyMarkerAndOffsetsScale) {
    const auto [name, zoomIns, azimuth, elevation, x, y, size] = GetParam();
    LayoutModel model;
    for (int i = 0; i < zoomIns; ++i) {
        model.ZoomIn();
    }
    model.PlaceExtra(5, 30, azimuth, elevation, 180, 30, 20, 10, "x");
    model.PlaceRotation(5, 30, 0);
    ExpectGeometry(model.Slot(5),
                   {31, x - size / 2, y - size / 2, size, size, x, y - 300, x, y + 300, x - 250, y,
                    500, x, y - 250, 500, x - 202.5, y - 187.5});
    model.ResizeMarker(5, 15);
    ExpectGeometry(model.Slot(5), {31, x - size / 4, y - size / 4, size / 2, size / 2});
}

INSTANTIATE_TEST_SUITE_P(
    Sides, SideTest,
    testing::Values(SideRow{"SmallerAzLeftLowerElAbove", 0, 170, 20, kCx - 200, kCy - 100, 300},
                    SideRow{"GreaterAzRightHigherElBelow", 0, 190, 40, kCx + 200, kCy + 100, 300},
                    SideRow{"EqualAzOnVerticalAxis", 0, 180, 40, kCx, kCy + 100, 300},
                    SideRow{"EqualElOnHorizontalAxis", 0, 170, 30, kCx - 200, kCy, 300},
                    SideRow{"ZoomedIn", 1, 170, 20, kCx - 400, kCy - 200, 600}),
    RowName());

}  // namespace
}  // namespace palquin
