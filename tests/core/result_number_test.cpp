#include "core/result_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace palquin {
namespace {

struct FormatCase {
    const char* name;
    double value;
    NumberPattern pattern;
    const char* expected;
};

// Failure messages name the row instead of dumping its bytes.
void PrintTo(const FormatCase& row, std::ostream* out) {
    *out << row.name;
}

class FormatResultTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatResultTest, WritesTheResultForm) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatResult(c.value, c.pattern), c.expected) << "value " << c.value;
}

constexpr auto kG3 = NumberPattern::Grouped3;
constexpr auto kP1 = NumberPattern::Plain1;
constexpr auto kG1 = NumberPattern::Grouped1;
constexpr auto kF2 = NumberPattern::Fixed2;
constexpr double kInf = std::numeric_limits<double>::infinity();

const FormatCase kCases[] = {
    {"AzimuthGrouped3", 208.98141, kG3, " 208.981"},
    {"TrailingZerosDropped", 259.69963, kG3, " 259.7"},
    {"Negative", -15.31827, kG3, "-15.318"},
    {"BelowOneWithoutZero", 0.5, kG3, " .5"},
    {"NegativeBelowOne", -0.5, kP1, "-.5"},
    {"RoundsToZeroFixed2", 0.004, kF2, " 0"},
    {"NegativeRoundsToZero", -0.004, kF2, " 0"},
    {"NegativeRoundsToZeroGrouped3", -0.0004, kG3, " 0"},
    {"ExactZero", 0.0, kG3, " 0"},
    {"NegativeZero", -0.0, kP1, " 0"},
    {"WholeNumberWithoutPoint", 180.0, kG3, " 180"},
    {"WholeZerosKept", 100.0, kF2, " 100"},
    {"RoundsUpToWhole", 179.9996, kG3, " 180"},
    {"RotationPlain1", 1.08913, kP1, " 1.1"},
    {"NegativeRotation", -24.743, kP1, "-24.7"},
    {"Fixed2", 208.9814, kF2, " 208.98"},
    {"Fixed2OneDecimal", 259.6996, kF2, " 259.7"},
    {"Fixed2Negative", -15.3183, kF2, "-15.32"},
    {"ThousandsGrouped3", 1234.5678, kG3, " 1 234.568"},
    {"ThousandsGrouped1Negative", -1234.5, kG1, "-1 234.5"},
    {"MillionsGrouped3", 1234567.891, kG3, " 1 234 567.891"},
    {"ThousandGrouped1", 1000.0, kG1, " 1 000"},
    {"ThousandPlain1", 1000.0, kP1, " 1000"},
    {"ThousandFixed2", 1000.0, kF2, " 1000"},
    {"RoundingCarriesIntoGroup", 999.9996, kG3, " 1 000"},
    {"NegativeCarryIntoGroup", -999.96, kG1, "-1 000"},
    {"BelowThousandNotGrouped", 999.0, kG1, " 999"},
    {"SixDigitsGrouped", 123456.0, kG1, " 123 456"},
    // Exact binary ties round away from zero, not to even.
    {"TieFixed2", 0.125, kF2, " .13"},
    {"NegativeTieFixed2", -0.125, kF2, "-.13"},
    {"TiePlain1", 1.25, kP1, " 1.3"},
    {"TieGrouped3", 0.0625, kG3, " .063"},
    {"JustBelowTie", 0.12499999999999999, kF2, " .12"},
    {"TieOnTheLastDecimal", 9.75, kP1, " 9.8"},
    {"CarryIntoWhole", 9.96, kP1, " 10"},
    {"NotQuiteATie", 2.675, kF2, " 2.67"},  // the double lies just below 2.675
    {"NotQuiteATieNegative", -1.005, kF2, "-1"},
    {"LargeTie", 1099511627776.125, kF2, " 1099511627776.13"},
    {"LargeGrouped", 123456789012345.678, kG1, " 123 456 789 012 345.7"},
    {"Huge", 1e20, kF2, " 100000000000000000000"},
    {"Infinity", kInf, kG3, " 0"},
    {"NotANumber", std::numeric_limits<double>::quiet_NaN(), kF2, " 0"},
};

INSTANTIATE_TEST_SUITE_P(Values, FormatResultTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FormatCase>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
}  // namespace palquin
