// SPDX-License-Identifier: GPL-3.0-or-later
// Every field text and every numeric part of a catalogue line goes through NumericValue, and its
// result through the result number form.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/numeric_value.h"
#include "core/result_number.h"
#include "fuzz_check.h"

namespace {

constexpr palquin::NumberPattern kPatterns[] = {
    palquin::NumberPattern::Grouped3, palquin::NumberPattern::Plain1,
    palquin::NumberPattern::Grouped1, palquin::NumberPattern::Fixed2};

int DecimalsOf(palquin::NumberPattern pattern) {
    switch (pattern) {
        case palquin::NumberPattern::Grouped3:
            return 3;
        case palquin::NumberPattern::Fixed2:
            return 2;
        default:
            return 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double x = palquin::NumericValue(text);
    FUZZ_CHECK(!std::isnan(x));

    for (const palquin::NumberPattern pattern : kPatterns) {
        const std::string shown = palquin::FormatResult(x, pattern);
        FUZZ_CHECK(!shown.empty());
        FUZZ_CHECK(shown[0] == ' ' || shown[0] == '-');
        if (!std::isfinite(x)) {
            continue;
        }
        // Blanks are skipped on reading, so the shown text reads back as x rounded.
        const double back = palquin::NumericValue(shown);
        const double halfStep = 0.5 * std::pow(10.0, -DecimalsOf(pattern));
        FUZZ_CHECK(std::fabs(back - x) <= halfStep + 1e-12 * std::fmax(1.0, std::fabs(x)));
    }
    return 0;
}
