#include "calc/pointing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/row_name.h"

namespace palquin {
namespace {

using testing_support::RowName;

constexpr double kShownTolerance = 0.0005;  // the figures are given to three decimals
const Site kMoscow{55.75, "N", 37.6, "E"};
const Site kSouth{26, "S", 28, "E"};

struct PointingRow {
    const char* name;
    Site site;
    const char* positionText;
    double azimuthDeg;  // NAN: the inputs give no result
    double elevationDeg;
};

class PointingTest : public testing::TestWithParam<PointingRow> {};

TEST_P(PointingTest, AzimuthElevationAndVisibility) {
    const PointingRow& c = GetParam();
    const auto pointing = ComputePointing(c.site, c.positionText);
    ASSERT_EQ(pointing.has_value(), !std::isnan(c.azimuthDeg));
    if (pointing) {
        EXPECT_NEAR(pointing->azimuthDeg, c.azimuthDeg, kShownTolerance);
        EXPECT_NEAR(pointing->elevationDeg, c.elevationDeg, kShownTolerance);
        EXPECT_EQ(pointing->visible, c.elevationDeg > 0.0);
    }
}

// The Moscow rows were checked by hand; the others come from the formulas, computed apart from
// this code.
const PointingRow kRows[] = {
    {"Central36E", kMoscow, "E 36.0", 181.935, 26.463},
    {"East13", kMoscow, "E 13.0", 208.981, 22.773},
    {"WestSatelliteEastSite", kMoscow, "W 5.0", 228.047, 16.131},
    {"BelowHorizon", kMoscow, "E 140.0", 259.700, -15.318},
    {"BothWest", {40, "N", 74, "W"}, "W 101.0", 218.403, 36.026},
    {"SouthEast", kSouth, "E 20.0", 342.224, 58.331},
    {"SouthAbove360", kSouth, "E 36.0", 377.776, 58.331},
    {"SouthWestBelowZero", {34.6, "S", 58.4, "W"}, "W 61.0", -4.572, 49.709},
    {"WrittenWest", {50, "N", 10, "E"}, "W 5.0", 199.279, 30.937},
    // A letter other than a capital E or W applies no rule: the satellite counts as on the
    // site's meridian. Anything but "N" is a southern site.
    {"LowerCaseNorth", kMoscow, "e 13.0", 180.0, 26.480},
    {"LowerCaseSiteLetter", {55.75, "N", 37.6, "e"}, "E 13.0", 180.0, 26.480},
    {"LowerCaseNorthIsSouth", {26, "n", 28, "E"}, "E 20.0", 342.224, 58.331},
    // The position is read from the third character on; without a number there it is 0.
    {"PositionMissing", kMoscow, "E", 222.974, 18.233},
    // Latitude 0 S has a tiny sine, not 0; 0 N divides by zero.
    {"LatitudeZeroSouth", {0, "S", 37.6, "E"}, "E 13.0", 270.0, 61.231},
    {"LatitudeZeroNorth", {0, "N", 37.6, "E"}, "E 13.0", NAN, NAN},
    // cos(180 deg) is -1 and the satellite sits on the site's meridian: the root D is 0.
    {"RootZero", {180, "N", 37.6, "E"}, "E 37.6", NAN, NAN},
    {"LatitudeInfinite", {HUGE_VAL, "N", 37.6, "E"}, "E 13.0", NAN, NAN},
    {"LongitudeInfinite", {55.75, "N", HUGE_VAL, "E"}, "E 13.0", NAN, NAN},
    {"PositionInfinite", kMoscow, "E 1e400", NAN, NAN},
};

INSTANTIATE_TEST_SUITE_P(Sites, PointingTest, testing::ValuesIn(kRows), RowName());

}  // namespace
}  // namespace palquin
