#include "core/result_number.h"

#include <cmath>
#include <cstdio>

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

// Inserts a blank between every three digits of a whole part, counted from the right.
std::string GroupDigits(const std::string& digits) {
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0) {
            grouped.push_back(' ');
        }
        grouped.push_back(digits[k]);
    }
    return grouped;
}

// |x| rounded to the given decimals, half away from zero, as "whole.fraction" digits. printf
// alone rounds exact binary ties to even (0.125 -> "0.12"); reading the digit after the last kept
// one from the exact expansion decides ties the way people round.
std::string RoundedMagnitude(double magnitude, int decimals) {
    constexpr int kExactDecimals = 40;  // far below the last bit of any tie at three decimals
    // DBL_MAX has 309 whole digits; the buffer holds them, the point and the decimals.
    char buffer[400];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", kExactDecimals, magnitude);
    const std::string exact(buffer, static_cast<size_t>(length));

    const size_t cut = exact.find('.') + 1 + static_cast<size_t>(decimals);
    const bool roundUp = exact[cut] >= '5';
    std::string rounded = exact.substr(0, cut);
    for (size_t k = rounded.size(); roundUp && k-- > 0;) {
        if (rounded[k] == '.') {
            continue;
        }
        if (rounded[k] != '9') {
            ++rounded[k];
            return rounded;
        }
        rounded[k] = '0';
    }
    return roundUp ? "1" + rounded : rounded;
}

}  // namespace

std::string FormatResult(double x, NumberPattern pattern) {
    if (!std::isfinite(x)) {
        return " 0";
    }
    const std::string rounded = RoundedMagnitude(std::fabs(x), DecimalsOf(pattern));

    const size_t point = rounded.find('.');
    std::string whole = rounded.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : rounded.substr(point + 1);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    if (whole == "0") {
        whole.clear();
    }
    if (whole.empty() && fraction.empty()) {
        return " 0";
    }
    if (GroupsThousands(pattern)) {
        whole = GroupDigits(whole);
    }
    std::string text(1, x < 0 ? '-' : ' ');
    text += whole;
    if (!fraction.empty()) {
        text += '.';
        text += fraction;
    }
    return text;
}

}  // namespace palquin
