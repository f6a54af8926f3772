// SPDX-License-Identifier: GPL-3.0-or-later
// The pointing as the window reaches it: field texts and position texts read by the site parser.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/converter.h"
#include "calc/pointing.h"
#include "layout/site.h"

namespace palquin {
namespace {

constexpr double kShown = 0.0005;  // the figures are shown to three decimals
const SiteFields kMoscow{55.75, "N", 37.6, "E"};
const SiteFields kSouth{26, "S", 28, "E"};

std::optional<Pointing> PointingAt(const SiteFields& site, const char* position) {
    return ComputePointing(ToSite(site), ToSatellitePosition(position));
}

// The Moscow rows were checked by hand; the others come from the formulas, computed apart from
// this code (the equator's from 0.000001 N). NAN: the inputs give no result.
TEST(PointingTest, AzimuthElevationAndVisibility) {
    const std::tuple<SiteFields, const char*, double, double> rows[] = {
        {kMoscow, "E 36.0", 181.935, 26.463},
        {kMoscow, "W 5.0", 228.047, 16.131},
        {kMoscow, "E 140.0", 259.700, -15.318},
        {{40, "N", 74, "W"}, "W 101.0", 218.403, 36.026},
        {kSouth, "E 36.0", 377.776, 58.331},
        {{34.6, "S", 58.4, "W"}, "W 61.0", -4.572, 49.709},
        // A letter other than a capital E or W applies no rule: the satellite counts as on the
        // site's meridian. Anything but "N" is a southern site.
        {kMoscow, "e 13.0", 180.0, 26.480},
        {{55.75, "N", 37.6, "e"}, "E 13.0", 180.0, 26.480},
        {{26, "n", 28, "E"}, "E 20.0", 342.224, 58.331},
        {kMoscow, "E", 222.974, 18.233},  // read from the third character on; none is 0
        // Latitude 0 S has a tiny sine, not 0; 0 N takes the formulas' limit (equator test).
        {{0, "S", 37.6, "E"}, "E 13.0", 270.0, 61.231},
        {{0, "N", 37.6, "E"}, "E 13.0", 270.0, 61.231},
        {kMoscow, "E 1e400", NAN, NAN},
    };
    for (const auto& [site, position, azimuthDeg, elevationDeg] : rows) {
        SCOPED_TRACE(testing::Message() << site.latitudeDeg << site.ns << " " << position);
        const auto pointing = PointingAt(site, position);
        ASSERT_EQ(pointing.has_value(), !std::isnan(azimuthDeg));
        if (pointing) {
            EXPECT_NEAR(pointing->azimuthDeg, azimuthDeg, kShown);
            EXPECT_NEAR(pointing->elevationDeg, elevationDeg, kShown);
            EXPECT_EQ(pointing->visible, elevationDeg > 0.0);
        }
    }
}

// Mixed letters work on mirrored angles; the rotation's sign is turned back so that both writings
// give one figure. Rows past E 75.0 come from the formulas, computed apart from this code; on a
// southern site's meridian the formula gives -0, to be shown as 0. Columns: the position in both
// letters, the rotation, the offsets from a central converter on "E 36.0" with F = 600.
TEST(ConverterTest, RotationAndOffsetsInBothWritings) {
    const std::tuple<SiteFields, const char*, const char*, double, double, double> rows[] = {
        {kMoscow, "E 36.0", "E 36.0", 1.089, 0.0, 0.0},
        {kMoscow, "E 13.0", "E 13.0", 15.825, 272.823, 38.621},
        {kMoscow, "W 5.0", "E 355.0", 24.743, 432.417, 107.617},
        {kMoscow, "E 75.0", "E 75.0", -22.467, 422.058, 85.060},
        {kSouth, "E 28.0", "E 28.0", 0.0, 183.175, 13.488},
        {{40, "N", 74, "W"}, "E 5.0", "W 355.0", -49.476, 208.061, 233.362},
        {kSouth, "W 15.0", "E 345.0", -54.429, 595.000, 248.209},
        {{34.6, "S", 58.4, "W"}, "E 30.0", "W 330.0", 55.390, 35.694, 50.349},
    };
    for (const auto& [site, position, sameAs, rotationDeg, horizontalMm, verticalMm] : rows) {
        const Pointing central = PointingAt(site, "E 36.0").value();
        for (const char* text : {position, sameAs}) {
            SCOPED_TRACE(text);
            const Pointing slot = PointingAt(site, text).value();
            const double rotation = ComputeRotation(slot.coordinates).value();
            EXPECT_NEAR(rotation, rotationDeg, kShown);
            EXPECT_EQ(std::signbit(rotation), std::signbit(rotationDeg)) << "-0?";
            const auto offsets = ComputeOffsets(600.0, slot.azimuthDeg, slot.elevationDeg,
                                                central.azimuthDeg, central.elevationDeg);
            EXPECT_NEAR(offsets.value().horizontalMm, horizontalMm, kShown);
            EXPECT_NEAR(offsets.value().verticalMm, verticalMm, kShown);
        }
    }
    EXPECT_FALSE(ComputeRotation({.latitudeAngleRad = 1.0, .satelliteAngleRad = HUGE_VAL}));
    EXPECT_FALSE(ComputeOffsets(600.0, 208.981, 22.773, 181.935, -HUGE_VAL));
}

// On the equator sin and tan of the latitude are 0 and the formulas divide by them; 0 N gives the
// value they reach from the north (the rows' figures are those of 0.000001 N). From 0 S (a tiny
// sine of the other sign) the same direction comes out a full turn apart and the rotation a half
// turn apart: the same dish and the same converter. Straight overhead no azimuth is compared.
TEST(PointingTest, EquatorIsTheLimitFromEitherSide) {
    const struct {
        const char* name;
        double longitudeDeg;
        const char* ew;
        const char* position;
        double azimuthDeg, elevationDeg, rotationDeg;
    } rows[] = {
        {"east of the site", 0, "E", "E 36.0", 90.0, 48.224, -90.0},
        {"west of the site, mixed letters", 0, "E", "W 30.0", 270.0, 55.034, 90.0},
        {"Quito, east of the site", 78.5, "W", "W 61.0", 90.0, 69.462, -90.0},
        {"east of Singapore's meridian", 103.8, "E", "E 113.0", 90.0, 79.174, -90.0},
        // More than 90 degrees away: tan puts it on the other side, as off the equator.
        {"below the horizon", 0, "E", "E 100.0", 270.0, -18.248, -90.0},
        // The root of the elevation is 0 here, and at 0.000001 N too.
        {"straight overhead", 37.6, "E", "E 37.6", 180.0, 90.0, 0.0},
    };
    const auto turnApart = [](double a, double b, double turnDeg) {
        const double r = std::remainder(a - b, turnDeg);
        return std::abs(r) < kShown;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto at = [&](double latitudeDeg, const char* ns) {
            const std::optional<Pointing> pointing =
                PointingAt({latitudeDeg, ns, row.longitudeDeg, row.ew}, row.position);
            EXPECT_TRUE(pointing);
            const std::optional<double> rotation =
                pointing ? ComputeRotation(pointing->coordinates) : std::nullopt;
            EXPECT_TRUE(rotation);
            return std::tuple{pointing.value_or(Pointing{}), rotation.value_or(NAN)};
        };
        const auto [equator, equatorRotation] = at(0.0, "N");
        EXPECT_NEAR(equator.azimuthDeg, row.azimuthDeg, kShown);
        EXPECT_NEAR(equator.elevationDeg, row.elevationDeg, kShown);
        EXPECT_NEAR(equatorRotation, row.rotationDeg, kShown);
        EXPECT_EQ(equator.visible, row.elevationDeg > 0.0);

        const auto [south, southRotation] = at(0.0, "S");
        EXPECT_NEAR(south.elevationDeg, equator.elevationDeg, kShown);
        EXPECT_TRUE(turnApart(southRotation, equatorRotation, 180.0)) << southRotation;
        if (row.elevationDeg < 90.0) {
            EXPECT_TRUE(turnApart(south.azimuthDeg, equator.azimuthDeg, 360.0)) << south.azimuthDeg;
        }
    }
}

TEST(PointingTest, QuotientOverZeroTakesItsLimitFromAbove) {
    EXPECT_DOUBLE_EQ(AtanOfQuotient(-0.5, 0.0), -std::atan(HUGE_VAL));
    EXPECT_DOUBLE_EQ(AtanOfQuotient(0.5, -0.0), std::atan(HUGE_VAL));
    EXPECT_EQ(AtanOfQuotient(0.0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(AtanOfQuotient(1.0, 2.0), std::atan(0.5));
}

}  // namespace
}  // namespace palquin
