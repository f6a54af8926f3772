// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/aim_format.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "calc/magnetic.h"
#include "layout/aim_texts.h"

namespace palquin {
namespace {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof(buffer), "\\u%04x", u);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonNumber(const std::optional<double>& value) {
    return value ? FixedText(*value, 3) : "null";
}

std::string TextAngle(const std::optional<double>& value) {
    return value ? FixedText(*value, 1) + "°" : "не вычисляется";
}

std::string Hemispheres(double value, const char* positive, const char* negative) {
    return ShortestText(std::fabs(value)) + "° " + (value < 0.0 ? negative : positive);
}

}  // namespace

std::string FormatAimText(const AimResult& result) {
    const AimRequest& request = result.request;
    char date[16];
    std::snprintf(date, sizeof(date), "%04d-%02d-%02d", request.date.year, request.date.month,
                  request.date.day);
    std::string text;
    const auto line = [&text](std::string_view label, const std::string& value) {
        text.append(label).append(": ").append(value).append("\n");
    };
    line("Спутник", ShortestText(request.satellite.degrees) + request.satellite.hemisphere);
    line("Место", Hemispheres(request.site.latitudeDeg, "с.ш.", "ю.ш.") + ", " +
                      Hemispheres(request.site.longitudeDeg, "в.д.", "з.д."));
    line("Дата", date);
    line("Азимут истинный",
         result.azimuthDeg ? AzimuthText(*result.azimuthDeg) + "°" : "не вычисляется");
    line("Магнитный азимут", result.magneticAzimuthDeg
                                 ? AzimuthText(*result.magneticAzimuthDeg) + "°"
                                 : "не вычисляется");
    line("Магнитное склонение",
         SignedFixedText(result.declinationDeg, 1) + "° (" + MagneticModelName() + ")");
    line("Угол места", TextAngle(result.elevationDeg));
    line("Поворот конвертера", TextAngle(result.rotationDeg));
    line("Спутник виден",
         result.visible ? (*result.visible ? "да" : "нет") : std::string("не вычисляется"));
    if (result.sun) {
        line("Солнце на этом азимуте", ClockText(result.sun->utc, request.utcOffset) + " (UTC" +
                                           UtcOffsetText(request.utcOffset) + "), высота " +
                                           FixedText(result.sun->apparentElevationDeg, 1) + "°");
    } else {
        line("Солнце на этом азимуте", "в этот день не бывает");
    }
    for (const AimWarning warning : result.warnings) {
        line("Предупреждение", AimWarningText(warning));
    }
    return text;
}

std::string FormatAimJson(const AimResult& result) {
    std::string json = "{";
    const auto key = [&json](std::string_view name, const std::string& value) {
        if (json.size() > 1) {
            json += ", ";
        }
        json.append("\"").append(name).append("\": ").append(value);
    };
    key("azimuthDeg", JsonNumber(result.azimuthDeg));
    key("magneticAzimuthDeg", JsonNumber(result.magneticAzimuthDeg));
    key("declinationDeg", JsonNumber(result.declinationDeg));
    key("elevationDeg", JsonNumber(result.elevationDeg));
    key("rotationDeg", JsonNumber(result.rotationDeg));
    key("visible", result.visible ? (*result.visible ? "true" : "false") : "null");
    key("sunAlignment", result.sun
                            ? JsonString(FormatIsoMinute(result.sun->utc, result.request.utcOffset))
                            : "null");
    key("sunElevationDeg",
        JsonNumber(result.sun ? std::optional(result.sun->apparentElevationDeg) : std::nullopt));
    std::string warnings = "[";
    for (const AimWarning warning : result.warnings) {
        warnings += (warnings.size() > 1 ? ", " : "") + JsonString(AimWarningText(warning));
    }
    key("warnings", warnings + "]");
    return json + "}\n";
}

}  // namespace palquin
