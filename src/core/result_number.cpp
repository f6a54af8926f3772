// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/result_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace palquin {
namespace {

int DecimalsOf(NumberPattern pattern) {
    switch (pattern) {
        case NumberPattern::Grouped3:
            return 3;
        case NumberPattern::Plain1:
        case NumberPattern::Grouped1:
            return 1;
        case NumberPattern::Fixed2:
            return 2;
    }
    return 0;
}

bool GroupsThousands(NumberPattern pattern) {
    return pattern == NumberPattern::Grouped3 || pattern == NumberPattern::Grouped1;
}

// Room for the 309 whole digits of DBL_MAX, a carry digit, the point and the decimals.
using DigitBuffer = char[320];

// Below this, |x| * 10^decimals stays far under 2^52, where every half is representable.
constexpr double kExactProductLimit = 1e12;

// Writes |x| rounded to the given decimals, half away from zero, as "whole.fraction" digits into
// buffer and returns them. Rounding looks at the exact value of the double: 0.125 is a true tie
// and goes up, 2.675 is really 2.67499... and goes down.
std::string_view RoundedMagnitude(double magnitude, int decimals, DigitBuffer& buffer) {
    char* const first = buffer + 1;  // buffer[0] is kept for a carry out of the whole part
    char* const end = std::end(buffer);
    if (magnitude < kExactProductLimit) {
        // The product and its rounding error (fma) hold the scaled value exactly.
        constexpr std::uint64_t kScale[] = {1, 10, 100, 1000};
        const std::uint64_t scale = kScale[decimals];
        const double product = magnitude * static_cast<double>(scale);
        const double error = std::fma(magnitude, static_cast<double>(scale), -product);
        const double floor = std::floor(product);
        const double rest = product - floor;
        const bool up = rest > 0.5 || (rest == 0.5 && error >= 0.0);
        const std::uint64_t units = static_cast<std::uint64_t>(floor) + (up ? 1 : 0);

        char* last = std::to_chars(first, end, units / scale).ptr;
        if (decimals > 0) {
            *last++ = '.';
            std::uint64_t fraction = units % scale;
            for (int k = decimals; k-- > 0;) {
                last[k] = static_cast<char>('0' + fraction % 10);
                fraction /= 10;
            }
            last += decimals;
        }
        return {first, last};
    }

    // Large values: to_chars rounds exact binary ties to even, so those are rounded up by hand.
    // A tie at d decimals is a value whose 2^(d+1) multiple is an odd integer; it has exactly
    // d+1 decimals, the last a 5.
    const double scaled = std::ldexp(magnitude, decimals + 1);
    const bool tie = scaled == std::floor(scaled) && std::fmod(scaled, 2.0) == 1.0;
    if (!tie) {
        return {first,
                std::to_chars(first, end, magnitude, std::chars_format::fixed, decimals).ptr};
    }
    char* last = std::to_chars(first, end, magnitude, std::chars_format::fixed, decimals + 1).ptr;
    --last;  // drop the 5
    for (char* digit = last; digit-- != first;) {
        if (*digit == '.') {
            continue;
        }
        if (*digit != '9') {
            ++*digit;
            return {first, last};
        }
        *digit = '0';
    }
    buffer[0] = '1';
    return {buffer, last};
}

}  // namespace

std::string FormatResult(double x, NumberPattern pattern) {
    if (!std::isfinite(x)) {
        return " 0";
    }
    DigitBuffer buffer;
    const std::string_view rounded = RoundedMagnitude(std::fabs(x), DecimalsOf(pattern), buffer);

    const size_t point = rounded.find('.');
    std::string_view whole = rounded.substr(0, point);
    std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : rounded.substr(point + 1);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    if (whole == "0") {
        whole = {};
    }
    if (whole.empty() && fraction.empty()) {
        return " 0";
    }

    std::string text;
    text.reserve(2 + whole.size() + whole.size() / 3 + fraction.size());
    text.push_back(x < 0 ? '-' : ' ');
    if (GroupsThousands(pattern)) {
        // One blank between every three digits, counted from the right.
        for (size_t k = 0; k < whole.size(); ++k) {
            if (k > 0 && (whole.size() - k) % 3 == 0) {
                text.push_back(' ');
            }
            text.push_back(whole[k]);
        }
    } else {
        text.append(whole);
    }
    if (!fraction.empty()) {
        text.push_back('.');
        text.append(fraction);
    }
    return text;
}

}  // namespace palquin
