// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/aim_texts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace palquin {
namespace {

using namespace std::chrono;

TEST(AimTextsTest, IsoMinuteRoundsAndCarriesTheOffset) {
    const sys_seconds moment = sys_days{2026y / 6 / 21} + 9h + 35min;
    EXPECT_EQ(FormatIsoMinute(moment + 29s, 180min), "2026-06-21T12:35:00+03:00");
    EXPECT_EQ(FormatIsoMinute(moment + 30s, 180min), "2026-06-21T12:36:00+03:00");
    EXPECT_EQ(FormatIsoMinute(moment, -600min), "2026-06-20T23:35:00-10:00");
}

TEST(AimTextsTest, PictureWindowLines) {
    const std::string kNever = "Солнце на этом азимуте сегодня не бывает";
    const sys_seconds now = sys_days{2026y / 6 / 21} + 8h;  // 11:00 in Moscow
    const PictureAimTexts moscow = MakePictureAimTexts({55.75, 37.6}, 181.935, now, 180min);
    EXPECT_EQ(moscow.magnetic, "Магнитный азимут: 169.8° (склонение +12.1°, WMM2025)");
    EXPECT_EQ(moscow.sun, "Солнце на этом азимуте: 12:36 (высота 57.7°)");

    // From the equator the sun stands due west only on the day of an equinox (about 14:40 UTC
    // on 2026-03-20), so "today" must be the day of the local clock, not of UTC.
    const GeoPosition equator{0.0, 30.0};
    const sys_seconds equinoxEveUtc = sys_days{2026y / 3 / 19} + 22h + 30min;  // 01:30 local
    EXPECT_NE(MakePictureAimTexts(equator, 270.0, equinoxEveUtc, 180min).sun, kNever);
    EXPECT_EQ(MakePictureAimTexts(equator, 270.0, equinoxEveUtc + 23h, 180min).sun, kNever);

    const std::string expired =
        MakePictureAimTexts({55.75, 37.6}, 181.9, sys_days{2031y / 1 / 1}, 180min).magnetic;
    EXPECT_TRUE(expired.ends_with(", WMM2025, срок модели истёк)")) << expired;

    const PictureAimTexts noAzimuth = MakePictureAimTexts({55.75, 37.6}, NAN, now, 180min);
    EXPECT_EQ(noAzimuth.magnetic, "Магнитный азимут: не вычисляется (склонение +12.1°, WMM2025)");
    EXPECT_EQ(noAzimuth.sun, kNever);
}

}  // namespace
}  // namespace palquin
