// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/template_input.h"

#include <gtest/gtest.h>

#include <cmath>

#include "diagram/layout_model.h"

namespace palquin {
namespace {

TemplateRequest Moscow(std::vector<TemplateConverterRequest> converters) {
    TemplateRequest request;
    request.latitudeDeg = 55.75;
    request.longitudeDeg = 37.6;
    request.converters = std::move(converters);
    return request;
}

// A site in Moscow and satellites checked by hand: 13 E lies 272.823 mm right of 36 E and
// 38.621 mm above it, turned by 15.8 degrees; 75 E lies left and above; 140 E is below the horizon.
TEST(BuildTemplateInput, PlacesExtraConvertersAsTheDiagramOrTheDishDoes) {
    std::string error;
    std::vector<std::string> warnings;
    const std::optional<TemplateInput> input = BuildTemplateInput(
        Moscow({{"E 36.0", 50}, {"E 13.0", 60}, {"E 75.0", 40}, {"E 140.0", 40}}), &error,
        &warnings);
    ASSERT_TRUE(input) << error;
    ASSERT_EQ(input->converters.size(), 4u);
    EXPECT_NEAR(input->converters[1].centre.xMm, 272.823, 0.001);
    EXPECT_NEAR(input->converters[1].centre.yMm, -38.621, 0.001);
    EXPECT_NEAR(input->converters[1].rotationDeg, 15.825, 0.001);
    EXPECT_NEAR(input->converters[2].centre.xMm, -422.058, 0.001);  // east: smaller azimuth, left
    EXPECT_EQ(input->siteText, "55.75 N 37.6 E");
    EXPECT_TRUE(input->eastOnRight);  // the dish faces south
    EXPECT_EQ(warnings, std::vector<std::string>{"Спутник E 140.0 не виден"});
    EXPECT_EQ(input->pageWarning, "Ниже горизонта, не принять: E 140.0");
    // With the whole set below the horizon the page says the template is of no use here.
    const std::optional<TemplateInput> hidden =
        BuildTemplateInput(Moscow({{"E 140.0", 40}, {"E 150.0", 40}}), &error);
    ASSERT_TRUE(hidden) << error;
    EXPECT_EQ(hidden->pageWarning, "Все спутники ниже горизонта: с этого места их не принять");
    EXPECT_EQ(BuildTemplateInput(Moscow({{"E 36.0", 50}}), &error)->pageWarning, "");

    // With a dish the extra converters go where the dish focuses them (13 E: 269 mm right, 14 mm
    // up on an 80 cm offset dish at 600 mm), and an unreliable one is named among the warnings.
    TemplateRequest request = Moscow({{"E 36.0", 50}, {"E 13.0", 50}});
    request.dish = DishGeometry{DishType::Offset, 600.0, 800.0, 24.0};
    warnings.clear();
    const std::optional<TemplateInput> dish = BuildTemplateInput(request, &error, &warnings);
    ASSERT_TRUE(dish) << error;
    EXPECT_NEAR(dish->converters[1].centre.xMm, 268.7, 0.5);
    EXPECT_NEAR(dish->converters[1].centre.yMm, -12.5, 0.5);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].starts_with("E 13.0: потери")) << warnings[0];
}

// The window's template: the same millimetres the diagram was placed from, hidden slots left out.

TEST(TemplateFromLayout, TakesThePlacedSlotsInOrder) {
    LayoutModel layout;
    layout.PlaceCentral(50, "E 36.0");
    layout.PlaceExtra(9, 40, 170, 30, 181.9, 26.5, 120, 35, "E 45.0");
    layout.PlaceRotation(9, 40, -7.5);
    layout.PlaceExtra(2, 60, 209, 22.7, 181.9, 26.5, 272.8, 38.6, "E 13.0");
    layout.HideSlot(2);
    const std::optional<TemplateInput> input =
        TemplateFromLayout(layout, "55.75 N 37.6 E", 600, 181.9);
    ASSERT_TRUE(input);
    ASSERT_EQ(input->converters.size(), 2u);
    EXPECT_EQ(input->converters[1].positionText, "E 45.0");
    EXPECT_EQ(input->converters[1].centre.xMm, -120);
    EXPECT_EQ(input->converters[1].centre.yMm, 35);
    EXPECT_EQ(input->converters[1].rotationDeg, -7.5);
    EXPECT_TRUE(input->eastOnRight);
    // A dish aimed north from a southern site.
    EXPECT_FALSE(TemplateFromLayout(layout, "33.9 S 151.2 E", 600, 10)->eastOnRight);
}

TEST(BuildTemplateInput, RefusesWithAReason) {
    const struct {
        std::vector<TemplateConverterRequest> converters;
        double focalMm;
        const char* error;
    } rows[] = {
        {{}, 600, "Не задан центральный конвертер"},
        {{{"E 36.0", 50}}, 0, "Фокусное расстояние должно быть больше 0 мм"},
        {{{"E 36.0", 50}, {"36E", 50}}, 600, "Неверная позиция спутника: 36E"},
        {{{"E 36.0", -5}}, 600, "Невозможно рассчитать конвертер E 36.0"},
    };
    for (const auto& row : rows) {
        TemplateRequest request = Moscow(row.converters);
        request.focalMm = row.focalMm;
        std::string error;
        EXPECT_FALSE(BuildTemplateInput(request, &error)) << row.error;
        EXPECT_EQ(error, row.error);
    }
}

TEST(PlanTiles, CentresTheBlockOfPagesOnTheDrawing) {
    const struct {
        BoxMm content;
        std::vector<PointMm> centres;
        int columns, rows;
        double originXMm, originYMm;
    } rows[] = {
        {{-30, -40, 70, 40}, {}, 1, 1, -75, -125},
        {{-95, -10, 95, 10}, {}, 1, 1, -95, -125},  // exactly as wide as the frame
        {{-430, -430, 430, 430}, {}, 5, 4, -475, -500},
        // Centred, four rows of 250 mm would cut through the converter at 0; the block moves up
        // by half its 140 mm of spare room, keeping 0 and 100 at least 70 mm from an edge, while
        // the columns' edges at +-95, +-285 are clear already.
        {{-430, -430, 430, 430}, {{0, 0}, {-400, 0}, {400, 0}, {0, 100}}, 5, 4, -475, -570},
    };
    for (const auto& row : rows) {
        const std::optional<TilePlan> plan = PlanTiles(row.content, 190, 250, row.centres);
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->columns, row.columns);
        EXPECT_EQ(plan->rows, row.rows);
        EXPECT_DOUBLE_EQ(plan->originMm.xMm, row.originXMm);
        EXPECT_DOUBLE_EQ(plan->originMm.yMm, row.originYMm);
        EXPECT_DOUBLE_EQ(plan->TileOriginMm(row.rows - 1, row.columns - 1).xMm,
                         row.originXMm + (row.columns - 1) * 190.0);
    }
    EXPECT_FALSE(PlanTiles({-1e6, -10, 1e6, 10}, 190, 250));  // thousands of pages
    EXPECT_FALSE(PlanTiles({0, 0, 10, 10}, 0, 250));
    EXPECT_FALSE(PlanTiles({0, 0, std::nan(""), 10}, 190, 250));
}

// The frame of an A4 page with 10 mm margins, less the header, the footer and the frame line.
constexpr double kA4FrameWidthMm = 189.5;
constexpr double kA4FrameHeightMm = 246.0;

// Two pages side by side meet at one edge. Centred on the drawing it would run through a
// converter's centre, where the user drills or aligns; the pair of pages moves within its spare
// room until the edge is as far from every centre as it can get, and no further than that room.
TEST(PlanTiles, TwoPagesMeetAwayFromConverterCentres) {
    const struct {
        const char* name;
        BoxMm content;
        std::vector<PointMm> centres;
        double clearanceMm;  // the distance of the join from the nearest centre, at least
    } rows[] = {
        // 237.5 mm, 1.25 frames: two pages, not one with the edges cut off; 70.75 mm of room
        // either way, all of it used.
        {"centre under the centred join", {-118.75, -50, 118.75, 50}, {{0, 0}}, 70.75},
        {"centres either side of the join", {-118.75, -50, 118.75, 50}, {{-20, 0}, {30, 0}}, 50.75},
        // Best half way between: 62.5 mm, within one step of the search.
        {"join between two centres", {-40, -40, 160, 40}, {{0, 0}, {125, 0}}, 62.0},
        // Already clear: the pages stay centred.
        {"centres far from the join", {-118.75, -50, 118.75, 50}, {{-90, 0}, {90, 0}}, 90},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<TilePlan> plan =
            PlanTiles(row.content, kA4FrameWidthMm, kA4FrameHeightMm, row.centres);
        ASSERT_TRUE(plan);
        ASSERT_EQ(plan->columns * plan->rows, 2);
        const double joinMm = plan->TileOriginMm(0, 1).xMm;
        double clearance = HUGE_VAL;
        for (const PointMm& centre : row.centres) {
            clearance = std::min(clearance, std::abs(centre.xMm - joinMm));
        }
        EXPECT_GE(clearance, row.clearanceMm - 1e-9) << "join at " << joinMm;
        EXPECT_LE(plan->originMm.xMm, row.content.leftMm);
        EXPECT_GE(plan->originMm.xMm + 2 * kA4FrameWidthMm, row.content.rightMm);
    }
}

TEST(ContentBox, CoversBodiesCrossesLinesAndTexts) {
    const BoxMm box = ContentBoxMm({{"E 36.0", {0, 0}, 50, 0}, {"E 13.0", {300, -40}, 60, 90}});
    EXPECT_NEAR(box.leftMm, -30 - kContentMarginMm, 1e-9);   // the cross: 25 + 5
    EXPECT_NEAR(box.rightMm, 360 + kContentMarginMm, 1e-9);  // the line, turned flat: 60
    EXPECT_NEAR(box.topMm, -75 - kContentMarginMm, 1e-9);    // the cross: 30 + 5
    EXPECT_NEAR(box.bottomMm, 50 + kContentMarginMm, 1e-9);  // the upright line: 50
}

}  // namespace
}  // namespace palquin
