// SPDX-License-Identifier: GPL-3.0-or-later
// The offset from UTC at the local day's noon: on the days the clocks change it is the one of
// the afternoon, for a named zone and for the computer's own clock (TZ).
#include "text/local_noon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "common/row_name.h"

namespace palquin {
namespace {

using std::chrono::minutes;

struct NoonRow {
    const char* name;
    QDate day;
    minutes berlin;
};

void PrintTo(const NoonRow& row, std::ostream* out) {
    *out << row.name;
}

class LocalNoonTest : public ::testing::TestWithParam<NoonRow> {};

// Central European rules, written out so that no tzdata is needed for the computer's clock.
constexpr char kCentralEurope[] = "CET-1CEST,M3.5.0,M10.5.0/3";

TEST_P(LocalNoonTest, OffsetOfTheAfternoon) {
    const NoonRow& row = GetParam();
    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid()) {
        GTEST_SKIP() << "no time zone Europe/Berlin here (tzdata)";
    }
    EXPECT_EQ(UtcOffsetAtNoon(row.day, berlin), row.berlin);
    EXPECT_EQ(LocalNoon(row.day, berlin).time(), QTime(12, 0));

    const char* saved = std::getenv("TZ");
    const std::string before = saved != nullptr ? saved : "";
    setenv("TZ", kCentralEurope, 1);
    tzset();
    const minutes computer = UtcOffsetAtNoon(row.day, std::nullopt);
    saved != nullptr ? setenv("TZ", before.c_str(), 1) : unsetenv("TZ");
    tzset();
    EXPECT_EQ(computer, row.berlin);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LocalNoonTest,
    ::testing::Values(NoonRow{"winter", QDate(2026, 1, 15), minutes{60}},
                      NoonRow{"clocks_go_forward_at_night", QDate(2026, 3, 29), minutes{120}},
                      NoonRow{"clocks_go_back_at_night", QDate(2026, 10, 25), minutes{60}},
                      NoonRow{"no_such_day", QDate(), minutes{0}}),
    testing_support::RowName());

}  // namespace
}  // namespace palquin
