// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/aim.h"

#include <charconv>
#include <cmath>

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
        result.warnings.push_back(AimWarning::ModelExpired);
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
            result.warnings.push_back(AimWarning::BelowHorizon);
        }
    } else {
        result.warnings.push_back(AimWarning::NoPointing);
        sunAzimuth = GreatCircleAzimuth(site, request.satellite.EastDeg());
        if (!sunAzimuth) {
            result.warnings.push_back(AimWarning::Overhead);
        }
    }
    if (sunAzimuth) {
        result.sun = SunAlignment(site, request.date, *sunAzimuth, request.utcOffset);
    }
    return result;
}

PictureAim ComputePictureAim(const GeoPosition& site, double trueAzimuthDeg, sys_seconds now,
                             minutes utcOffset) {
    using namespace std::chrono;
    const year_month_day today{floor<days>(now + utcOffset)};
    const CivilDate date{static_cast<int>(today.year()), static_cast<int>(unsigned{today.month()}),
                         static_cast<int>(unsigned{today.day()})};
    const MagneticField field = ComputeMagneticField(site, DecimalYear(date));

    PictureAim aim;
    aim.declinationDeg = field.declinationDeg;
    aim.modelExpired = field.expired;
    if (std::isfinite(trueAzimuthDeg)) {
        aim.magneticAzimuthDeg = MagneticAzimuth(trueAzimuthDeg, field.declinationDeg);
        aim.sun = SunAlignment(site, date, AzimuthInTurn(trueAzimuthDeg), utcOffset);
    }
    return aim;
}

}  // namespace palquin
