#include "calc/aim.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "calc/converter.h"
#include "calc/magnetic.h"
#include "calc/pointing.h"
#include "core/angles.h"

namespace palquin {
namespace {

using std::chrono::minutes;
using std::chrono::sys_seconds;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Digits with at most one decimal point and at least one digit; no sign, no exponent, no
// "inf" or "nan", which from_chars alone would take.
std::optional<double> UnsignedDecimal(std::string_view text) {
    int digits = 0;
    int points = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A signed number, or an unsigned one with the positive or negative hemisphere letter after it.
std::optional<double> ParseAngle(std::string_view text, double limit, char positive,
                                 char negative) {
    text = Trimmed(text);
    if (text.empty()) {
        return std::nullopt;
    }
    double sign = 1.0;
    const char last = Upper(text.back());
    if (last == positive || last == negative) {
        sign = last == negative ? -1.0 : 1.0;
        text.remove_suffix(1);
    } else if (text.front() == '-' || text.front() == '+') {
        sign = text.front() == '-' ? -1.0 : 1.0;
        text.remove_prefix(1);
    }
    const auto value = UnsignedDecimal(text);
    if (!value || *value > limit) {
        return std::nullopt;
    }
    return sign * *value + 0.0;  // "-0" is 0
}

std::string Fixed(double value, int decimals) {
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

std::string Shortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

std::string SignedFixed(double value, int decimals) {
    std::string text = Fixed(value, decimals);
    return text.front() == '-' ? text : "+" + text;
}

// An azimuth to one decimal, where 359.96 shows as 0.0 rather than 360.0.
std::string Azimuth1(double azimuthDeg) {
    const double rounded = std::round(azimuthDeg * 10.0) / 10.0;
    return Fixed(rounded >= 360.0 ? rounded - 360.0 : rounded, 1);
}

// Direction of the satellite along the great circle, for the sun's time where the program's
// pointing formulas give nothing. Empty for a satellite straight overhead.
std::optional<double> GreatCircleAzimuth(const GeoPosition& site, double satelliteEastDeg) {
    const double delta = (satelliteEastDeg - site.longitudeDeg) * kRadiansPerDegree;
    const double east = std::sin(delta);
    const double north = -std::sin(site.latitudeDeg * kRadiansPerDegree) * std::cos(delta);
    if (std::fabs(east) < 1e-12 && std::fabs(north) < 1e-12) {
        return std::nullopt;
    }
    return AzimuthInTurn(std::atan2(east, north) / kRadiansPerDegree);
}

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

std::string OffsetText(minutes utcOffset) {
    const long long total = utcOffset.count();
    const long long magnitude = total < 0 ? -total : total;
    char buffer[48];
    std::snprintf(buffer, sizeof(buffer), "%c%02lld:%02lld", total < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return buffer;
}

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
    return value ? Fixed(*value, 3) : "null";
}

std::string TextAngle(const std::optional<double>& value) {
    return value ? Fixed(*value, 1) + "°" : "не вычисляется";
}

std::string Hemispheres(double value, const char* positive, const char* negative) {
    return Shortest(std::fabs(value)) + "° " + (value < 0.0 ? negative : positive);
}

}  // namespace

std::optional<OrbitalPosition> ParseOrbitalPosition(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) {
        return std::nullopt;
    }
    const char letter = Upper(text.back());
    if (letter != 'E' && letter != 'W') {
        return std::nullopt;
    }
    const auto degrees = UnsignedDecimal(text.substr(0, text.size() - 1));
    if (!degrees || *degrees > 180.0) {
        return std::nullopt;
    }
    return OrbitalPosition{*degrees, letter};
}

std::optional<double> ParseLatitude(std::string_view text) {
    return ParseAngle(text, 90.0, 'N', 'S');
}

std::optional<double> ParseLongitude(std::string_view text) {
    return ParseAngle(text, 180.0, 'E', 'W');
}

std::optional<CivilDate> ParseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto number = [&](std::size_t from, std::size_t count) -> std::optional<int> {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return std::nullopt;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const auto year = number(0, 4);
    const auto month = number(5, 2);
    const auto day = number(8, 2);
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const std::chrono::year_month_day ymd{std::chrono::year{*year},
                                          std::chrono::month{static_cast<unsigned>(*month)},
                                          std::chrono::day{static_cast<unsigned>(*day)}};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return CivilDate{*year, *month, *day};
}

double MagneticAzimuth(double trueAzimuthDeg, double declinationDeg) {
    return AzimuthInTurn(trueAzimuthDeg - declinationDeg);
}

AimResult ComputeAim(const AimRequest& request) {
    AimResult result;
    result.request = request;
    const GeoPosition& site = request.site;

    const MagneticField field = ComputeMagneticField(site, DecimalYear(request.date));
    result.declinationDeg = field.declinationDeg;
    result.modelExpired = field.expired;
    if (field.expired) {
        result.warnings.push_back(std::string("Дата вне срока модели ") + MagneticModelName() +
                                  " (" + Fixed(MagneticModelStartYear(), 1) + "–" +
                                  Fixed(MagneticModelEndYear(), 1) +
                                  "): склонение приблизительное");
    }

    // The program's own formulas take magnitudes with their hemispheres.
    const Site pointingSite{std::fabs(site.latitudeDeg),
                            site.latitudeDeg < 0.0 ? LatitudeRule::South : LatitudeRule::North,
                            std::fabs(site.longitudeDeg),
                            site.longitudeDeg < 0.0 ? LongitudeRule::West : LongitudeRule::East};
    const SatellitePosition satellite{
        request.satellite.hemisphere == 'W' ? LongitudeRule::West : LongitudeRule::East,
        request.satellite.degrees};
    const auto pointing = ComputePointing(pointingSite, satellite);

    std::optional<double> sunAzimuth;
    if (pointing) {
        result.azimuthDeg = AzimuthInTurn(pointing->azimuthDeg);
        result.magneticAzimuthDeg = MagneticAzimuth(*result.azimuthDeg, field.declinationDeg);
        result.elevationDeg = pointing->elevationDeg;
        result.visible = pointing->visible;
        result.rotationDeg = ComputeRotation(pointing->coordinates);
        sunAzimuth = result.azimuthDeg;
        if (!pointing->visible) {
            result.warnings.push_back("Спутник ниже горизонта");
        }
    } else {
        result.warnings.push_back(
            "Азимут, угол места и поворот конвертера для этого места не вычисляются");
        sunAzimuth = GreatCircleAzimuth(site, request.satellite.EastDeg());
        if (!sunAzimuth) {
            result.warnings.push_back("Спутник в зените: у него нет азимута для солнца");
        }
    }
    if (sunAzimuth) {
        result.sun = SunAlignment(site, request.date, *sunAzimuth, request.utcOffset);
    }
    return result;
}

std::string FormatIsoMinute(sys_seconds utc, minutes utcOffset) {
    const LocalTime local = ToLocalMinute(utc, utcOffset);
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%04d-%02u-%02uT%s:00",
                  static_cast<int>(local.date.year()), static_cast<unsigned>(local.date.month()),
                  static_cast<unsigned>(local.date.day()), Clock(local.time).c_str());
    return buffer + OffsetText(utcOffset);
}

std::string FormatAimText(const AimResult& result) {
    const AimRequest& request = result.request;
    char date[16];
    std::snprintf(date, sizeof(date), "%04d-%02d-%02d", request.date.year, request.date.month,
                  request.date.day);
    std::string text;
    const auto line = [&text](std::string_view label, const std::string& value) {
        text.append(label).append(": ").append(value).append("\n");
    };
    line("Спутник", Shortest(request.satellite.degrees) + request.satellite.hemisphere);
    line("Место", Hemispheres(request.site.latitudeDeg, "с.ш.", "ю.ш.") + ", " +
                      Hemispheres(request.site.longitudeDeg, "в.д.", "з.д."));
    line("Дата", date);
    line("Азимут истинный",
         result.azimuthDeg ? Azimuth1(*result.azimuthDeg) + "°" : "не вычисляется");
    line("Магнитный азимут",
         result.magneticAzimuthDeg ? Azimuth1(*result.magneticAzimuthDeg) + "°" : "не вычисляется");
    line("Магнитное склонение",
         SignedFixed(result.declinationDeg, 1) + "° (" + MagneticModelName() + ")");
    line("Угол места", TextAngle(result.elevationDeg));
    line("Поворот конвертера", TextAngle(result.rotationDeg));
    line("Спутник виден",
         result.visible ? (*result.visible ? "да" : "нет") : std::string("не вычисляется"));
    if (result.sun) {
        line("Солнце на этом азимуте",
             Clock(ToLocalMinute(result.sun->utc, request.utcOffset).time) + " (UTC" +
                 OffsetText(request.utcOffset) + "), высота " +
                 Fixed(result.sun->apparentElevationDeg, 1) + "°");
    } else {
        line("Солнце на этом азимуте", "в этот день не бывает");
    }
    for (const std::string& warning : result.warnings) {
        line("Предупреждение", warning);
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
    for (const std::string& warning : result.warnings) {
        warnings += (warnings.size() > 1 ? ", " : "") + JsonString(warning);
    }
    key("warnings", warnings + "]");
    return json + "}\n";
}

PictureAimTexts MakePictureAimTexts(const GeoPosition& site, double trueAzimuthDeg, sys_seconds now,
                                    minutes utcOffset) {
    using namespace std::chrono;
    const year_month_day today{floor<days>(now + utcOffset)};
    const CivilDate date{static_cast<int>(today.year()), static_cast<int>(unsigned{today.month()}),
                         static_cast<int>(unsigned{today.day()})};
    const MagneticField field = ComputeMagneticField(site, DecimalYear(date));

    PictureAimTexts texts;
    const bool known = std::isfinite(trueAzimuthDeg);
    texts.magnetic = "Магнитный азимут: " +
                     (known ? Azimuth1(MagneticAzimuth(trueAzimuthDeg, field.declinationDeg)) + "°"
                            : std::string("не вычисляется")) +
                     " (склонение " + SignedFixed(field.declinationDeg, 1) + "°, " +
                     MagneticModelName() + (field.expired ? ", срок модели истёк)" : ")");
    const auto sun =
        known ? SunAlignment(site, date, AzimuthInTurn(trueAzimuthDeg), utcOffset) : std::nullopt;
    texts.sun = sun ? "Солнце на этом азимуте: " + Clock(ToLocalMinute(sun->utc, utcOffset).time) +
                          " (высота " + Fixed(sun->apparentElevationDeg, 1) + "°)"
                    : "Солнце на этом азимуте сегодня не бывает";
    return texts;
}

}  // namespace palquin
