#include "calc/converter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/pointing.h"
#include "common/row_name.h"

namespace palquin {
namespace {

using testing_support::RowName;

constexpr double kShownTolerance = 0.0005;  // the figures are given to three decimals
const Site kMoscow{55.75, "N", 37.6, "E"};

struct SlotRow {
    const char* name;
    Site site;
    const char* positionText;
    const char* sameAs;  // the same orbital position written in the other letter, or nullptr
    double rotationDeg;
    double horizontalMm, verticalMm;  // from a central converter on "E 36.0", F = 600
};

class ConverterTest : public testing::TestWithParam<SlotRow> {};

TEST_P(ConverterTest, RotationAndOffsetsInBothWritings) {
    const SlotRow& c = GetParam();
    const Pointing central = ComputePointing(c.site, "E 36.0").value();
    for (const char* text : {c.positionText, c.sameAs ? c.sameAs : c.positionText}) {
        const Pointing slot = ComputePointing(c.site, text).value();
        const double rotationDeg = ComputeRotation(slot.coordinates).value();
        EXPECT_NEAR(rotationDeg, c.rotationDeg, kShownTolerance) << text;
        EXPECT_EQ(std::signbit(rotationDeg), std::signbit(c.rotationDeg)) << text << ": -0?";
        const auto offsets = ComputeOffsets(600.0, slot.azimuthDeg, slot.elevationDeg,
                                            central.azimuthDeg, central.elevationDeg);
        EXPECT_NEAR(offsets.value().horizontalMm, c.horizontalMm, kShownTolerance) << text;
        EXPECT_NEAR(offsets.value().verticalMm, c.verticalMm, kShownTolerance) << text;
    }
}

// Mixed letters work on mirrored angles; the rotation's sign is turned back so that both
// writings give one figure. Rows past East75 come from the formulas, computed apart from this
// code; on the site's meridian the slot sits higher than the central converter.
const SlotRow kSlots[] = {
    {"Central", kMoscow, "E 36.0", nullptr, 1.089, 0.0, 0.0},
    {"East13", kMoscow, "E 13.0", nullptr, 15.825, 272.823, 38.621},
    {"West5", kMoscow, "W 5.0", "E 355.0", 24.743, 432.417, 107.617},
    {"East75", kMoscow, "E 75.0", nullptr, -22.467, 422.058, 85.060},
    {"OnTheMeridian", kMoscow, "E 37.6", nullptr, 0.0, 20.264, 0.171},
    {"NorthWestSite", {40, "N", 74, "W"}, "E 5.0", "W 355.0", -49.476, 208.061, 233.362},
    {"SouthEastSite", {26, "S", 28, "E"}, "W 15.0", "E 345.0", -54.429, 595.000, 248.209},
    {"SouthWestSite", {34.6, "S", 58.4, "W"}, "E 30.0", "W 330.0", 55.390, 35.694, 50.349},
};

INSTANTIATE_TEST_SUITE_P(Slots, ConverterTest, testing::ValuesIn(kSlots), RowName());

TEST(ConverterFailureTest, NoResultWithoutFiniteValuesOrANonZeroTangent) {
    EXPECT_FALSE(ComputeRotation({.latitudeAngleRad = 0.0, .siteAngleRad = 0.5}));
    EXPECT_FALSE(ComputeRotation({.latitudeAngleRad = 1.0, .satelliteAngleRad = HUGE_VAL}));
    EXPECT_FALSE(ComputeOffsets(600.0, 208.981, 22.773, 181.935, -HUGE_VAL));
    // Not a failure: a focal length that reads as 0 puts every converter on the central one.
    EXPECT_EQ(ComputeOffsets(0.0, 208.981, 22.773, 181.935, 26.463).value().horizontalMm, 0.0);
}

}  // namespace
}  // namespace palquin
