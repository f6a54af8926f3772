// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/dish.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/pointing.h"
#include "core/angles.h"

namespace palquin {
namespace {

// The two dishes of the optics check: a prime-focus dish 1,200 mm wide with its focus 600 mm from
// the vertex, and an offset dish 800 mm wide, 699 mm from the focus to its centre.
const DishGeometry kPrime{DishType::PrimeFocus, 600.0, 1200.0, 0.0};
const DishGeometry kOffset{DishType::Offset, 699.0, 800.0, 24.0};
constexpr double kMm = 0.05;

SkyDirection Towards(const Site& site, double satelliteEastDeg) {
    const Pointing pointing =
        ComputePointing(site, {LongitudeRule::East, satelliteEastDeg}).value();
    return {pointing.azimuthDeg, pointing.elevationDeg};
}

// By hand: t = D ÷ 4F is 0.5 for the prime dish, BDF = 1.09 ÷ 1.25; 800 ÷ 2,796 for the offset one,
// whose BDF is 1.0294 ÷ 1.0819.
TEST(DishTest, BeamDeviationFactorAndEffectiveFocalLength) {
    EXPECT_NEAR(BeamDeviationFactor(kPrime), 0.872, 1e-12);
    EXPECT_NEAR(EffectiveFocalLengthMm(kPrime), 600.0 / 0.872, 1e-9);
    EXPECT_NEAR(BeamDeviationFactor(kOffset), 0.9516, 1e-4);
    EXPECT_NEAR(EffectiveFocalLengthMm(kOffset), 734.6, 0.05);
}

// Hand-checked directions, each a case of the front view's signs: x to the right for a larger
// azimuth (a satellite to the west of a dish facing south lands east of the centre), up for a
// lower satellite, and the whole place from vectors, so that azimuths on both sides of north
// and a central satellite near the zenith come out right.
TEST(DishTest, ClosedFormPlacesWithTheirSigns) {
    const double focal = EffectiveFocalLengthMm(kPrime);
    struct Row {
        const char* name;
        SkyDirection central;
        SkyDirection extra;
        double xFrontMm;
        double upMm;
        double depthMm;
    };
    const double s10 = std::sin(10.0 * kPi / 180.0);
    const double c10 = std::cos(10.0 * kPi / 180.0);
    const double c30 = std::cos(30.0 * kPi / 180.0);
    const Row rows[] = {
        {"lower satellite lands above", {180, 30}, {180, 20}, 0.0, focal * s10, focal * (1 - c10)},
        {"western satellite lands right",
         {180, 30},
         {190, 30},
         focal * c30 * s10,
         -focal * (0.5 * c30 - c30 * 0.5 * c10),
         0.0},
        // A southern site's dish faces north: the satellite at 350° is west of the one at 10°,
        // lands east, and east is on the left for a person facing south toward the reflector.
        {"north-facing dish, azimuths straddling north",
         {10, 40},
         {350, 40},
         -focal * std::cos(40.0 * kPi / 180.0) * std::sin(20.0 * kPi / 180.0),
         NAN,
         NAN},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ConverterPlace place = PlaceConverter(kPrime, row.central, row.extra);
        EXPECT_NEAR(place.xFrontMm, row.xFrontMm, kMm);
        if (!std::isnan(row.upMm)) {
            EXPECT_NEAR(place.upMm, row.upMm, kMm);
        }
        if (row.depthMm > 0.0) {
            EXPECT_NEAR(place.depthMm, row.depthMm, kMm);
        } else {
            EXPECT_GT(place.depthMm, 0.0);
        }
        // Whatever the direction, the converter lies F_eff·sin(θ) from the centre.
        EXPECT_NEAR(std::hypot(place.xFrontMm, place.upMm),
                    focal * std::sin(place.separationDeg * kPi / 180.0), kMm);
    }
}

// Moscow with 36 E central on the offset dish: 13 E (west, lower) to the right and above, 39 E and
// 42 E (east) to the left; 13 E is not drawn the 38.6 mm above that the azimuth rule gives.
// Near the equator the azimuth rule put 100.5 E 369 mm to the side of 108.2 E; it belongs a few
// centimetres aside and a tenth of a metre below.
TEST(DishTest, PlacesOnRealSites) {
    const Site moscow{55.75, LatitudeRule::North, 37.6, LongitudeRule::East};
    const SkyDirection central = Towards(moscow, 36.0);
    const ConverterPlace west = PlaceConverter(kOffset, central, Towards(moscow, 13.0));
    EXPECT_NEAR(west.xFrontMm, 308.0, 0.5);
    EXPECT_NEAR(west.upMm, 14.3, 0.5);
    EXPECT_NEAR(west.depthMm, 67.8, 0.5);
    const ConverterPlace east = PlaceConverter(kOffset, central, Towards(moscow, 42.0));
    EXPECT_NEAR(east.xFrontMm, -83.1, 0.5);
    EXPECT_LT(east.upMm, 0.0);  // 42 E stands a little higher than 36 E

    const Site singapore{1.3, LatitudeRule::North, 103.8, LongitudeRule::East};
    const ConverterPlace zenith =
        PlaceConverter(kPrime, Towards(singapore, 108.2), Towards(singapore, 100.5));
    EXPECT_NEAR(zenith.xFrontMm, 30.8, 0.5);
    EXPECT_NEAR(zenith.upMm, -104.0, 0.5);
}

// The loss against an integration of its own on a fine grid with a wide search, and against the
// figures of an independent aperture-integration check of the same dishes (±0.15 dB at small
// separations, ±1.5 dB beyond); the quick model within 0.3 dB of the reference up to 7° and
// 1.5 dB up to 25°.
TEST(DishTest, LossAgainstTheApertureIntegration) {
    struct Row {
        const char* name;
        const DishGeometry* dish;
        double separationDeg;
        double independentDb;
        double toleranceDb;
        bool reference;  // the fine integration takes about a second: two rows only
    };
    const Row rows[] = {
        {"offset 3.25°", &kOffset, 3.25, -0.2, 0.15, false},
        {"prime 6.5°", &kPrime, 6.5, -0.9, 0.3, false},
        {"offset 6.5°", &kOffset, 6.5, -0.9, 0.3, true},
        {"prime 18.4°", &kPrime, 18.4, -5.0, 1.5, false},
        {"offset 24.8°", &kOffset, 24.8, -7.0, 1.5, true},
        {"prime 43°", &kPrime, 43.0, -11.0, 3.0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BeamOffset offset;
        offset.towardRight = std::sin(row.separationDeg * kPi / 180.0);
        offset.separationDeg = row.separationDeg;
        const double quick = ConverterLossDb(*row.dish, offset);
        EXPECT_NEAR(quick, row.independentDb, row.toleranceDb);
        if (row.reference) {
            const double reference = ConverterLossDb(*row.dish, offset, LossAccuracy::Reference);
            EXPECT_NEAR(quick, reference, row.separationDeg <= 7.0 ? 0.3 : 1.5);
        }
    }
    EXPECT_EQ(ConverterLossDb(kOffset, BeamOffset{}), 0.0);
}

TEST(DishTest, NoDishNoLoss) {
    BeamOffset offset;
    offset.towardRight = 0.1;
    EXPECT_TRUE(std::isnan(ConverterLossDb({DishType::Offset, 699.0, 0.0, 24.0}, offset)));
    EXPECT_TRUE(std::isnan(ConverterLossDb({DishType::PrimeFocus, -1.0, 800.0, 0.0}, offset)));
    EXPECT_TRUE(std::isnan(ConverterLossDb({DishType::Offset, 699.0, 800.0, 90.0}, offset)));
}

}  // namespace
}  // namespace palquin
