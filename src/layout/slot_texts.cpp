// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/slot_texts.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/result_number.h"
#include "diagram/compass.h"
#include "diagram/layout_mm.h"

namespace palquin {
namespace {

constexpr std::string_view kDegree = "\u00B0";
constexpr std::string_view kLineEnd = "\r\n";
// Seven lines of the dish's geometry need a smaller type than the window's five.
constexpr double kPlainPointSize = 7.0;
constexpr double kPrecisePointSize = 6.0;

std::string Number(double value, NumberPattern pattern) {
    return FormatResult(value, pattern);
}

// Whole millimetres, with the direction's word when the converter is not on the axis.
std::string WholeMm(double signedMm, std::string_view positive, std::string_view negative) {
    const long long whole = std::llround(std::abs(signedMm));
    std::string text = std::to_string(whole) + " мм.";
    const std::string_view word = signedMm > 0.0 ? positive : negative;
    if (whole != 0 && !word.empty()) {
        text += ' ';
        text += word;
    }
    return text;
}

// A loss as "−1.4 дБ", with the true minus sign.
std::string LossText(double lossDb) {
    const double tenths = std::round(lossDb * 10.0) / 10.0;
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.1f", std::abs(tenths));
    return (tenths < 0.0 ? "\u2212" : "") + std::string(figure) + " дБ";
}

std::string Line(std::string_view caption, std::string_view value, std::string_view unit = {}) {
    std::string line(caption);
    line += value;
    line += unit;
    line += kLineEnd;
    return line;
}

}  // namespace

std::string SlotHeadingText(int slot, bool centralChosen, std::string_view positionText) {
    if (!centralChosen) {
        return slot == 0 ? "Центральная" : "";
    }
    return std::string(positionText);
}

ResultsText SlotResultsText(int slot, const SlotResult& result, bool precise,
                            double centralAzimuthDeg) {
    ResultsText results;
    std::string& text = results.text;
    text = Line("Азимут: ", Number(result.pointing.azimuthDeg, NumberPattern::Grouped3), kDegree) +
           Line("Угол места: ", Number(result.pointing.elevationDeg, NumberPattern::Grouped3),
                kDegree);
    if (slot != 0 && precise) {
        if (!result.precise) {
            return results;
        }
        const ConverterPlace& place = *result.precise;
        const bool eastOnRight = EastOnRight(centralAzimuthDeg);
        text += Line("Горизонталь: ", WholeMm(place.xFrontMm, eastOnRight ? "восток" : "запад",
                                              eastOnRight ? "запад" : "восток"));
        text += Line("Вертикаль: ", WholeMm(place.upMm, "вверх", "вниз"));
        text += Line("Глубже: ", WholeMm(place.depthMm, {}, {}));
        text += Line("Потери: ", LossText(result.lossDb));
        results.pointSize = kPrecisePointSize;
    } else if (slot != 0) {
        if (!result.offsets) {
            return results;
        }
        results.pointSize = kPlainPointSize;
        text += Line("Горизонталь: ", Number(result.offsets->horizontalMm, NumberPattern::Grouped3),
                     " мм.");
        text += Line("Вертикаль: ", Number(result.offsets->verticalMm, NumberPattern::Grouped3),
                     " мм.");
    }
    if (!result.rotationDeg) {
        return results;
    }
    text += "Поворот конв." + Number(*result.rotationDeg, NumberPattern::Plain1);
    text += kDegree;
    if (slot == 0) {
        text += "\r\n\r\nКликни здесь!";
    }
    return results;
}

std::optional<std::string> PanelBoxText(int slot, std::optional<double> centralAzimuthDeg,
                                        std::string_view entryText) {
    if (!centralAzimuthDeg || *centralAzimuthDeg == 0.0 || slot >= kPanelBoxCount) {
        return std::nullopt;
    }
    if (slot == 0) {
        return AzimuthCaption(*centralAzimuthDeg, std::string(entryText));
    }
    return std::string(entryText);
}

std::string SiteHeaderText(double latitudeDeg, std::string_view northSouth, double longitudeDeg,
                           std::string_view eastWest) {
    // Fifteen significant digits at most, the shorter of plain and exponent form as printf's %g
    // gives it: "55.75", "0.0001".
    const auto number = [](double value) {
        char buffer[32];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
        return std::string(buffer, written.ptr);
    };
    return number(latitudeDeg) + " " + std::string(northSouth) + " " + number(longitudeDeg) + " " +
           std::string(eastWest);
}

std::string HiddenSatelliteMessage(std::string_view shownEntry) {
    return "Для указанного места приема спутник " + std::string(shownEntry) + " не виден!";
}

}  // namespace palquin
