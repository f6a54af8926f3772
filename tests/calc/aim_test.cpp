// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/aim.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/magnetic.h"

namespace palquin {
namespace {

using namespace std::chrono;

std::optional<double> Parse(char kind, const char* text) {
    if (kind == 'P') {
        const auto position = ParseOrbitalPosition(text);
        return position ? std::optional(position->EastDeg()) : std::nullopt;
    }
    return kind == 'N' ? ParseLatitude(text) : ParseLongitude(text);
}

// P: orbital position, N: latitude, E: longitude; west and south negative, {}: rejected.
TEST(AimParseTest, AnglesTakePlainDecimalsOnly) {
    const std::tuple<char, const char*, std::optional<double>> rows[] = {
        {'P', "13.0E", 13},    {'P', " 5w ", -5},   {'P', "180W", -180},  {'P', "", {}},
        {'P', "E13", {}},      {'P', "13", {}},     {'P', "13.0.0E", {}}, {'P', "181E", {}},
        {'P', "-5W", {}},      {'P', "1e2E", {}},   {'P', "infE", {}},    {'P', "13,0E", {}},
        {'P', "13 E", {}},     {'P', ".E", {}},     {'P', "13N", {}},     {'N', "55.75", 55.75},
        {'N', "33.9S", -33.9}, {'N', "10n", 10},    {'N', "+90", 90},     {'N', "-0", 0},
        {'N', "90.01", {}},    {'N', "-55S", {}},   {'N', "N", {}},       {'N', "nan", {}},
        {'N', "1e1", {}},      {'N', "55.75E", {}}, {'E', "37.6E", 37.6}, {'E', "74W", -74},
        {'E', "-180", -180},   {'E', "181", {}},    {'E', "37.6N", {}},
    };
    for (const auto& [kind, text, value] : rows) {
        EXPECT_EQ(Parse(kind, text), value) << kind << " '" << text << "'";
    }
    EXPECT_FALSE(std::signbit(ParseLatitude("-0").value()));
    EXPECT_EQ(ParseDate("2024-02-29"), (CivilDate{2024, 2, 29}));
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-00-10", "2026-06-31", "2026-6-21",
                            "2026/06/21", "2026-06-21 ", "2026-06-2x"}) {
        EXPECT_FALSE(ParseDate(bad).has_value()) << bad;
    }
}

// Rows of the WMM2025 test values NOAA publishes (to two decimals): near the poles, at height,
// and years into the model.
TEST(MagneticTest, DeclinationMatchesNoaaTestValues) {
    const double rows[][5] = {
        // year, height km, latitude, longitude, declination
        {2025.0, 28, 89, -121, -99.77}, {2025.0, 65, 43, 93, 0.50},
        {2025.5, 6, -36, -137, 20.28},  {2026.5, 12, -79, 115, -137.58},
        {2029.0, 19, 46, -22, -5.65},
    };
    for (const auto& [year, heightKm, latitudeDeg, longitudeDeg, declinationDeg] : rows) {
        const MagneticField field =
            ComputeMagneticField({latitudeDeg, longitudeDeg, heightKm}, year);
        EXPECT_NEAR(field.declinationDeg, declinationDeg, 0.01) << year << " " << heightKm;
        EXPECT_FALSE(field.expired);
    }
}

TEST(MagneticTest, OutsideTheModelYearsAndAtThePolesStillAField) {
    for (const auto& [year, expired] :
         {std::pair{2024.99, true}, {2025.0, false}, {2030.0, false}, {2030.01, true}}) {
        EXPECT_EQ(ComputeMagneticField({55.75, 37.6}, year).expired, expired) << year;
    }
    for (const GeoPosition place : {GeoPosition{90, 0}, GeoPosition{-90, 45}}) {
        const MagneticField field = ComputeMagneticField(place, 2027.0);
        EXPECT_TRUE(std::isfinite(field.declinationDeg) && std::isfinite(field.totalNt));
    }
    EXPECT_DOUBLE_EQ(DecimalYear({2028, 3, 1}), 2028 + 60 / 366.0);
}

// NREL's published SPA example: Golden, Colorado, 2003-10-17 12:30:30 at UTC-7.
const GeoPosition kGolden{39.742476, -105.1786, 1.83014};

TEST(SunTest, PositionMatchesTheSpaExample) {
    const double julianDay = JulianDay(sys_days{2003y / 10 / 17} + 19h + 30min + 30s);
    EXPECT_NEAR(julianDay, 2452930.312847, 1e-6);
    const SunPosition sun = ComputeSunPosition(kGolden, julianDay, 67.0, {820.0, 11.0});
    EXPECT_NEAR(sun.azimuthDeg, 194.340241, 0.01);  // the solar theory is good to about this
    EXPECT_NEAR(sun.zenithDeg(), 50.111622, 0.01);
}

TEST(SunTest, AlignmentFindsTheMomentOrNone) {
    const GeoPosition murmansk{68.97, 33.08};
    // The moment from 00:00 UTC of the day; empty: the sun is never there.
    const std::tuple<const char*, GeoPosition, CivilDate, double, minutes, std::optional<seconds>>
        rows[] = {
            {"SPA example", kGolden, {2003, 10, 17}, 194.340241, -7h, 19h + 30min + 30s},
            // Due south is solar noon: at Greenwich 11:43:35 early in November, at an extreme of
            // the equation of time.
            {"noon", {51.48, 0.0}, {2026, 11, 3}, 180.0, 0min, 11h + 43min + 35s},
            // The midnight sun stands due north in the small hours of the local day: 33.08 E is
            // 2:12:19 before Greenwich, the equation of time adds about 1:40 in late June.
            {"midnight sun", murmansk, {2026, 6, 21}, 0.0, 180min, -(2h + 10min + 40s)},
            {"polar night", murmansk, {2026, 12, 21}, 180.0, 180min, std::nullopt},
            {"north of Moscow at night", {55.75, 37.6}, {2026, 6, 21}, 0.0, 180min, std::nullopt},
            {"no such day", {55.75, 37.6}, {2026, 2, 30}, 180.0, 180min, std::nullopt},
        };
    for (const auto& [name, site, day, azimuthDeg, utcOffset, moment] : rows) {
        SCOPED_TRACE(name);
        const auto found = SunAlignment(site, day, azimuthDeg, utcOffset);
        ASSERT_EQ(found.has_value(), moment.has_value());
        if (found) {
            const sys_seconds expected = sys_days{year{day.year} / day.month / day.day} + *moment;
            EXPECT_LE(abs(found->utc - expected), 60s) << (found->utc - expected).count() << " s";
            EXPECT_GT(found->apparentElevationDeg, 0.0);
        }
    }
}

TEST(AimTest, MagneticAzimuthIsTrueMinusDeclinationInOneTurn) {
    const double rows[][3] = {
        {5, 12, 353}, {350, -16, 6}, {360, 0, 0}, {377.776, 12, 5.776}, {-4.572, -16, 11.428}};
    for (const auto& row : rows) {
        EXPECT_NEAR(MagneticAzimuth(row[0], row[1]), row[2], 1e-9) << row[0] << " " << row[1];
    }
}

}  // namespace
}  // namespace palquin
