// SPDX-License-Identifier: GPL-3.0-or-later
// The --aim options reach the parsers as typed; whatever they accept must be in range and must
// give a result without crashing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "calc/aim.h"
#include "cli/aim_format.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto latitude = palquin::ParseLatitude(text);
    FUZZ_CHECK(!latitude || (std::isfinite(*latitude) && std::fabs(*latitude) <= 90.0));
    const auto longitude = palquin::ParseLongitude(text);
    FUZZ_CHECK(!longitude || (std::isfinite(*longitude) && std::fabs(*longitude) <= 180.0));
    const auto position = palquin::ParseOrbitalPosition(text);
    FUZZ_CHECK(!position || (position->degrees >= 0.0 && position->degrees <= 180.0));
    const auto date = palquin::ParseDate(text);
    if (date) {
        char back[16];
        std::snprintf(back, sizeof(back), "%04d-%02d-%02d", date->year, date->month, date->day);
        FUZZ_CHECK(text == back);
    }
    if (latitude || longitude || position) {
        palquin::AimRequest request{{55.75, 37.6}, {36.0, 'E'}, {2026, 6, 21}};
        request.site.latitudeDeg = latitude.value_or(request.site.latitudeDeg);
        request.site.longitudeDeg = longitude.value_or(request.site.longitudeDeg);
        request.satellite = position.value_or(request.satellite);
        const palquin::AimResult result = palquin::ComputeAim(request);
        FUZZ_CHECK(std::isfinite(result.declinationDeg));
        FUZZ_CHECK(!result.magneticAzimuthDeg ||
                   (*result.magneticAzimuthDeg >= 0.0 && *result.magneticAzimuthDeg < 360.0));
        FUZZ_CHECK(palquin::FormatAimJson(result).back() == '\n');
    }
    return 0;
}
