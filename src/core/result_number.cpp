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

}  // namespace

std::string FormatResult(double x, NumberPattern pattern) {
    if (!std::isfinite(x)) {
        return " 0";
    }
    const int decimals = DecimalsOf(pattern);
    const double magnitude = std::fabs(x);
    const int length = std::snprintf(nullptr, 0, "%.*f", decimals, magnitude);
    std::string rounded(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(rounded.data(), rounded.size(), "%.*f", decimals, magnitude);
    rounded.resize(static_cast<size_t>(length));

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
