// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a slot's elements from figures given by hand: Moscow's 36 E central converter and
// 13 E beside it (checked by hand), a dish's own places east and west, and results that stop
// part way.
#include "layout/slot_texts.h"

#include <gtest/gtest.h>

namespace palquin {
namespace {

SlotResult Figures(double azimuthDeg, double elevationDeg, std::optional<double> rotationDeg) {
    SlotResult result;
    result.pointing.azimuthDeg = azimuthDeg;
    result.pointing.elevationDeg = elevationDeg;
    result.pointing.visible = elevationDeg > 0.0;
    result.rotationDeg = rotationDeg;
    return result;
}

SlotResult WithOffsets(SlotResult result, double horizontalMm, double verticalMm) {
    result.offsets = Offsets{horizontalMm, verticalMm};
    return result;
}

SlotResult WithPlace(SlotResult result, double xFrontMm, double upMm, double depthMm,
                     double lossDb) {
    result = WithOffsets(result, 1.0, 1.0);
    result.precise = ConverterPlace{xFrontMm, upMm, depthMm, 0.0};
    result.lossDb = lossDb;
    return result;
}

const SlotResult kCentral = Figures(181.93541, 26.46338, 1.0891);
const SlotResult kExtra = WithOffsets(Figures(208.98123, 22.77311, 15.8251), 272.82341, 38.62099);
const std::string kTwoLines = "Азимут:  208.981°\r\nУгол места:  22.773°\r\n";

TEST(SlotTextsTest, ResultsLinesAndTypeSize) {
    const struct {
        const char* name;
        int slot;
        SlotResult result;
        bool precise;
        double centralAzimuthDeg;
        std::string text;
        std::optional<double> pointSize;
    } rows[] = {
        // The central slot keeps its type size and invites a click; precise changes nothing.
        {"central", 0, kCentral, true, 0.0,
         "Азимут:  181.935°\r\nУгол места:  26.463°\r\nПоворот конв. 1.1°\r\n\r\n"
         "Кликни здесь!",
         std::nullopt},
        {"extra_by_the_window_rule", 2, kExtra, false, 181.9,
         kTwoLines + "Горизонталь:  272.823 мм.\r\nВертикаль:  38.621 мм.\r\n"
                     "Поворот конв. 15.8°",
         7.0},
        // Aimed south, east lies right in the front view; aimed north, left.
        {"extra_right_by_the_dish", 2, WithPlace(kExtra, 123.4, -8.6, 12.5, -6.84), true, 181.9,
         kTwoLines + "Горизонталь: 123 мм. восток\r\nВертикаль: 9 мм. вниз\r\n"
                     "Глубже: 13 мм.\r\nПотери: \u22126.8 дБ\r\nПоворот конв. 15.8°",
         6.0},
        {"extra_left_by_the_dish", 2, WithPlace(kExtra, -123.4, 8.4, 0.2, -0.04), true, 181.9,
         kTwoLines + "Горизонталь: 123 мм. запад\r\nВертикаль: 8 мм. вверх\r\n"
                     "Глубже: 0 мм.\r\nПотери: 0.0 дБ\r\nПоворот конв. 15.8°",
         6.0},
        {"extra_left_by_the_dish_aimed_north", 2, WithPlace(kExtra, -123.4, 0.4, 1.0, -1.25), true,
         10.0,
         kTwoLines + "Горизонталь: 123 мм. восток\r\nВертикаль: 0 мм.\r\n"
                     "Глубже: 1 мм.\r\nПотери: \u22121.3 дБ\r\nПоворот конв. 15.8°",
         6.0},
        {"below_the_horizon", 3, WithOffsets(Figures(95.0, -12.25, -40.0), 1234.5678, 0.0), false,
         181.9,
         "Азимут:  95°\r\nУгол места: -12.25°\r\nГоризонталь:  1 234.568 мм.\r\n"
         "Вертикаль:  0 мм.\r\nПоворот конв.-40°",
         7.0},
        // A result stops before the first figure it lacks; the type size changes only with
        // the distances.
        {"incomplete_without_offsets", 2, Figures(208.98123, 22.77311, std::nullopt), false, 181.9,
         kTwoLines, std::nullopt},
        {"incomplete_without_the_dish_place", 2, kExtra, true, 181.9, kTwoLines, std::nullopt},
        {"incomplete_without_rotation", 2,
         WithOffsets(Figures(208.98123, 22.77311, std::nullopt), 272.82341, 38.62099), false, 181.9,
         kTwoLines + "Горизонталь:  272.823 мм.\r\nВертикаль:  38.621 мм.\r\n", 7.0},
        {"central_incomplete", 0, Figures(181.93541, 26.46338, std::nullopt), false, 0.0,
         "Азимут:  181.935°\r\nУгол места:  26.463°\r\n", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ResultsText results =
            SlotResultsText(row.slot, row.result, row.precise, row.centralAzimuthDeg);
        EXPECT_EQ(results.text, row.text);
        EXPECT_EQ(results.pointSize, row.pointSize);
    }
}

// The heading over a slot's selector, and the panel box under the picture (slots 0 to 7).
TEST(SlotTextsTest, HeadingAndPanelBox) {
    EXPECT_EQ(SlotHeadingText(0, true, "E 13.0"), "E 13.0");
    EXPECT_EQ(SlotHeadingText(9, true, "E 13.0"), "E 13.0");
    EXPECT_EQ(SlotHeadingText(0, false, "E 13.0"), "Центральная");
    EXPECT_EQ(SlotHeadingText(4, false, "E 13.0"), "") << "no central satellite";

    const std::string entry = "36;0;E;Sat A;a0;b0;c0";
    EXPECT_EQ(PanelBoxText(0, 181.93541, entry), "181.9°\r\n" + entry);
    EXPECT_EQ(PanelBoxText(7, 181.9, entry), entry);
    EXPECT_EQ(PanelBoxText(8, 181.9, entry), std::nullopt);
    EXPECT_EQ(PanelBoxText(3, std::nullopt, entry), std::nullopt) << "central not calculated";
    EXPECT_EQ(PanelBoxText(0, 0.0, entry), std::nullopt) << "central azimuth 0";
}

// The header of the layout and its 1:1 template, from the window and from the command line alike.
TEST(SlotTextsTest, SiteHeaderAndHiddenMessage) {
    EXPECT_EQ(SiteHeaderText(55.75, "N", 37.6, "E"), "55.75 N 37.6 E");
    EXPECT_EQ(SiteHeaderText(0.0001, "S", 55.123456789012345, "W"), "0.0001 S 55.1234567890123 W");
    EXPECT_EQ(HiddenSatelliteMessage("140;0;E;Express"),
              "Для указанного места приема спутник 140;0;E;Express не виден!");
}

}  // namespace
}  // namespace palquin
