#include "calc/sun.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/row_name.h"

namespace palquin {
namespace {

using namespace std::chrono;
using testing_support::RowName;

constexpr double kSpaToleranceDeg = 0.01;  // the solar theory is good to about this
constexpr seconds kAlignmentTolerance{60};

// NREL's published SPA example: Golden, Colorado, 2003-10-17 12:30:30 at UTC-7.
const GeoPosition kGolden{39.742476, -105.1786, 1.83014};
const sys_seconds kGoldenMoment = sys_days{2003y / 10 / 17} + 19h + 30min + 30s;

TEST(SunTest, PositionMatchesTheSpaExample) {
    const double julianDay = JulianDay(kGoldenMoment);
    EXPECT_NEAR(julianDay, 2452930.312847, 1e-6);
    const SunPosition sun = ComputeSunPosition(kGolden, julianDay, 67.0, {820.0, 11.0});
    EXPECT_NEAR(sun.azimuthDeg, 194.340241, kSpaToleranceDeg);
    EXPECT_NEAR(sun.zenithDeg(), 50.111622, kSpaToleranceDeg);
}

struct AlignmentRow {
    const char* name;
    GeoPosition site;
    CivilDate day;
    double azimuthDeg;
    minutes utcOffset;
    std::optional<seconds> expected;  // from 00:00 UTC of the day; empty: the sun is never there
};

class SunAlignmentTest : public testing::TestWithParam<AlignmentRow> {};

TEST_P(SunAlignmentTest, FindsTheMomentOrNone) {
    const AlignmentRow& row = GetParam();
    const auto found = SunAlignment(row.site, row.day, row.azimuthDeg, row.utcOffset);
    ASSERT_EQ(found.has_value(), row.expected.has_value());
    if (found) {
        const sys_seconds expected =
            sys_days{year{row.day.year} / row.day.month / row.day.day} + *row.expected;
        EXPECT_LE(abs(found->utc - expected), kAlignmentTolerance)
            << "off by " << (found->utc - expected).count() << " s";
        EXPECT_GT(found->apparentElevationDeg, 0.0);
    }
}

const GeoPosition kGreenwich{51.48, 0.0};
const GeoPosition kMurmansk{68.97, 33.08};
const GeoPosition kMoscow{55.75, 37.6};

const AlignmentRow kAlignmentRows[] = {
    // The SPA example's azimuth is reached at the example's moment.
    {"SpaExample", kGolden, {2003, 10, 17}, 194.340241, -7h, 19h + 30min + 30s},
    // Due south is solar noon: at Greenwich 12:14 in mid February and 11:43:35 early in November,
    // the extremes of the equation of time; the same azimuth may be written a turn further round.
    {"NoonFebruary", kGreenwich, {2026, 2, 11}, 180.0, 0min, 12h + 14min + 13s},
    {"NoonNovember", kGreenwich, {2026, 11, 3}, 180.0, 0min, 11h + 43min + 35s},
    {"NoonFullTurnMore", kGreenwich, {2026, 11, 3}, 540.0, 0min, 11h + 43min + 35s},
    // The midnight sun stands due north in the small hours of the local day: 33.08 E is 2:12:19
    // before Greenwich, the equation of time adds about 1:40 in late June.
    {"MidnightSunDueNorth", kMurmansk, {2026, 6, 21}, 0.0, 180min, -(2h + 10min + 40s)},
    {"PolarNight", kMurmansk, {2026, 12, 21}, 180.0, 180min, std::nullopt},
    {"WinterSunNeverNorthEast", kMoscow, {2026, 12, 21}, 60.0, 180min, std::nullopt},
    {"SummerSunNeverNorthInMoscow", kMoscow, {2026, 6, 21}, 0.0, 180min, std::nullopt},
    {"ImpossibleDate", kMoscow, {2026, 2, 30}, 180.0, 180min, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Days, SunAlignmentTest, testing::ValuesIn(kAlignmentRows), RowName());

}  // namespace
}  // namespace palquin
