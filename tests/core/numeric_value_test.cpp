#include "core/numeric_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace palquin {
namespace {

TEST(NumericValueTest, ReadsTheLeadingNumber) {
    const std::string zeros(400, '0');
    const struct {
        double expected;
        std::vector<std::string> texts;  ///< every one of them stands for expected
    } rows[] = {
        {55.75, {"55.75", "55.75 N"}},
        {12.0, {"1 2", "\t\n+1 2", "1 2x"}},  // blanks, tabs and line feeds skipped anywhere
        {12.3, {"12.3.4", "1 2 . 3", "12.3e", "12.3e+"}},
        {-0.5, {"-.5", " - . 5", "-5e-1"}},
        {1.0, {"1,5", "1.", "1.e"}},
        // E or D in either case, signed, with blanks or leading zeros; a point ends the exponent.
        {1000.0, {"1e3", "1 E +3", "1D3", "1d0000000003", "1e3.2", "10000d-1"}},
        // A carriage return is no blank; "E 13.0" has an exponent letter but no mantissa.
        {0.0, {"", "-", "+-7", "..5", "\r4", "E 13.0", "e5"}},
        {0.0, {"-0", "1e-400", "-1e-400", "-1e-99999999999", "-0." + zeros + "1"}},
        {HUGE_VAL, {"1e400", "1e99999999999", std::string(400, '9')}},
        {-HUGE_VAL, {"-1e400", "-1e99999999999"}},
        {1e-310, {"1e-310"}},
        {1.0, {"1" + zeros + "e-400", "0." + zeros.substr(1) + "1e400"}},
        {1.0 / 3.0, {"0." + std::string(500, '3')}},
    };
    for (const auto& row : rows) {
        for (const std::string& text : row.texts) {
            const double value = NumericValue(text);
            // Within four units in the last place: the reader rounds once, from the decimal digits.
            EXPECT_DOUBLE_EQ(value, row.expected) << '"' << text << '"';
            EXPECT_FALSE(value == 0.0 && std::signbit(value)) << '"' << text << "\" gave -0";
        }
    }
}

}  // namespace
}  // namespace palquin
