#include "print/template_input.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/row_name.h"
#include "diagram/layout_model.h"

namespace palquin {
namespace {

using testing_support::RowName;

constexpr double kMm = 0.001;

TemplateRequest Moscow(std::vector<TemplateConverterRequest> converters) {
    TemplateRequest request;
    request.latitudeDeg = 55.75;
    request.longitudeDeg = 37.6;
    request.focalMm = 600;
    request.converters = std::move(converters);
    return request;
}

// A site in Moscow and satellites checked by hand: 13 E lies 272.823 mm right of 36 E and
// 38.621 mm above it, turned by 15.8 degrees; 75 E lies left and above; 140 E is below the horizon.
TEST(BuildTemplateInput, PlacesExtraConvertersAsTheDiagramDoes) {
    std::string error;
    std::vector<std::string> warnings;
    const std::optional<TemplateInput> input = BuildTemplateInput(
        Moscow({{"E 36.0", 50}, {"E 13.0", 60}, {"E 75.0", 40}, {"E 140.0", 40}}), &error,
        &warnings);
    ASSERT_TRUE(input) << error;
    ASSERT_EQ(input->converters.size(), 4u);
    EXPECT_EQ(input->converters[0].centre.xMm + input->converters[0].centre.yMm, 0);
    EXPECT_NEAR(input->converters[1].centre.xMm, 272.823, kMm);
    EXPECT_NEAR(input->converters[1].centre.yMm, -38.621, kMm);
    EXPECT_NEAR(input->converters[1].rotationDeg, 15.825, kMm);
    EXPECT_EQ(input->converters[1].diameterMm, 60);
    EXPECT_NEAR(input->converters[2].centre.xMm, -422.058, kMm);  // east: smaller azimuth, left
    EXPECT_EQ(input->converters[3].positionText, "E 140.0");
    EXPECT_EQ(input->siteText, "55.75 N 37.6 E");
    EXPECT_TRUE(input->eastOnRight);
    EXPECT_EQ(warnings, std::vector<std::string>{"Спутник E 140.0 не виден"});
}

// The window's template: the same millimetres the diagram was placed from.
TEST(TemplateFromLayout, TakesThePlacedSlotsInOrder) {
    LayoutModel layout;
    EXPECT_FALSE(TemplateFromLayout(layout, "55.75 N 37.6 E", 600, 181.9));
    layout.PlaceCentral(50, "E 36.0");
    layout.PlaceExtra(5, 40, 170, 30, 181.9, 26.5, 120, 35, "E 45.0");
    layout.PlaceRotation(5, 40, -7.5);
    layout.PlaceExtra(2, 60, 209, 22.7, 181.9, 26.5, 272.8, 38.6, "E 13.0");
    layout.HideSlot(2);
    const std::optional<TemplateInput> input =
        TemplateFromLayout(layout, "55.75 N 37.6 E", 600, 181.9, "07.12.2026");
    ASSERT_TRUE(input);
    ASSERT_EQ(input->converters.size(), 2u);
    EXPECT_EQ(input->converters[1].positionText, "E 45.0");
    EXPECT_EQ(input->converters[1].centre.xMm, -120);
    EXPECT_EQ(input->converters[1].centre.yMm, 35);
    EXPECT_EQ(input->converters[1].rotationDeg, -7.5);
    EXPECT_TRUE(input->eastOnRight);
    EXPECT_FALSE(EastOnRight(10));  // a dish aimed north from a southern site
}

struct RefusalRow {
    const char* name;
    TemplateRequest request;
    const char* error;
};

class RefusalTest : public testing::TestWithParam<RefusalRow> {};

TEST_P(RefusalTest, SaysWhy) {
    std::string error;
    EXPECT_FALSE(BuildTemplateInput(GetParam().request, &error));
    EXPECT_EQ(error, GetParam().error);
}

TemplateRequest WithFocal(double focalMm) {
    TemplateRequest request = Moscow({{"E 36.0", 50}});
    request.focalMm = focalMm;
    return request;
}

TemplateRequest OnTheEquator() {
    TemplateRequest request = Moscow({{"E 36.0", 50}, {"E 13.0", 50}});
    request.latitudeDeg = 0;  // the azimuth divides by zero there
    return request;
}

INSTANTIATE_TEST_SUITE_P(
    Template, RefusalTest,
    testing::Values(
        RefusalRow{"NoConverter", Moscow({}), "Не задан центральный конвертер"},
        RefusalRow{"ZeroFocal", WithFocal(0), "Фокусное расстояние должно быть больше 0 мм"},
        RefusalRow{"EquatorSite", OnTheEquator(), "Невозможно рассчитать конвертер E 36.0"},
        RefusalRow{"UnreadablePosition", Moscow({{"E 36.0", 50}, {"36E", 50}}),
                   "Неверная позиция спутника: 36E"},
        RefusalRow{"NegativeDiameter", Moscow({{"E 36.0", -5}}),
                   "Невозможно рассчитать конвертер E 36.0"}),
    RowName());

struct TileRow {
    const char* name;
    BoxMm content;
    int columns, rows;
    double originXMm, originYMm;
};

class TileTest : public testing::TestWithParam<TileRow> {};

TEST_P(TileTest, CentresTheBlockOfPagesOnTheDrawing) {
    const TileRow& row = GetParam();
    const std::optional<TilePlan> plan = PlanTiles(row.content, 190, 250);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->columns, row.columns);
    EXPECT_EQ(plan->rows, row.rows);
    EXPECT_DOUBLE_EQ(plan->originMm.xMm, row.originXMm);
    EXPECT_DOUBLE_EQ(plan->originMm.yMm, row.originYMm);
    EXPECT_DOUBLE_EQ(plan->TileOriginMm(row.rows - 1, row.columns - 1).xMm,
                     row.originXMm + (row.columns - 1) * 190.0);
}

// A drawing exactly as wide as the frame still fits one page.
INSTANTIATE_TEST_SUITE_P(Template, TileTest,
                         testing::Values(TileRow{"Fits", {-30, -40, 70, 40}, 1, 1, -75, -125},
                                         TileRow{"ExactWidth", {-95, -10, 95, 10}, 1, 1, -95, -125},
                                         TileRow{
                                             "Plus400", {-430, -430, 430, 430}, 5, 4, -475, -500}),
                         RowName());

// Centred, four rows of 250 mm would cut through the central converter at 0; the block moves up
// by half its 140 mm of spare room, which keeps both 0 and 100 at least 70 mm from an edge.
TEST(PlanTiles, KeepsConverterCentresOffPageEdges) {
    const std::optional<TilePlan> plan =
        PlanTiles({-430, -430, 430, 430}, 190, 250, {{0, 0}, {-400, 0}, {400, 0}, {0, 100}});
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->rows, 4);
    EXPECT_DOUBLE_EQ(plan->originMm.xMm, -475);  // already clear: the edges are at +-95, +-285
    EXPECT_DOUBLE_EQ(plan->originMm.yMm, -570);  // edges at -320, -70, 180
}

TEST(PlanTiles, RefusesWhatCannotBePrinted) {
    EXPECT_FALSE(PlanTiles({-1e6, -10, 1e6, 10}, 190, 250));  // thousands of pages
    EXPECT_FALSE(PlanTiles({0, 0, 10, 10}, 0, 250));
    EXPECT_FALSE(PlanTiles({0, 0, std::nan(""), 10}, 190, 250));
}

TEST(ContentBox, CoversBodiesCrossesLinesAndTexts) {
    const BoxMm box = ContentBoxMm({{"E 36.0", {0, 0}, 50, 0}, {"E 13.0", {300, -40}, 60, 90}});
    constexpr double kEps = 1e-9;
    EXPECT_NEAR(box.leftMm, -30 - kContentMarginMm, kEps);   // the cross: 25 + 5
    EXPECT_NEAR(box.rightMm, 360 + kContentMarginMm, kEps);  // the line, turned flat: 60
    EXPECT_NEAR(box.topMm, -75 - kContentMarginMm, kEps);    // the cross: 30 + 5
    EXPECT_NEAR(box.bottomMm, 50 + kContentMarginMm, kEps);  // the upright line: 50
}

}  // namespace
}  // namespace palquin
