#include "calc/converter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "calc/pointing.h"

namespace palquin {
namespace {

constexpr double kShownTolerance = 0.0005;  // worked figures have three decimals
// Two writings of one orbital position take different roads through 360 - x.
constexpr double kSameValueTolerance = 1e-9;

const Site kMoscow{55.75, "N", 37.6, "E"};
constexpr double kFocalMm = 600.0;

Pointing PointAt(const Site& site, const char* positionText) {
    const auto pointing = ComputePointing(site, positionText);
    EXPECT_TRUE(pointing.has_value()) << positionText;
    return pointing.value_or(Pointing{});
}

struct SlotCase {
    const char* name;
    const char* positionText;
    double horizontalMm;
    double verticalMm;
    double rotationDeg;
};

// Failure messages name the row instead of dumping its bytes.
void PrintTo(const SlotCase& row, std::ostream* out) {
    *out << row.name;
}

class ConverterTest : public testing::TestWithParam<SlotCase> {};

// Central converter on 36;0;E, site 55.75 N 37.6 E, focal length 600 mm.
TEST_P(ConverterTest, MatchesTheWorkedFigures) {
    const SlotCase& c = GetParam();
    const Pointing central = PointAt(kMoscow, "E 36.0");
    const Pointing slot = PointAt(kMoscow, c.positionText);

    const auto offsets = ComputeOffsets(kFocalMm, slot.azimuthDeg, slot.elevationDeg,
                                        central.azimuthDeg, central.elevationDeg);
    ASSERT_TRUE(offsets.has_value()) << c.positionText;
    EXPECT_NEAR(offsets->horizontalMm, c.horizontalMm, kShownTolerance) << c.positionText;
    EXPECT_NEAR(offsets->verticalMm, c.verticalMm, kShownTolerance) << c.positionText;

    const auto rotation = ComputeRotation(slot.coordinates);
    ASSERT_TRUE(rotation.has_value()) << c.positionText;
    EXPECT_NEAR(*rotation, c.rotationDeg, kShownTolerance) << c.positionText;
}

const SlotCase kSlots[] = {
    {"Central", "E 36.0", 0.0, 0.0, 1.089},
    {"East13", "E 13.0", 272.823, 38.621, 15.825},
    // Turned back from the mirrored angles: the same figure as for "E 355.0".
    {"West5", "W 5.0", 432.417, 107.617, 24.743},
    {"East75", "E 75.0", 422.058, 85.060, -22.467},
};

INSTANTIATE_TEST_SUITE_P(Slots, ConverterTest, testing::ValuesIn(kSlots),
                         [](const testing::TestParamInfo<SlotCase>& row) {
                             return std::string(row.param.name);
                         });

struct TwoWritingsCase {
    const char* name;
    Site site;
    const char* mixed;  // satellite letter differs from the site's
    const char* same;   // the same orbital position in the site's letter
};

// Failure messages name the row instead of dumping its bytes.
void PrintTo(const TwoWritingsCase& row, std::ostream* out) {
    *out << row.name;
}

class TwoWritingsTest : public testing::TestWithParam<TwoWritingsCase> {};

TEST_P(TwoWritingsTest, GiveTheSameFigures) {
    const TwoWritingsCase& c = GetParam();
    const Pointing mixed = PointAt(c.site, c.mixed);
    const Pointing same = PointAt(c.site, c.same);
    EXPECT_NEAR(mixed.azimuthDeg, same.azimuthDeg, kSameValueTolerance) << c.mixed;
    EXPECT_NEAR(mixed.elevationDeg, same.elevationDeg, kSameValueTolerance) << c.mixed;
    const auto mixedRotation = ComputeRotation(mixed.coordinates);
    const auto sameRotation = ComputeRotation(same.coordinates);
    ASSERT_TRUE(mixedRotation && sameRotation) << c.mixed;
    EXPECT_NE(*sameRotation, 0.0) << "a row on the meridian proves nothing";
    EXPECT_NEAR(*mixedRotation, *sameRotation, kSameValueTolerance) << c.mixed << " vs " << c.same;
}

const TwoWritingsCase kWritings[] = {
    {"NorthEastSite", {50, "N", 10, "E"}, "W 5.0", "E 355.0"},
    {"NorthWestSite", {40, "N", 74, "W"}, "E 5.0", "W 355.0"},
    {"SouthEastSite", {26, "S", 28, "E"}, "W 15.0", "E 345.0"},
    {"SouthWestSite", {34.6, "S", 58.4, "W"}, "E 30.0", "W 330.0"},
};

INSTANTIATE_TEST_SUITE_P(Sites, TwoWritingsTest, testing::ValuesIn(kWritings),
                         [](const testing::TestParamInfo<TwoWritingsCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(RotationTest, WestFiveFromFiftyNorthIsPositive) {
    for (const char* text : {"W 5.0", "E 355.0"}) {
        const auto rotation = ComputeRotation(PointAt(Site{50, "N", 10, "E"}, text).coordinates);
        ASSERT_TRUE(rotation.has_value()) << text;
        EXPECT_NEAR(*rotation, 12.253, kShownTolerance) << text;
    }
}

TEST(RotationTest, SatelliteOnTheMeridianIsZeroNotMinusZero) {
    for (const char* ns : {"N", "S"}) {
        const auto rotation = ComputeRotation(PointAt(Site{26, ns, 28, "E"}, "E 28.0").coordinates);
        ASSERT_TRUE(rotation.has_value()) << ns;
        EXPECT_EQ(*rotation, 0.0) << ns;
        EXPECT_FALSE(std::signbit(*rotation)) << ns;
    }
}

TEST(RotationTest, FailsWithoutAFiniteNonZeroTangent) {
    WorkingCoordinates equator;
    equator.latitudeAngleRad = 0.0;
    equator.siteAngleRad = 0.5;
    EXPECT_FALSE(ComputeRotation(equator).has_value());

    WorkingCoordinates infinite = equator;
    infinite.latitudeAngleRad = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(ComputeRotation(infinite).has_value());

    WorkingCoordinates badLongitude = equator;
    badLongitude.latitudeAngleRad = 1.0;
    badLongitude.satelliteAngleRad = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(ComputeRotation(badLongitude).has_value());
}

TEST(OffsetsTest, SameDirectionGivesExactlyZero) {
    const Pointing central = PointAt(kMoscow, "E 36.0");
    const auto offsets = ComputeOffsets(kFocalMm, central.azimuthDeg, central.elevationDeg,
                                        central.azimuthDeg, central.elevationDeg);
    ASSERT_TRUE(offsets.has_value());
    EXPECT_EQ(offsets->horizontalMm, 0.0);
    EXPECT_EQ(offsets->verticalMm, 0.0);
}

TEST(OffsetsTest, DoNotDependOnTheSideOfTheCentre) {
    const auto east = ComputeOffsets(kFocalMm, 170.0, 20.0, 180.0, 30.0);
    const auto west = ComputeOffsets(kFocalMm, 190.0, 40.0, 180.0, 30.0);
    ASSERT_TRUE(east && west);
    EXPECT_EQ(east->horizontalMm, west->horizontalMm);
    EXPECT_EQ(east->verticalMm, west->verticalMm);
    EXPECT_GT(east->horizontalMm, 0.0);
}

TEST(OffsetsTest, FocalLengthZeroGivesZero) {
    const auto offsets = ComputeOffsets(0.0, 208.981, 22.773, 181.935, 26.463);
    ASSERT_TRUE(offsets.has_value());
    EXPECT_EQ(offsets->horizontalMm, 0.0);
    EXPECT_EQ(offsets->verticalMm, 0.0);
}

TEST(OffsetsTest, NonFiniteInputGivesNoResult) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(ComputeOffsets(kInf, 208.981, 22.773, 181.935, 26.463).has_value());
    EXPECT_FALSE(ComputeOffsets(kFocalMm, kInf, 22.773, 181.935, 26.463).has_value());
    EXPECT_FALSE(ComputeOffsets(kFocalMm, 208.981, 22.773, 181.935, -kInf).has_value());
}

}  // namespace
}  // namespace palquin
