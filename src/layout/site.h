// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one place where the texts a user gives for a site and a satellite become the typed values
// the pointing formulas take. The letter rules live here and nowhere else.

#include <string>
#include <string_view>

#include "calc/pointing.h"

namespace palquin {

/// The site as the window's fields give it: the latitude and longitude already read as numbers,
/// the hemisphere boxes as their texts.
struct SiteFields {
    double latitudeDeg = 0.0;
    std::string ns;  ///< exactly "N" is north; any other text is south
    double longitudeDeg = 0.0;
    std::string ew;  ///< exactly "E" or "W"; any other text (lower case included) is no rule
};

/// A site in signed degrees: north and east positive.
struct SiteDeg {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
};

/// "N" is north, anything else south.
LatitudeRule LatitudeRuleOf(std::string_view letter);

/// "E" is east, "W" west, anything else (lower case included) no rule.
LongitudeRule LongitudeRuleOf(std::string_view letter);

/// The site the fields describe.
Site ToSite(const SiteFields& fields);

/// A signed site as magnitudes with their hemispheres: a negative latitude is south, a negative
/// longitude west.
Site ToSite(SiteDeg site);

/// A position text such as "E 13.0": the hemisphere by its first character, the degrees read
/// with NumericValue from the third character on (none is 0).
SatellitePosition ToSatellitePosition(std::string_view positionText);

}  // namespace palquin
