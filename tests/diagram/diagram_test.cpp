// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "diagram/compass.h"
#include "diagram/layout_model.h"

namespace palquin {
namespace {

constexpr double kCx = 5650.0;  // the central marker's centre
constexpr double kCy = 1567.5;

// Dial box left 0 and width 1935: the picture window's dial centre is (967.5, 957.5), the lower
// panel's (967.5, 1027.5). East is on the left.
TEST(CompassTest, NeedleEndsThousandTwipsFromTheCentreAndCaption) {
    const double rows[][5] = {{50, 1815, 180, 967.5, 1957.5},
                              {50, 1815, 90, -32.5, 957.5},
                              {240, 1575, 270, 1967.5, 1027.5}};
    for (const auto& [top, height, azimuthDeg, x, y] : rows) {
        const NeedleEnd end = ComputeNeedleEnd(0, top, 1935, height, azimuthDeg);
        EXPECT_NEAR(end.xTw, x, 1e-6) << azimuthDeg;
        EXPECT_NEAR(end.yTw, y, 1e-6) << azimuthDeg;
    }
    // One decimal at most, no leading blank.
    const std::string entry = "36;0;E;Eutelsat 36";
    EXPECT_EQ(AzimuthCaption(180, entry), "180\u00B0\r\n" + entry);
    EXPECT_EQ(AzimuthCaption(180.26, entry), "180.3\u00B0\r\n" + entry);
    EXPECT_EQ(AzimuthCaption(0.5, entry), ".5\u00B0\r\n" + entry);
}

// Bodies of 50 and 60 mm need 55 mm: (33, 44) is exactly that far from the origin, the next row
// lies 0.1 mm closer on the same ray.
TEST(LayoutMmTest, CollideOnlyCloserThanTheSumOfRadiiAndSummaryNamesTheWorst) {
    const std::tuple<PointMm, PointMm, std::string> rows[] = {
        {{0, 0}, {33, 44}, ""},
        {{0, 0}, {33 * 54.9 / 55, 44 * 54.9 / 55}, "54.9 мм из 55"},
        {{10, 0}, {10, 54.96}, "54.96 мм из 55"},
        {{-20, -30}, {28, -30}, "48 мм из 55"},
    };
    for (const auto& [a, b, figures] : rows) {
        const std::vector<ConverterMm> converters{{"E 13.0", a, 50, 0}, {"E 16.0", b, 60, 0}};
        EXPECT_EQ(Collide(converters[0], converters[1]), !figures.empty()) << figures;
        EXPECT_EQ(CollisionSummary(converters),
                  figures.empty() ? "" : "E 13.0 и E 16.0 мешают друг другу: " + figures);
    }
    // With more converters: the worst pair and the number of pairs.
    EXPECT_EQ(CollisionSummary({{"E 36.0", {0, 0}, 50, 0},
                                {"E 31.5", {40, 0}, 50, 0},
                                {"E 39.0", {-30, 0}, 50, 0},
                                {"E 75.0", {400, 0}, 50, 0}}),
              "E 36.0 и E 39.0 мешают друг другу: 30 мм из 50 (всего пар: 2)");
    // A pasted diameter of 1e300 still gives a whole line.
    const std::string text =
        CollisionSummary({{"E 36.0", {0, 0}, 1e300, 0}, {"E 13.0", {1, 0}, 1e300, 0}});
    const std::string head = "E 36.0 и E 13.0 мешают друг другу: 1 мм из ";
    EXPECT_TRUE(text.starts_with(head + "1000")) << text;
    EXPECT_EQ(text.size(), head.size() + 301);
}

// The diagram draws from the millimetre layout and follows who collides as slots come and go.
TEST(LayoutModelTest, CollisionsFollowPlacingResizingAndHiding) {
    LayoutModel model;
    ASSERT_TRUE(model.ZoomIn());  // 2: one millimetre is 20 twips
    model.PlaceCentral(60, "E 36.0");
    // 13 E and 16 E beside each other: 16 E lies 45 mm left and 4 mm below 13 E's centre.
    model.PlaceExtra(2, 60, 209, 22.7, 182, 26.5, 272, 38.6, "E 13.0");
    model.PlaceExtra(3, 60, 205, 23.1, 182, 26.5, 227, 34.6, "E 16.0");
    EXPECT_FALSE(model.Colliding(0));
    EXPECT_TRUE(model.Colliding(2) && model.Colliding(3));
    EXPECT_EQ(model.CollisionLine(), "E 13.0 и E 16.0 мешают друг другу: 45 мм из 60");

    model.ResizeMarker(3, 30);  // 45.2 mm apart, 45 needed: clear
    EXPECT_FALSE(model.Colliding(2));
    EXPECT_EQ(model.CollisionLine(), "");
    model.ResizeMarker(3, 60);
    model.HideSlot(2);
    EXPECT_FALSE(model.SlotMm(2).has_value() || model.Colliding(3));
    EXPECT_EQ(model.CollisionLine(), "");

    model.PlaceExtra(4, 60, 183, 26.5, 182, 26.5, 20, 0, "E 33.0");  // 20 mm off the centre
    EXPECT_TRUE(model.Colliding(0) && model.Colliding(4));
    EXPECT_EQ(model.CollisionLine(), "E 36.0 и E 33.0 мешают друг другу: 20 мм из 60");
}

// The edges name the compass sides of the front view: west on the left for a dish facing south,
// east on the left for one facing north (azimuths on both sides of north), and nothing while the
// central slot has no result.
TEST(LayoutModelTest, SideWordsFollowTheCentralSlot) {
    LayoutModel model;
    model.SetCentralAzimuth(181.935);
    EXPECT_FALSE(model.SideWords().has_value());
    model.PlaceCentral(50, "E 36.0");
    ASSERT_TRUE(model.SideWords().has_value());
    EXPECT_EQ(model.SideWords()->left, "запад");
    EXPECT_EQ(model.SideWords()->right, "восток");
    for (const double northern : {10.0, 350.0, -4.572, 377.776}) {
        model.SetCentralAzimuth(northern);
        EXPECT_EQ(model.SideWords()->left, "восток") << northern;
        EXPECT_EQ(model.SideWords()->right, "запад") << northern;
    }
    model.HideSlot(0);
    EXPECT_FALSE(model.SideWords().has_value());
}

// Shown (1 marker, 2 caption, 4 rotation line, 8 + 16 the crosshair's bars), then the marker box,
// the rotation line's ends, the horizontal bar's left, top and width, the vertical bar's left,
// top and height, the caption's left and top; twips. As many as are expected are compared.
void ExpectGeometry(const SlotDrawing& s, const std::vector<double>& expected) {
    const RectTw &m = s.marker, &x = s.crossX, &y = s.crossY, &c = s.caption;
    const LineTw& l = s.rotationLine;
    const double shown =
        m.visible + 2.0 * c.visible + 4.0 * l.visible + 8.0 * x.visible + 16.0 * y.visible;
    const double actual[] = {shown,    m.leftTw, m.topTw,    m.widthTw, m.heightTw, l.x1Tw,
                             l.y1Tw,   l.x2Tw,   l.y2Tw,     x.leftTw,  x.topTw,    x.widthTw,
                             y.leftTw, y.topTw,  y.heightTw, c.leftTw,  c.topTw};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 0.01) << "value " << i;
    }
}

// Both runs of grid lines start on the centre, so it is counted twice. The bounds are inclusive:
// 50 and 11125 are both reached at 1/16.
TEST(LayoutModelTest, ZoomScaleLabelAndGrid) {
    // Presses ('+' zoom in, '-' zoom out), the label, then the vertical grid lines' count,
    // leftmost and rightmost and the horizontal ones' count, top and bottom.
    const std::tuple<std::string, std::string, std::vector<double>> rows[] = {
        {"", "1x1", {57, 50, 11050, 15, 167.5, 2767.5}},
        {"++++++", "1/32", {2, kCx, kCx, 2, kCy, kCy}},
        {"-----", "1/16", {888, 50, 11125, 217, 155, 2842.5}},
        {"-+", "1/1", {57, 50, 11050, 15, 167.5, 2767.5}},
    };
    for (const auto& [presses, label, grid] : rows) {
        LayoutModel model;
        for (const char press : presses) {
            press == '+' ? model.ZoomIn() : model.ZoomOut();
        }
        model.RedrawLayout();
        EXPECT_EQ(model.ScaleLabel(), label);
        const std::vector<double>& v = model.VerticalGridLeftsTw();
        const std::vector<double>& h = model.HorizontalGridTopsTw();
        EXPECT_EQ(std::vector({double(v.size()), std::ranges::min(v), std::ranges::max(v),
                               double(h.size()), std::ranges::min(h), std::ranges::max(h)}),
                  grid)
            << presses;
    }
}

// Central 180 / 30, diameter 30 mm, offsets 20 mm across and 10 mm up or down, rotation 30 (the
// upper end leans left). Only the marker and the offsets scale: the rotation line (2 x 10 x D)
// and the crosshair (500) do not.
TEST(LayoutModelTest, AnglesPickTheSide) {
    const double rows[][6] = {
        // zoom-ins, azimuth, elevation, marker centre x and y, marker size
        {0, 170, 20, kCx - 200, kCy - 100, 300},  // smaller azimuth left, lower elevation above
        {0, 190, 40, kCx + 200, kCy + 100, 300},
        {0, 180, 30, kCx, kCy, 300},
        {1, 170, 20, kCx - 400, kCy - 200, 600},
    };
    for (const auto& [zoomIns, azimuth, elevation, x, y, size] : rows) {
        SCOPED_TRACE(testing::Message() << azimuth << " " << elevation << " zoomed " << zoomIns);
        LayoutModel model;
        if (zoomIns > 0) {
            model.ZoomIn();
        }
        model.PlaceExtra(5, 30, azimuth, elevation, 180, 30, 20, 10, "x");
        model.PlaceRotation(5, 30, 30);
        ExpectGeometry(model.Slot(5),
                       {31, x - size / 2, y - size / 2, size, size, x - 150, y - 259.808, x + 150,
                        y + 259.808, x - 250, y, 500, x, y - 250, 500, x - 202.5, y - 187.5});
        model.ResizeMarker(5, 15);
        ExpectGeometry(model.Slot(5), {31, x - size / 4, y - size / 4, size / 2, size / 2});
    }
}

}  // namespace
}  // namespace palquin
