#include "core/numeric_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace palquin {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Relative: the reader goes through a decimal conversion, nothing else, so it is exact but for
// the last bit.
constexpr double kRelativeTolerance = 1e-15;

struct NumericCase {
    const char* name;
    std::string text;
    double expected;
};

// Failure messages name the row instead of dumping its bytes.
void PrintTo(const NumericCase& row, std::ostream* out) {
    *out << row.name;
}

class NumericValueTest : public testing::TestWithParam<NumericCase> {};

TEST_P(NumericValueTest, ReadsTheLeadingNumber) {
    const NumericCase& c = GetParam();
    const double value = NumericValue(c.text);
    if (std::isinf(c.expected)) {
        EXPECT_EQ(value, c.expected) << "text \"" << c.text << "\"";
        return;
    }
    ASSERT_TRUE(std::isfinite(value)) << "text \"" << c.text << "\" gave " << value;
    EXPECT_NEAR(value, c.expected, std::fabs(c.expected) * kRelativeTolerance)
        << "text \"" << c.text << "\"";
    if (c.expected == 0.0) {
        EXPECT_FALSE(std::signbit(value)) << "text \"" << c.text << "\" gave -0";
    }
}

std::string LongDigits(char digit, size_t count) {
    return std::string(count, digit);
}

const NumericCase kCases[] = {
    {"Decimal", "55.75", 55.75},
    {"SecondPointStops", "12.3.4", 12.3},
    {"BlankInsideDigits", "1 2", 12.0},
    {"BlanksAroundPoint", "1 . 5", 1.5},
    {"ExponentE", "1e3", 1000.0},
    {"ExponentCapitalD", "1D3", 1000.0},
    {"ExponentSmallDNegative", "1d-2", 0.01},
    {"ExponentPositiveSign", "2E+2", 200.0},
    {"ExponentWithBlanks", "1 e 3", 1000.0},
    {"ExponentLeadingZeros", "1e0000000005", 1e5},
    {"OnlyMinus", "-", 0.0},
    {"Empty", "", 0.0},
    {"LeadingBlanksTrailingGarbage", "  -1.5x", -1.5},
    {"TabsAndLineFeeds", "\t\n 4", 4.0},
    {"CarriageReturnIsNotSkipped", "\r4", 0.0},
    {"NoLeadingZero", ".5", 0.5},
    {"TrailingPoint", "5.", 5.0},
    {"DoublePoint", "..5", 0.0},
    {"PlusSign", "+7", 7.0},
    {"TwoSigns", "+-7", 0.0},
    {"BlankAfterSign", "- 3", -3.0},
    {"ExponentWithoutMantissa", "e5", 0.0},
    {"ExponentWithoutDigits", "1e", 1.0},
    {"ExponentSignWithoutDigits", "1e+", 1.0},
    {"PointInExponentStops", "1.5e3.2", 1500.0},
    {"CommaIsNotAPoint", "1,5", 1.0},
    {"LetterFirst", "E 13.0", 0.0},
    {"NegativeZero", "-0", 0.0},
    {"HugeExponent", "1e400", kInf},
    {"HugeNegativeValue", "-1e400", -kInf},
    {"TinyExponent", "1e-400", 0.0},
    {"TinyNegativeValue", "-1e-400", 0.0},
    {"Subnormal", "1e-310", 1e-310},
    {"ExponentBeyondLong", "1e99999999999", kInf},
    {"NegativeExponentBeyondLong", "1e-99999999999", 0.0},
    {"LongIntegerOverflows", LongDigits('9', 400), kInf},
    {"LongFraction", "0." + LongDigits('3', 500), 1.0 / 3.0},
    {"LongFractionUnderflows", "0." + LongDigits('0', 400) + "1", 0.0},
    {"LongMantissaWithNegativeExponent", "1" + LongDigits('0', 400) + "e-400", 1.0},
    {"TinyMantissaWithPositiveExponent", "0." + LongDigits('0', 399) + "1e400", 1.0},
};

INSTANTIATE_TEST_SUITE_P(Texts, NumericValueTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<NumericCase>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
}  // namespace palquin
