#include "catalogue/satellite_file.h"

#include <gtest/gtest.h>

#include "common/row_name.h"

#include "catalogue/entry.h"

namespace palquin {
namespace {

using testing_support::RowName;

using Lines = std::vector<std::string>;
using namespace std::string_literals;

struct LinesCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

class SplitLinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(SplitLinesTest, EndsLinesAtCrLfCrAndLf) {
    EXPECT_EQ(SplitLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, SplitLinesTest,
    testing::Values(
        LinesCase{"Empty", "", {}}, LinesCase{"NoLineEnd", "a", {"a"}},
        LinesCase{"FinalCrLfStartsNoLine", "a\r\n", {"a"}}, LinesCase{"CrLf", "a\r\nb", {"a", "b"}},
        LinesCase{"LoneLf", "a\nb\n", {"a", "b"}}, LinesCase{"LoneCr", "a\rb\r", {"a", "b"}},
        LinesCase{"Mixed", "a\nb\r\nc\rd", {"a", "b", "c", "d"}},
        LinesCase{"BlankLines", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        LinesCase{"OnlyCrLf", "\r\n", {""}}, LinesCase{"LfCrIsTwoLineEnds", "\n\r", {"", ""}},
        LinesCase{"CrThenCrLf", "\r\r\n", {"", ""}},
        LinesCase{"BytesKept", "\xE0\0\xFF\r\n"s, {"\xE0\0\xFF"s}}),
    RowName());

struct ParseCase {
    const char* name;
    std::string bytes;
    Lines entries;
    Lines settings;
    bool hasSeparator;
};

class ParseSatelliteFileTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseSatelliteFileTest, SplitsCatalogueAndSettings) {
    const ParseCase& c = GetParam();
    const SatelliteFileContent content = ParseSatelliteFile(c.bytes);
    EXPECT_EQ(content.entries, c.entries);
    EXPECT_EQ(content.settings, c.settings);
    EXPECT_EQ(content.hasSeparator, c.hasSeparator);
}

const std::string kSep(kSeparatorLine);

INSTANTIATE_TEST_SUITE_P(
    Files, ParseSatelliteFileTest,
    testing::Values(ParseCase{"Empty", "", {}, {}, false},
                    ParseCase{"NoSeparator",
                              "13;0;E;a;;;\r\n\r\n5;0;W;b;;;",
                              {"13;0;E;a;;;", "", "5;0;W;b;;;"},
                              {},
                              false},
                    ParseCase{"Full",
                              "a\r\n" + kSep + "\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n",
                              {"a"},
                              {"55.75", "N", "37.6", "E", "600"},
                              true},
                    ParseCase{"LfOnly", "a\nb\n" + kSep + "\n1\n", {"a", "b"}, {"1"}, true},
                    ParseCase{"SeparatorFirst", kSep + "\r\n1\r\n", {}, {"1"}, true},
                    ParseCase{"SeparatorLast", "a\r\n" + kSep, {"a"}, {}, true},
                    ParseCase{"HyphensAndBlankAreAnEntry",
                              kSep + " \r\nb\r\n" + kSep + "\r\n1",
                              {kSep + " ", "b"},
                              {"1"},
                              true},
                    ParseCase{"BlankBeforeHyphens", " " + kSep, {" " + kSep}, {}, false},
                    ParseCase{"SeventeenHyphens", kSep.substr(1), {kSep.substr(1)}, {}, false},
                    ParseCase{"NineteenHyphens", kSep + "-", {kSep + "-"}, {}, false},
                    ParseCase{"SecondSeparatorIsASetting",
                              kSep + "\r\n1\r\n" + kSep + "\r\n3",
                              {},
                              {"1", kSep, "3"},
                              true}),
    RowName());

TEST(SettingsFromLinesTest, TakesTheFirstFiveAndFillsMissingWithEmpty) {
    EXPECT_EQ(SettingsFromLines({"1", "N", "2", "E", "600", "six", "seven"}),
              (SettingsTexts{"1", "N", "2", "E", "600"}));
    EXPECT_EQ(SettingsFromLines({"1", "N"}), (SettingsTexts{"1", "N", "", "", ""}));
    EXPECT_EQ(SettingsFromLines({}), SettingsTexts{});
}

TEST(ComposeSatelliteFileTest, EndsEveryLineWithCrLf) {
    EXPECT_EQ(ComposeSatelliteFile({"13;0;E;a;;;", ""}, {"55.75", "N", "37.6", "E", "600"}),
              "13;0;E;a;;;\r\n\r\n" + kSep + "\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n");
    EXPECT_EQ(ComposeSatelliteFile({}, {}), kSep + "\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(DefaultSatelliteFileTest, IsAWellFormedCatalogue) {
    const std::string_view bytes = DefaultSatelliteFile();
    const SatelliteFileContent content = ParseSatelliteFile(bytes);
    ASSERT_TRUE(content.hasSeparator);
    EXPECT_GE(content.entries.size(), 20u);
    for (const std::string& entry : content.entries) {
        const auto position = SplitPosition(entry);
        ASSERT_TRUE(position.has_value()) << entry;
        EXPECT_TRUE(position->hemisphere == "E" || position->hemisphere == "W") << entry;
        EXPECT_EQ(SplitLinks(position->tail).outcome, EntryLinks::Outcome::Complete) << entry;
    }
    const SettingsTexts settings = SettingsFromLines(content.settings);
    EXPECT_EQ(settings, (SettingsTexts{"55.75", "N", "37.6", "E", "600"}));
    // Written in the program's own form: CR LF after every line, nothing after the settings.
    EXPECT_EQ(ComposeSatelliteFile(content.entries, settings), bytes);
    // Windows-1251, not UTF-8: "Россия".
    EXPECT_NE(bytes.find("\xD0\xEE\xF1\xF1\xE8\xFF"), std::string_view::npos);
}

}  // namespace
}  // namespace palquin
