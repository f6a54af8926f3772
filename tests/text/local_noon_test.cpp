// SPDX-License-Identifier: GPL-3.0-or-later
// The offset from UTC at the local day's noon: on the days the clocks change it is the one of
// the afternoon, for a named zone and for the computer's own clock (TZ).
#include "text/local_noon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace palquin {
namespace {

using std::chrono::minutes;

// Central European rules, written out so that no tzdata is needed for the computer's clock.
constexpr char kCentralEurope[] = "CET-1CEST,M3.5.0,M10.5.0/3";

TEST(LocalNoonTest, OffsetOfTheAfternoon) {
    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid()) {
        GTEST_SKIP() << "no time zone Europe/Berlin here (tzdata)";
    }
    const struct {
        const char* name;
        QDate day;
        minutes offset;
    } rows[] = {
        {"winter", QDate(2026, 1, 15), minutes{60}},
        {"clocks go forward at night", QDate(2026, 3, 29), minutes{120}},
        {"clocks go back at night", QDate(2026, 10, 25), minutes{60}},
        {"no such day", QDate(), minutes{0}},
    };
    const char* saved = std::getenv("TZ");
    const std::string before = saved != nullptr ? saved : "";
    setenv("TZ", kCentralEurope, 1);
    tzset();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(UtcOffsetAtNoon(row.day, berlin), row.offset);
        EXPECT_EQ(LocalNoon(row.day, berlin).time(), QTime(12, 0));
        EXPECT_EQ(UtcOffsetAtNoon(row.day, std::nullopt), row.offset) << "the computer's clock";
    }
    saved != nullptr ? setenv("TZ", before.c_str(), 1) : unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace palquin
