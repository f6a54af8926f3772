#include "catalogue/satellite_file.h"

#include <gtest/gtest.h>

#include "common/row_name.h"

#include "catalogue/entry.h"

namespace palquin {
namespace {

using testing_support::RowName;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

const std::string kSep(kSeparatorLine);

struct ParseRow {
    const char* name;
    std::string bytes;
    Lines entries;
    Lines settings;
    bool hasSeparator;
};

class ParseSatelliteFileTest : public testing::TestWithParam<ParseRow> {};

TEST_P(ParseSatelliteFileTest, SplitsLinesThenCatalogueAndSettings) {
    const ParseRow& row = GetParam();
    const SatelliteFileContent content = ParseSatelliteFile(row.bytes);
    EXPECT_EQ(content.entries, row.entries);
    EXPECT_EQ(content.settings, row.settings);
    EXPECT_EQ(content.hasSeparator, row.hasSeparator);
    // The save composes in the file's own buffer; a byte-order mark stays in front.
    const SettingsTexts settings = {"55.75", "N", "", "E", "600"};
    const std::string mark = row.bytes.starts_with(kUtf8Bom) ? std::string(kUtf8Bom) : "";
    EXPECT_EQ(ComposeFromFile(row.bytes, settings),
              mark + *ComposeSatelliteFile(row.entries, settings));
}

// CR LF, a lone CR and a lone LF each end a line. Only a line of exactly eighteen hyphens
// separates, and only the first one.
INSTANTIATE_TEST_SUITE_P(
    Files, ParseSatelliteFileTest,
    testing::Values(
        ParseRow{"Empty", "", {}, {}, false},
        ParseRow{"CrLf", "a\r\n\r\nb", {"a", "", "b"}, {}, false},
        ParseRow{"LoneLf", "a\nb\n", {"a", "b"}, {}, false},
        ParseRow{"LoneCr", "a\rb\r", {"a", "b"}, {}, false},
        ParseRow{"LfThenCrThenCrLf", "\n\r\r\n", {"", "", ""}, {}, false},
        ParseRow{"BytesKept", "\xE0\0\xFF\r\n"s, {"\xE0\0\xFF"s}, {}, false},
        ParseRow{
            "SecondSeparatorIsASetting", "a\n" + kSep + "\n1\n" + kSep, {"a"}, {"1", kSep}, true},
        ParseRow{"SeparatorFirst", kSep + "\r\n1", {}, {"1"}, true},
        ParseRow{"SeparatorLast", "a\r\n" + kSep, {"a"}, {}, true},
        ParseRow{"ByteOrderMarkSkipped",
                 "\xEF\xBB\xBF"
                 "140;0;E;a\nb",
                 {"140;0;E;a", "b"},
                 {},
                 false},
        ParseRow{"ByteOrderMarkBeforeSeparator", "\xEF\xBB\xBF" + kSep + "\r\n1", {}, {"1"}, true},
        ParseRow{"OnlyByteOrderMark", "\xEF\xBB\xBF", {}, {}, false},
        ParseRow{"NearSeparatorsAreEntries",
                 " " + kSep + "\r" + kSep + " \r" + kSep.substr(1) + "\r-" + kSep,
                 {" " + kSep, kSep + " ", kSep.substr(1), "-" + kSep},
                 {},
                 false}),
    RowName());

TEST(DefaultSatelliteFileTest, IsAWellFormedCatalogueInTheProgramsOwnForm) {
    const std::string_view bytes = DefaultSatelliteFile();
    const SatelliteFileContent content = ParseSatelliteFile(bytes);
    EXPECT_GE(content.entries.size(), 20u);
    for (const std::string& entry : content.entries) {
        const auto position = SplitPosition(entry);
        ASSERT_TRUE(position.has_value()) << entry;
        EXPECT_TRUE(position->hemisphere == "E" || position->hemisphere == "W") << entry;
        EXPECT_EQ(SplitLinks(position->tail).outcome, EntryLinks::Outcome::Complete) << entry;
    }
    // Written in the program's own form, with the Moscow site as its settings.
    EXPECT_EQ(ComposeSatelliteFile(content.entries, {"55.75", "N", "37.6", "E", "600"}),
              std::string(bytes));
    // Windows-1251, not UTF-8: "Россия".
    EXPECT_NE(bytes.find("\xD0\xEE\xF1\xF1\xE8\xFF"), std::string_view::npos);
}

struct EncodingRow {
    const char* name;
    std::string bytes;
    FileEncoding encoding;
};

class DetectEncodingTest : public testing::TestWithParam<EncodingRow> {};

TEST_P(DetectEncodingTest, DecidesForTheWholeFile) {
    EXPECT_EQ(DetectEncoding(GetParam().bytes), GetParam().encoding);
}

// "Сё" in Windows-1251 (D1 B8) happens to be valid UTF-8; the rest of the file decides.
INSTANTIATE_TEST_SUITE_P(
    Files, DetectEncodingTest,
    testing::Values(
        EncodingRow{"Ascii", "13;0;E;Astra;;;\r\n", FileEncoding::Windows1251},
        EncodingRow{"Cp1251LineLookingLikeUtf8", "\xD1\xB8\r\n\xD0\xEE\xF1\xF1\xE8\xFF",
                    FileEncoding::Windows1251},
        EncodingRow{"Cp1251AloneLookingLikeUtf8", "\xD1\xB8", FileEncoding::Utf8},
        EncodingRow{"Utf8", "\xD0\xA0\xD0\xBE\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F\r\n\xF0\x9F\x93\xA1",
                    FileEncoding::Utf8},
        EncodingRow{"ByteOrderMarkWins", "\xEF\xBB\xBF\xD0\xEE", FileEncoding::Utf8},
        EncodingRow{"Overlong", "\xC0\xAF", FileEncoding::Windows1251},
        EncodingRow{"Surrogate", "\xED\xA0\x80", FileEncoding::Windows1251},
        EncodingRow{"BeyondUnicode", "\xF4\x90\x80\x80", FileEncoding::Windows1251},
        EncodingRow{"CutShort", "\xD0\xA0\xD0", FileEncoding::Windows1251}),
    RowName());

// Lines are searched eight bytes at a time: every kind of line end, and a lone CR right before
// a word's end, is found wherever it falls within or across the words.
TEST(CatalogueTextTest, FindsLineEndsAtEveryPlaceInAWord) {
    for (const std::string end : {"\r\n", "\r", "\n", "\n\r"}) {
        for (size_t at = 0; at < 24; ++at) {
            const std::string bytes =
                std::string(at, 'a') + end + std::string(17, 'b') + end + "c\0d" + end;
            SCOPED_TRACE(testing::Message() << "line end " << end.size() << " bytes at " << at);
            EXPECT_EQ(ParseSatelliteFile(bytes).entries, SplitLines(bytes));
        }
    }
}

// Runs of ASCII are passed over eight bytes at a time: one byte that is not ASCII decides the
// encoding wherever it lies.
TEST(DetectEncodingTest, SeesANonAsciiByteAnywhere) {
    for (size_t at = 0; at < 24; ++at) {
        const std::string before(at, 'a');
        const std::string after(at % 9, 'z');
        SCOPED_TRACE(at);
        EXPECT_EQ(DetectEncoding(before + "\xD0\xEE" + after), FileEncoding::Windows1251);
        EXPECT_EQ(DetectEncoding(before + "\xD0\xA0" + after), FileEncoding::Utf8);
        EXPECT_EQ(DetectEncoding(before + "\xD0\xA0" + after + "\xEE" + before),
                  FileEncoding::Windows1251);
    }
}

}  // namespace
}  // namespace palquin
