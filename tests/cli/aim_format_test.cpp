// SPDX-License-Identifier: GPL-3.0-or-later
// What --aim writes, from the aim of three sites.
#include "cli/aim_format.h"

#include <gtest/gtest.h>

namespace palquin {
namespace {

using namespace std::chrono;

// Every value and the warnings.
TEST(AimFormatTest, JsonForThreeSites) {
    const std::pair<AimRequest, const char*> rows[] = {
        // A site in Moscow and 36 E on midsummer's day, checked by hand; the sun reaches the
        // satellite's azimuth a few minutes after local noon (12:31).
        {{{55.75, 37.6}, {36, 'E'}, {2026, 6, 21}, 180min},
         R"({"azimuthDeg": 181.935, "magneticAzimuthDeg": 169.828, "declinationDeg": 12.108, )"
         R"("elevationDeg": 26.463, "rotationDeg": 1.089, "visible": true, )"
         R"("sunAlignment": "2026-06-21T12:36:00+03:00", "sunElevationDeg": 57.687, "warnings": []})"},
        // From the equator a satellite is due east or due west (the formulas' limit there), and
        // the sun is there only on the day of an equinox.
        {{{0.0, 30.0}, {0, 'E'}, {2026, 3, 20}, 180min},
         R"({"azimuthDeg": 270.000, "magneticAzimuthDeg": 268.318, "declinationDeg": 1.682, )"
         R"("elevationDeg": 55.034, "rotationDeg": 90.000, "visible": true, )"
         R"("sunAlignment": "2026-03-20T17:37:00+03:00", "sunElevationDeg": 22.747, "warnings": []})"},
        // A date past the model's years and a satellite below Moscow's horizon.
        {{{55.75, 37.6}, {140, 'W'}, {2031, 1, 1}, 180min},
         R"({"azimuthDeg": 177.097, "magneticAzimuthDeg": 164.560, "declinationDeg": 12.537, )"
         R"("elevationDeg": -40.783, "rotationDeg": 1.633, "visible": false, )"
         R"("sunAlignment": "2031-01-01T12:21:00+03:00", "sunElevationDeg": 11.286, "warnings": )"
         R"(["Дата вне срока модели WMM2025 (2025.0–2030.0): склонение приблизительное", )"
         R"("Спутник ниже горизонта"]})"},
    };
    for (const auto& [request, json] : rows) {
        EXPECT_EQ(FormatAimJson(ComputeAim(request)), std::string(json) + "\n");
    }
}

}  // namespace
}  // namespace palquin
