// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/numeric_value.h"
#include "core/result_number.h"

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
        {1.0, {"1,5", "1.", "1.e", "1" + zeros + "e-400", "0." + zeros.substr(1) + "1e400"}},
        // E or D in either case, signed, with blanks or leading zeros; a point ends the exponent.
        {1000.0, {"1e3", "1 E +3", "1D3", "1d0000000003", "1e3.2", "10000d-1"}},
        // A carriage return is no blank; "E 13.0" has an exponent letter but no mantissa.
        {0.0, {"", "-", "+-7", "..5", "\r4", "E 13.0", "e5"}},
        {0.0, {"-0", "1e-400", "-1e-400", "-1e-99999999999", "-0." + zeros + "1"}},
        {HUGE_VAL, {"1e400", "1e99999999999", std::string(400, '9')}},
        {-HUGE_VAL, {"-1e400", "-1e99999999999"}},
        {1e-310, {"1e-310"}},
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

using enum NumberPattern;

// Non-finite values are written " 0": callers should not pass them, but must not get garbage.
// Exact binary ties (0.0625, 1.25, 9.75, 0.125, ...) go away from zero, not to even; 2.675 and
// -1.005 lie just below the tie.
TEST(FormatResultTest, WritesTheResultForm) {
    const struct {
        NumberPattern pattern;
        const char* expected;  ///< the values as written, joined by '|'
        std::vector<double> values;
    } rows[] = {
        {Grouped3,
         " 208.981| 259.7|-15.318| .5| 180| 180| 0| 0| 0| 1 234.568| 1 234 567.891| 1 000| .063",
         {208.98141, 259.69963, -15.31827, 0.5, 180.0, 179.9996, -0.0004, 0.0, HUGE_VAL, 1234.5678,
          1234567.891, 999.9996, 0.0625}},
        {Plain1,
         " 1.1|-24.7|-.5| 0| 10| 1000| 1.3| 9.8",
         {1.08913, -24.743, -0.5, -0.0, 9.96, 1000.0, 1.25, 9.75}},
        {Grouped1,
         "-1 234.5| 1 000|-1 000| 999| 123 456| 123 456 789 012 345.7",
         {-1234.5, 1000.0, -999.96, 999.0, 123456.0, 123456789012345.678}},
        {Fixed2,
         " 208.98| 259.7|-15.32| 100| 0| 0| 0| 100000000000000000000",
         {208.9814, 259.6996, -15.3183, 100.0, 0.004, -0.004, double{NAN}, 1e20}},
        {Fixed2,
         " .13|-.13| 1099511627776.13| .12| 2.67|-1",
         {0.125, -0.125, 1099511627776.125, 0.12499999999999999, 2.675, -1.005}},
    };
    for (const auto& row : rows) {
        std::string written;
        for (const double value : row.values) {
            written += (written.empty() ? "" : "|") + FormatResult(value, row.pattern);
        }
        EXPECT_EQ(written, row.expected);
    }
}

}  // namespace
}  // namespace palquin
