// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numeric_value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace palquin {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Position of the next character that is not skipped, from pos on.
size_t NextSignificant(std::string_view text, size_t pos) {
    while (pos < text.size() && IsSkipped(text[pos])) {
        ++pos;
    }
    return pos;
}

// Rough decimal order of magnitude of a non-zero mantissa times 10^exponent; only its sign is
// used, to tell an overflow from an underflow.
long DecimalMagnitude(const std::string& mantissa, bool negativeExponent,
                      const std::string& exponentDigits) {
    const size_t point = mantissa.find('.');
    const std::string whole = mantissa.substr(0, point);
    const size_t firstNonZero = whole.find_first_not_of('0');
    long magnitude = 0;
    if (firstNonZero != std::string::npos) {
        magnitude = static_cast<long>(whole.size() - firstNonZero);
    } else if (point != std::string::npos) {
        const size_t firstFractionDigit = mantissa.find_first_not_of('0', point + 1);
        magnitude = -static_cast<long>(firstFractionDigit - point - 1);
    }
    const long exponent = exponentDigits.empty() ? 0 : std::stol(exponentDigits);
    return magnitude + (negativeExponent ? -exponent : exponent);
}

}  // namespace

double NumericValue(std::string_view text) {
    size_t pos = NextSignificant(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        pos = NextSignificant(text, pos + 1);
    }

    // Mantissa: digits and at most one point, blanks allowed in between.
    std::string mantissa;
    bool seenPoint = false;
    bool anyDigit = false;
    bool nonZeroDigit = false;
    for (; pos < text.size(); pos = NextSignificant(text, pos + 1)) {
        const char c = text[pos];
        if (IsDigit(c)) {
            anyDigit = true;
            nonZeroDigit = nonZeroDigit || c != '0';
            mantissa.push_back(c);
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            mantissa.push_back(c);
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }

    // Exponent: E or D in either case, optional sign, digits. Without digits it counts as 0.
    bool negativeExponent = false;
    std::string exponentDigits;
    if (pos < text.size() &&
        (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
        pos = NextSignificant(text, pos + 1);
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            negativeExponent = text[pos] == '-';
            pos = NextSignificant(text, pos + 1);
        }
        for (; pos < text.size() && IsDigit(text[pos]); pos = NextSignificant(text, pos + 1)) {
            if (!(exponentDigits.empty() && text[pos] == '0')) {
                exponentDigits.push_back(text[pos]);
            }
        }
    }

    const double sign = negative ? -1.0 : 1.0;
    if (!nonZeroDigit) {
        return 0.0 * sign + 0.0;  // never -0
    }
    // An exponent of seven or more digits is far outside any double, whatever the mantissa.
    if (exponentDigits.size() > 6) {
        return negativeExponent ? 0.0 : sign * std::numeric_limits<double>::infinity();
    }

    std::string number = mantissa;
    if (!exponentDigits.empty()) {
        number += negativeExponent ? "e-" : "e";
        number += exponentDigits;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        return DecimalMagnitude(mantissa, negativeExponent, exponentDigits) > 0
                   ? sign * std::numeric_limits<double>::infinity()
                   : 0.0;
    }
    if (error != std::errc()) {
        return 0.0;
    }
    return sign * value;
}

}  // namespace palquin
