#include "core/numeric_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/row_name.h"

namespace palquin {
namespace {

using testing_support::RowName;

constexpr double kInf = std::numeric_limits<double>::infinity();

struct NumericRow {
    const char* name;
    std::vector<std::string> texts;  // every one of them stands for expected
    double expected;
};

class NumericValueTest : public testing::TestWithParam<NumericRow> {};

TEST_P(NumericValueTest, ReadsTheLeadingNumber) {
    for (const std::string& text : GetParam().texts) {
        const double value = NumericValue(text);
        // Within four units in the last place: the reader rounds once, from the decimal digits.
        EXPECT_DOUBLE_EQ(value, GetParam().expected) << '"' << text << '"';
        EXPECT_FALSE(value == 0.0 && std::signbit(value)) << '"' << text << "\" gave -0";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericValueTest,
    testing::Values(
        NumericRow{"Decimal", {"55.75", "55.75 N"}, 55.75},
        NumericRow{"BlanksTabsLineFeedsSkippedAnywhere", {"1 2", "\t\n+1 2", "1 2x"}, 12.0},
        NumericRow{"OnePointThenStop", {"12.3.4", "1 2 . 3", "12.3e", "12.3e+"}, 12.3},
        NumericRow{"SignedWithoutLeadingZero", {"-.5", " - . 5", "-5e-1"}, -0.5},
        NumericRow{"StopsAtCommaAndTrailingPoint", {"1,5", "1.", "1.e"}, 1.0},
        // E or D in either case, signed, with blanks or leading zeros; a point ends the exponent.
        NumericRow{
            "Exponents", {"1e3", "1 E +3", "1D3", "1d0000000003", "1e3.2", "10000d-1"}, 1000.0},
        // A carriage return is no blank; "E 13.0" has an exponent letter but no mantissa.
        NumericRow{"NoNumber", {"", "-", "+-7", "..5", "\r4", "E 13.0", "e5"}, 0.0},
        NumericRow{
            "TinyIsZeroNeverMinusZero",
            {"-0", "1e-400", "-1e-400", "-1e-99999999999", "-0." + std::string(400, '0') + "1"},
            0.0},
        NumericRow{"HugeIsInfinite", {"1e400", "1e99999999999", std::string(400, '9')}, kInf},
        NumericRow{"HugeNegative", {"-1e400", "-1e99999999999"}, -kInf},
        NumericRow{"Subnormal", {"1e-310"}, 1e-310},
        NumericRow{"LongMantissas",
                   {"1" + std::string(400, '0') + "e-400", "0." + std::string(399, '0') + "1e400"},
                   1.0},
        NumericRow{"LongFraction", {"0." + std::string(500, '3')}, 1.0 / 3.0}),
    RowName());

}  // namespace
}  // namespace palquin
