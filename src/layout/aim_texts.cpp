// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/aim_texts.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "calc/magnetic.h"

namespace palquin {
namespace {

using std::chrono::minutes;
using std::chrono::sys_seconds;

struct LocalTime {
    std::chrono::year_month_day date;
    std::chrono::hh_mm_ss<minutes> time;
};

LocalTime ToLocalMinute(sys_seconds utc, minutes utcOffset) {
    using namespace std::chrono;
    const auto local = floor<minutes>(utc + seconds{30}) + utcOffset;
    const auto day = floor<days>(local);
    return {year_month_day{day}, hh_mm_ss<minutes>{local - day}};
}

std::string Clock(const std::chrono::hh_mm_ss<minutes>& time) {
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "%02d:%02d", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()));
    return buffer;
}

}  // namespace

std::string AimWarningText(AimWarning warning) {
    switch (warning) {
        case AimWarning::ModelExpired:
            return std::string("Дата вне срока модели ") + MagneticModelName() + " (" +
                   FixedText(MagneticModelStartYear(), 1) + "–" +
                   FixedText(MagneticModelEndYear(), 1) + "): склонение приблизительное";
        case AimWarning::BelowHorizon:
            return "Спутник ниже горизонта";
        case AimWarning::NoPointing:
            return "Азимут, угол места и поворот конвертера для этого места не вычисляются";
        case AimWarning::Overhead:
            return "Спутник в зените: у него нет азимута для солнца";
    }
    return {};
}

std::string FixedText(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0) {
        rounded = 0.0;  // no "-0.0"
    }
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof(buffer), rounded, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string SignedFixedText(double value, int decimals) {
    std::string text = FixedText(value, decimals);
    return text.front() == '-' ? text : "+" + text;
}

std::string ShortestText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

std::string AzimuthText(double azimuthDeg) {
    const double rounded = std::round(azimuthDeg * 10.0) / 10.0;
    return FixedText(rounded >= 360.0 ? rounded - 360.0 : rounded, 1);
}

std::string ClockText(sys_seconds utc, minutes utcOffset) {
    return Clock(ToLocalMinute(utc, utcOffset).time);
}

std::string UtcOffsetText(minutes utcOffset) {
    const long long total = utcOffset.count();
    const long long magnitude = total < 0 ? -total : total;
    char buffer[48];
    std::snprintf(buffer, sizeof(buffer), "%c%02lld:%02lld", total < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return buffer;
}

std::string FormatIsoMinute(sys_seconds utc, minutes utcOffset) {
    const LocalTime local = ToLocalMinute(utc, utcOffset);
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%04d-%02u-%02uT%s:00",
                  static_cast<int>(local.date.year()), static_cast<unsigned>(local.date.month()),
                  static_cast<unsigned>(local.date.day()), Clock(local.time).c_str());
    return buffer + UtcOffsetText(utcOffset);
}

PictureAimTexts MakePictureAimTexts(const GeoPosition& site, double trueAzimuthDeg, sys_seconds now,
                                    minutes utcOffset) {
    const PictureAim aim = ComputePictureAim(site, trueAzimuthDeg, now, utcOffset);
    PictureAimTexts texts;
    texts.magnetic = "Магнитный азимут: " +
                     (aim.magneticAzimuthDeg ? AzimuthText(*aim.magneticAzimuthDeg) + "°"
                                             : std::string("не вычисляется")) +
                     " (склонение " + SignedFixedText(aim.declinationDeg, 1) + "°, " +
                     MagneticModelName() + (aim.modelExpired ? ", срок модели истёк)" : ")");
    texts.sun = aim.sun ? "Солнце на этом азимуте: " + ClockText(aim.sun->utc, utcOffset) +
                              " (высота " + FixedText(aim.sun->apparentElevationDeg, 1) + "°)"
                        : "Солнце на этом азимуте сегодня не бывает";
    return texts;
}

}  // namespace palquin
