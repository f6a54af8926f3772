// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/site.h"

#include <cmath>

#include "core/numeric_value.h"

namespace palquin {

LatitudeRule LatitudeRuleOf(std::string_view letter) {
    return letter == "N" ? LatitudeRule::North : LatitudeRule::South;
}

LongitudeRule LongitudeRuleOf(std::string_view letter) {
    if (letter == "E") {
        return LongitudeRule::East;
    }
    return letter == "W" ? LongitudeRule::West : LongitudeRule::NoRule;
}

Site ToSite(const SiteFields& fields) {
    return {fields.latitudeDeg, LatitudeRuleOf(fields.ns), fields.longitudeDeg,
            LongitudeRuleOf(fields.ew)};
}

Site ToSite(SiteDeg site) {
    return {std::abs(site.latitudeDeg),
            site.latitudeDeg < 0.0 ? LatitudeRule::South : LatitudeRule::North,
            std::abs(site.longitudeDeg),
            site.longitudeDeg < 0.0 ? LongitudeRule::West : LongitudeRule::East};
}

SatellitePosition ToSatellitePosition(std::string_view positionText) {
    const std::string_view letter = positionText.substr(0, positionText.empty() ? 0 : 1);
    const double degrees = NumericValue(positionText.size() > 2 ? positionText.substr(2) : "");
    return {LongitudeRuleOf(letter), degrees};
}

}  // namespace palquin
