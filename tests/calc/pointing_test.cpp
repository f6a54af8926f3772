#include "calc/pointing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace palquin {
namespace {

// The worked figures are given to three decimals.
constexpr double kShownTolerance = 0.0005;
constexpr double kUnchecked = std::numeric_limits<double>::quiet_NaN();

struct PointingCase {
    const char* name;
    double latitudeDeg;
    const char* ns;
    double longitudeDeg;
    const char* ew;
    const char* positionText;
    double azimuthDeg;
    double elevationDeg;  // kUnchecked where no figure is known
    bool visible;
};

// Failure messages name the row instead of dumping its bytes.
void PrintTo(const PointingCase& row, std::ostream* out) {
    *out << row.name;
}

std::string Describe(const PointingCase& c) {
    return std::to_string(c.latitudeDeg) + " " + c.ns + ", " + std::to_string(c.longitudeDeg) +
           " " + c.ew + ", \"" + c.positionText + "\"";
}

class PointingTest : public testing::TestWithParam<PointingCase> {};

TEST_P(PointingTest, MatchesTheWorkedFigures) {
    const PointingCase& c = GetParam();
    const auto pointing =
        ComputePointing(Site{c.latitudeDeg, c.ns, c.longitudeDeg, c.ew}, c.positionText);
    ASSERT_TRUE(pointing.has_value()) << Describe(c);
    EXPECT_NEAR(pointing->azimuthDeg, c.azimuthDeg, kShownTolerance) << Describe(c);
    if (!std::isnan(c.elevationDeg)) {
        EXPECT_NEAR(pointing->elevationDeg, c.elevationDeg, kShownTolerance) << Describe(c);
        EXPECT_EQ(pointing->visible, c.visible) << Describe(c);
    }
}

const PointingCase kWorked[] = {
    {"Central36E", 55.75, "N", 37.6, "E", "E 36.0", 181.935, 26.463, true},
    {"East13", 55.75, "N", 37.6, "E", "E 13.0", 208.981, 22.773, true},
    {"WestSatelliteEastSite", 55.75, "N", 37.6, "E", "W 5.0", 228.047, 16.131, true},
    {"BelowHorizon", 55.75, "N", 37.6, "E", "E 140.0", 259.700, -15.318, false},
    {"BothWest", 40, "N", 74, "W", "W 101.0", 218.403, 36.026, true},
    {"SouthEast", 26, "S", 28, "E", "E 20.0", 342.224, 58.331, true},
    {"SouthAbove360", 26, "S", 28, "E", "E 36.0", 377.776, kUnchecked, true},
    {"SouthWestBelowZero", 34.6, "S", 58.4, "W", "W 61.0", -4.572, 49.709, true},
    {"WrittenWest", 50, "N", 10, "E", "W 5.0", 199.279, 30.937, true},
    {"WrittenEast", 50, "N", 10, "E", "E 355.0", 199.279, 30.937, true},
    // A letter other than a capital E or W applies no rule: the satellite counts as on the
    // site's meridian.
    {"LowerCaseNorth", 55.75, "N", 37.6, "E", "e 13.0", 180.0, 26.480, true},
    {"LowerCaseSouth", 26, "S", 28, "E", "e 13.0", 180.0, kUnchecked, true},
    {"LowerCaseSiteLetter", 55.75, "N", 37.6, "e", "E 13.0", 180.0, 26.480, true},
    // Anything but "N" is a southern site.
    {"LowerCaseNorthIsSouth", 26, "n", 28, "E", "E 20.0", 342.224, 58.331, true},
};

INSTANTIATE_TEST_SUITE_P(Sites, PointingTest, testing::ValuesIn(kWorked),
                         [](const testing::TestParamInfo<PointingCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(PointingTest, NoRuleGivesExactlySouth) {
    for (const char* ns : {"N", "S"}) {
        const auto pointing = ComputePointing(Site{55.75, ns, 37.6, "E"}, "e 13.0");
        ASSERT_TRUE(pointing.has_value()) << ns;
        EXPECT_EQ(pointing->azimuthDeg, 180.0) << ns;
        EXPECT_EQ(pointing->coordinates.azimuthSign, 0) << ns;
        EXPECT_EQ(pointing->coordinates.azimuthOffsetDeg, 0) << ns;
    }
}

TEST(PointingTest, PositionsWithoutNumberReadAsZero) {
    // The position is read from the third character on: "E" and "E " have none, "E x.0" has no
    // number there.
    const auto reference = ComputePointing(Site{55.75, "N", 37.6, "E"}, "E 0");
    ASSERT_TRUE(reference.has_value());
    for (const char* text : {"E", "E ", "E x.0", "E 0.0"}) {
        const auto pointing = ComputePointing(Site{55.75, "N", 37.6, "E"}, text);
        ASSERT_TRUE(pointing.has_value()) << '"' << text << '"';
        EXPECT_EQ(pointing->azimuthDeg, reference->azimuthDeg) << '"' << text << '"';
    }
    EXPECT_TRUE(ComputePointing(Site{55.75, "N", 37.6, "E"}, "").has_value());
}

TEST(PointingTest, LatitudeZeroSouthComputes) {
    const auto pointing = ComputePointing(Site{0, "S", 37.6, "E"}, "E 13.0");
    ASSERT_TRUE(pointing.has_value());
    EXPECT_TRUE(std::isfinite(pointing->azimuthDeg));
    EXPECT_TRUE(std::isfinite(pointing->elevationDeg));
}

struct FailureCase {
    const char* name;
    Site site;
    const char* positionText;
};

// Failure messages name the row instead of dumping its bytes.
void PrintTo(const FailureCase& row, std::ostream* out) {
    *out << row.name;
}

class PointingFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(PointingFailureTest, GivesNoResult) {
    const FailureCase& c = GetParam();
    EXPECT_FALSE(ComputePointing(c.site, c.positionText).has_value())
        << c.site.latitudeDeg << " " << c.site.ns << ", " << c.site.longitudeDeg << " " << c.site.ew
        << ", \"" << c.positionText << "\"";
}

constexpr double kInf = std::numeric_limits<double>::infinity();

const FailureCase kFailures[] = {
    {"LatitudeZeroNorth", {0, "N", 37.6, "E"}, "E 13.0"},
    {"LatitudeZeroNorthNoRule", {0, "N", 37.6, "E"}, "e 13.0"},
    // cos(180 deg) is -1 and the satellite sits on the site's meridian: the root is 0.
    {"RootZero", {180, "N", 37.6, "E"}, "E 37.6"},
    {"LatitudeInfinite", {kInf, "N", 37.6, "E"}, "E 13.0"},
    {"LatitudeInfiniteSouth", {-kInf, "S", 37.6, "E"}, "E 13.0"},
    {"LatitudeNotANumber", {std::nan(""), "N", 37.6, "E"}, "E 13.0"},
    {"LongitudeInfinite", {55.75, "N", kInf, "E"}, "E 13.0"},
    {"LongitudeInfiniteWest", {55.75, "N", kInf, "W"}, "W 13.0"},
    {"PositionInfinite", {55.75, "N", 37.6, "E"}, "E 1e400"},
};

INSTANTIATE_TEST_SUITE_P(Inputs, PointingFailureTest, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
}  // namespace palquin
