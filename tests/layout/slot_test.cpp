// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/slot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace palquin {
namespace {

const Site kMoscow = ToSite(SiteDeg{55.75, 37.6});
const DishGeometry kOffsetDish{DishType::Offset, 699.0, 800.0, 24.0};

// Moscow, 36 E central, 13 E beside it, focal length 600: figures checked by hand.
TEST(SlotTest, CentralThenExtraAsTheWindowPlacesThem) {
    const std::optional<SlotResult> central =
        CalculateSlot(kMoscow, ToSatellitePosition("E 36.0"), 600.0, {});
    ASSERT_TRUE(central.has_value());
    EXPECT_NEAR(central->pointing.azimuthDeg, 181.935, 5e-4);
    EXPECT_NEAR(central->rotationDeg.value_or(0), 1.089, 5e-4);
    EXPECT_FALSE(central->offsets || central->above || central->precise);
    EXPECT_EQ(central->side, Side::Centre);

    const CentralAim aim{central->pointing.azimuthDeg, central->pointing.elevationDeg};
    const std::optional<SlotResult> west =
        CalculateSlot(kMoscow, ToSatellitePosition("E 13.0"), 600.0, aim);
    ASSERT_TRUE(west && west->offsets);
    EXPECT_NEAR(west->rotationDeg.value_or(0), 15.825, 5e-4);
    // A larger azimuth right, a lower elevation above (y grows downwards).
    EXPECT_EQ(west->side, Side::Right);
    EXPECT_EQ(west->above, std::optional(true));
    EXPECT_NEAR(west->centreMm.xMm, 272.823, 5e-4);
    EXPECT_NEAR(west->centreMm.yMm, -38.621, 5e-4);
    EXPECT_FALSE(west->precise.has_value());

    // East of the central one: a smaller azimuth, left; the central's own position, the centre.
    const std::optional<SlotResult> east =
        CalculateSlot(kMoscow, ToSatellitePosition("E 39.0"), 600.0, aim);
    ASSERT_TRUE(east.has_value());
    EXPECT_EQ(east->side, Side::Left);
    const std::optional<SlotResult> same =
        CalculateSlot(kMoscow, ToSatellitePosition("E 36.0"), 600.0, aim);
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(same->side, Side::Centre);
    EXPECT_FALSE(same->above.has_value());
}

// With a dish the extra slot also gets the dish's own place and its loss; a loss worse than
// -3 dB is named.
TEST(SlotTest, PreciseSlotsAndTheirWarning) {
    const std::optional<SlotResult> central =
        CalculateSlot(kMoscow, ToSatellitePosition("E 36.0"), 699.0, {});
    const CentralAim aim{central->pointing.azimuthDeg, central->pointing.elevationDeg};
    const std::optional<SlotResult> near =
        CalculateSlot(kMoscow, ToSatellitePosition("E 39.0"), 699.0, aim, &kOffsetDish);
    const std::optional<SlotResult> far =
        CalculateSlot(kMoscow, ToSatellitePosition("E 13.0"), 699.0, aim, &kOffsetDish);
    ASSERT_TRUE(near && near->precise && far && far->precise);
    EXPECT_LT(near->precise->xFrontMm, 0.0);
    EXPECT_GT(far->precise->xFrontMm, 0.0);
    EXPECT_GT(far->precise->upMm, 0.0);
    EXPECT_EQ(LossWarning("E 39.0", *near), "");
    EXPECT_NEAR(far->lossDb, -7.75, 0.75);
    EXPECT_FALSE(LossWarning("E 13.0", *far).empty());
    SlotResult shown;
    shown.precise = ConverterPlace{};
    shown.lossDb = -6.84;
    EXPECT_EQ(LossWarning("E 13.0", shown), "E 13.0: потери \u22126.8 дБ, приём ненадёжен");
    shown.lossDb = -3.0;  // at the limit, still worth mounting
    EXPECT_EQ(LossWarning("E 13.0", shown), "");
}

// A step that fails leaves the ones before it, so that the window can show them.
TEST(SlotTest, AFailedStepKeepsWhatCameBefore) {
    const CentralAim aim{181.9, 26.5};
    const std::optional<SlotResult> noOffsets = CalculateSlot(
        kMoscow, ToSatellitePosition("E 13.0"), std::numeric_limits<double>::infinity(), aim);
    ASSERT_TRUE(noOffsets.has_value());
    EXPECT_NEAR(noOffsets->pointing.azimuthDeg, 208.981, 5e-4);
    EXPECT_FALSE(noOffsets->offsets || noOffsets->Complete());
    // A focal length of 0 is no dish: the window's offsets are 0, the dish gives no place.
    const DishGeometry noFocus{DishType::Offset, 0.0, 800.0, 24.0};
    const std::optional<SlotResult> noDish =
        CalculateSlot(kMoscow, ToSatellitePosition("E 13.0"), 0.0, aim, &noFocus);
    ASSERT_TRUE(noDish && noDish->offsets);
    EXPECT_FALSE(noDish->precise || noDish->Complete());
    const Site southern = ToSite(SiteDeg{-33.9, -70.5});
    EXPECT_EQ(southern.latitudeRule, LatitudeRule::South);
    EXPECT_EQ(southern.longitudeRule, LongitudeRule::West);
    EXPECT_DOUBLE_EQ(southern.latitudeDeg, 33.9);
}

}  // namespace
}  // namespace palquin
