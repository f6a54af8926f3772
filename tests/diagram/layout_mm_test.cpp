#include "diagram/layout_mm.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/row_name.h"
#include "diagram/layout_model.h"

namespace palquin {
namespace {

using testing_support::RowName;

struct CollisionRow {
    const char* name;
    PointMm a, b;  // centres; bodies of 50 and 60 mm, so 55 mm are needed
    bool collide;
    const char* text;
};

class MmCollisionTest : public testing::TestWithParam<CollisionRow> {};

TEST_P(MmCollisionTest, CloserThanTheSumOfRadii) {
    const CollisionRow& row = GetParam();
    const std::vector<ConverterMm> converters{{"E 13.0", row.a, 50, 0}, {"E 16.0", row.b, 60, 0}};
    EXPECT_EQ(Collide(converters[0], converters[1]), row.collide);
    EXPECT_EQ(CollisionSummary(converters), row.text);
}

// (33, 44) is exactly 55 mm from the origin; the 0.1 mm closer point lies on the same ray.
INSTANTIATE_TEST_SUITE_P(
    Layout, MmCollisionTest,
    testing::Values(CollisionRow{"ExactlyTouching", {0, 0}, {33, 44}, false, ""},
                    CollisionRow{"TenthCloser",
                                 {0, 0},
                                 {33 * 54.9 / 55, 44 * 54.9 / 55},
                                 true,
                                 "E 13.0 и E 16.0 мешают друг другу: 54.9 мм из 55"},
                    CollisionRow{"HundredthsShown",
                                 {10, 0},
                                 {10, 54.96},
                                 true,
                                 "E 13.0 и E 16.0 мешают друг другу: 54.96 мм из 55"},
                    CollisionRow{"WholeMillimetres",
                                 {-20, -30},
                                 {28, -30},
                                 true,
                                 "E 13.0 и E 16.0 мешают друг другу: 48 мм из 55"},
                    CollisionRow{"Enormous", {0, 0}, {0, 1e300}, false, ""}),
    RowName());

// A pasted diameter of 1e300 still gives a whole line.
TEST(CollisionSummary, HugeBodies) {
    const std::vector<ConverterMm> converters{{"E 36.0", {0, 0}, 1e300, 0},
                                              {"E 13.0", {1, 0}, 1e300, 0}};
    const std::string text = CollisionSummary(converters);
    EXPECT_EQ(text.rfind("E 36.0 и E 13.0 мешают друг другу: 1 мм из 1000", 0), 0u) << text;
    EXPECT_EQ(text.size(), std::string("E 36.0 и E 13.0 мешают друг другу: 1 мм из ").size() + 301);
}

TEST(CollisionSummary, WorstPairFirstAndCount) {
    const std::vector<ConverterMm> converters{{"E 36.0", {0, 0}, 50, 0},
                                              {"E 31.5", {40, 0}, 50, 0},
                                              {"E 39.0", {-30, 0}, 50, 0},
                                              {"E 75.0", {400, 0}, 50, 0}};
    const std::vector<Collision> found = FindCollisions(converters);
    ASSERT_EQ(found.size(), 2u);  // 31.5 and 39.0 are 70 mm apart: clear
    EXPECT_EQ(found[0].first, 0u);
    EXPECT_EQ(found[0].second, 2u);
    EXPECT_EQ(CollisionSummary(converters),
              "E 36.0 и E 39.0 мешают друг другу: 30 мм из 50 (всего пар: 2)");
}

// The diagram draws from the millimetre layout and tracks who collides as slots come and go.
TEST(LayoutModelCollisions, FollowPlacingResizingAndHiding) {
    LayoutModel model;
    ASSERT_TRUE(model.ZoomIn());  // 2: one millimetre is 20 twips
    model.PlaceCentral(60, "E 36.0");
    // 13 E and 16 E beside each other: 16 E lies 45 mm left and 4 mm below 13 E's centre.
    model.PlaceExtra(2, 60, 209, 22.7, 182, 26.5, 272, 38.6, "E 13.0");
    model.PlaceExtra(3, 60, 205, 23.1, 182, 26.5, 227, 34.6, "E 16.0");
    EXPECT_FALSE(model.Colliding(0));
    EXPECT_TRUE(model.Colliding(2));
    EXPECT_TRUE(model.Colliding(3));
    EXPECT_EQ(model.CollisionLine(), "E 13.0 и E 16.0 мешают друг другу: 45 мм из 60");
    EXPECT_NEAR(model.Slot(3).marker.CenterXTw(), LayoutModel::kCenterXTw + 227 * 20, 1e-9);
    EXPECT_NEAR(model.Slot(3).marker.CenterYTw(), LayoutModel::kCenterYTw - 34.6 * 20, 1e-9);
    ASSERT_TRUE(model.SlotMm(3).has_value());
    EXPECT_EQ(model.SlotMm(3)->centre.xMm, 227);

    model.ResizeMarker(3, 30);  // 45.2 mm apart, 45 needed: clear
    EXPECT_FALSE(model.Colliding(2));
    EXPECT_EQ(model.CollisionLine(), "");
    model.ResizeMarker(3, 60);
    model.HideSlot(2);
    EXPECT_FALSE(model.SlotMm(2).has_value());
    EXPECT_FALSE(model.Colliding(3));
    EXPECT_EQ(model.CollisionLine(), "");

    // Against the central converter: 20 mm off with 60 mm bodies.
    model.PlaceExtra(4, 60, 183, 26.5, 182, 26.5, 20, 0, "E 33.0");
    EXPECT_TRUE(model.Colliding(0));
    EXPECT_TRUE(model.Colliding(4));
    EXPECT_EQ(model.CollisionLine(), "E 36.0 и E 33.0 мешают друг другу: 20 мм из 60");
}

}  // namespace
}  // namespace palquin
