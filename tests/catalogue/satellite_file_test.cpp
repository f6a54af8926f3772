// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/satellite_file.h"

#include <gtest/gtest.h>

#include "catalogue/entry.h"

namespace palquin {
namespace {

using namespace std::string_literals;

const std::string kSep(kSeparatorLine);
const std::string kBom(kUtf8Bom);

// CR LF, a lone CR and a lone LF each end a line. Only a line of exactly eighteen hyphens
// separates, and only the first one. The save composes in the file's own buffer and keeps a
// byte-order mark in front.
TEST(ParseSatelliteFileTest, SplitsLinesThenCatalogueAndSettings) {
    const struct {
        std::string bytes;
        std::vector<std::string> entries, settings;
        bool hasSeparator;
    } rows[] = {
        {"", {}, {}, false},
        {"a\r\n\r\nb", {"a", "", "b"}, {}, false},
        {"a\nb\rc\r", {"a", "b", "c"}, {}, false},
        {"\n\r\r\n", {"", "", ""}, {}, false},
        {"a\n" + kSep + "\n1\n" + kSep, {"a"}, {"1", kSep}, true},
        // Two line feeds are two line ends: an empty setting keeps its place.
        {"a\n\nb\n" + kSep + "\n55.75\n\n37.6\n", {"a", "", "b"}, {"55.75", "", "37.6"}, true},
        {kSep + "\r\n1", {}, {"1"}, true},
        {"a\r\n" + kSep, {"a"}, {}, true},
        {kBom + "140;0;E;a\nb", {"140;0;E;a", "b"}, {}, false},
        {" " + kSep + "\r" + kSep + " \r" + kSep.substr(1) + "\r-" + kSep,
         {" " + kSep, kSep + " ", kSep.substr(1), "-" + kSep},
         {},
         false},
    };
    const SettingsTexts settings = {"55.75", "N", "", "E", "600"};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.bytes));
        const SatelliteFileContent content = ParseSatelliteFile(row.bytes);
        EXPECT_EQ(content.entries, row.entries);
        EXPECT_EQ(content.settings, row.settings);
        EXPECT_EQ(content.hasSeparator, row.hasSeparator);
        EXPECT_EQ(ComposeFromFile(row.bytes, settings),
                  (row.bytes.starts_with(kBom) ? kBom : "") +
                      *ComposeSatelliteFile(row.entries, settings));
    }
}

// Complete entries in Windows-1251, in the program's own form, with a site in Moscow as settings.
TEST(DefaultSatelliteFileTest, IsAWellFormedCatalogue) {
    const SatelliteFileContent content = ParseSatelliteFile(DefaultSatelliteFile());
    for (const std::string& entry : content.entries) {
        const auto position = SplitPosition(entry);
        EXPECT_TRUE(position && SplitLinks(position->tail).outcome == EntryLinks::Outcome::Complete)
            << entry;
    }
    EXPECT_EQ(ComposeSatelliteFile(content.entries, {"55.75", "N", "37.6", "E", "600"}),
              std::string(DefaultSatelliteFile()));
    EXPECT_EQ(DetectEncoding(DefaultSatelliteFile()), FileEncoding::Windows1251);
}

// UTF-8 only when the whole file is valid UTF-8 and holds a byte that is not ASCII, or starts
// with a byte-order mark. "Сё" in Windows-1251 (D1 B8) happens to be valid UTF-8.
TEST(DetectEncodingTest, DecidesForTheWholeFile) {
    const struct {
        std::string bytes;
        FileEncoding encoding;
    } rows[] = {
        {"13;0;E;Astra;;;\r\n", FileEncoding::Windows1251},
        {"\xD1\xB8\r\n\xD0\xEE\xF1\xF1\xE8\xFF", FileEncoding::Windows1251},
        {"\xD1\xB8", FileEncoding::Utf8},
        {"\xD0\xA0\xD0\xBE\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F\r\n\xF0\x9F\x93\xA1",
         FileEncoding::Utf8},
        {kBom + "\xD0\xEE", FileEncoding::Utf8},
        {"\xC0\xAF", FileEncoding::Windows1251},          // overlong
        {"\xED\xA0\x80", FileEncoding::Windows1251},      // a surrogate
        {"\xF4\x90\x80\x80", FileEncoding::Windows1251},  // beyond Unicode
        {"\xD0\xA0\xD0", FileEncoding::Windows1251},      // cut short
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DetectEncoding(row.bytes), row.encoding) << testing::PrintToString(row.bytes);
    }
}

// Line ends and bytes that are not ASCII are sought sixteen or eight bytes at a time: each is found
// wherever it falls within or across the blocks (a lone CR too, right before a block's end).
TEST(CatalogueTextTest, FindsWhatItSeeksAtEveryPlaceInAWord) {
    for (size_t at = 0; at < 40; ++at) {
        SCOPED_TRACE(at);
        for (const std::string end : {"\r\n", "\r", "\n", "\n\r"}) {
            const std::string bytes =
                std::string(at, 'a') + end + std::string(17, 'b') + end + "c\0d"s + end;
            EXPECT_EQ(ParseSatelliteFile(bytes).entries, SplitLines(bytes)) << end.size();
        }
        const std::string before(at, 'a');
        const std::string after(at % 9, 'z');
        // The catalogue decides as DetectEncoding does, the ASCII it passed while finding lines
        // not looked at twice; a mark inside the file is just another character.
        const std::pair<std::string, FileEncoding> files[] = {
            {before + "\xD0\xEE" + after, FileEncoding::Windows1251},
            {before + "\xD0\xA0" + after, FileEncoding::Utf8},
            {before + "\xD0\xA0" + after + "\xEE" + before, FileEncoding::Windows1251},
            {before + "\r\n" + kBom + "\xD0" + after, FileEncoding::Windows1251},
            {"x" + before + kBom + after + "\r\n" + std::string(kSeparatorLine) + "\r\n\xC0",
             FileEncoding::Windows1251},
        };
        for (const auto& [bytes, encoding] : files) {
            EXPECT_EQ(DetectEncoding(bytes), encoding);
            EXPECT_EQ(CatalogueText(bytes).Encoding(), encoding);
        }
    }
}

// Copied or moved, a catalogue still reads its own bytes: a short one kept inside the object
// (which a move copies) as well as one held elsewhere.
TEST(CatalogueTextTest, CopiesAndMovesKeepTheirLines) {
    const std::string small = "a\r\nb\r\n";  // short enough to live inside a std::string
    const auto held = std::make_shared<const std::string>(small + std::string(kSeparatorLine));
    for (CatalogueText original : {CatalogueText(small), CatalogueText(held, *held)}) {
        const CatalogueText copied = original;
        CatalogueText assigned;
        assigned = copied;
        const CatalogueText moved = std::move(original);
        for (const CatalogueText* text :
             {&copied, static_cast<const CatalogueText*>(&assigned), &moved}) {
            EXPECT_EQ(text->Entries(), (std::vector<std::string>{"a", "b"}));
            EXPECT_EQ(text->Bytes().substr(0, small.size()), small);
        }
    }
}

// Lines found piece by piece while a file is read come out as those found in one pass, wherever
// the pieces end: inside a CR LF, after a lone CR, inside the byte-order mark or the separator,
// before the first byte that is not ASCII. A scan that saw other bytes is not taken over.
TEST(LineScanTest, PiecesGiveWhatOnePassGives) {
    const std::string sep(kSeparatorLine);
    const std::pair<const char*, std::string> files[] = {
        {"crlf", "ab\r\ncd\r\n\r\nef\r\n" + sep + "\r\n1\r\nN\r\n"},
        {"lone ends", "a\rb\n\rc\r\rd\n\ne\r"},
        {"mark", std::string(kBom) + "\xD0\xA0\r\nb\r\n" + sep + "\r\nx"},
        {"late Windows-1251", "abc\r\ndef\r\n\xC0\xC1\r\n"},
        {"late UTF-8", "abcdefghijklmnopqrstu\r\n\xD0\xA0\r\n"},
        {"separator last, no end", "a\r\n" + sep},
        {"separator twice", "a\n" + sep + "\n" + sep + "\nb"},
        {"no line end", "abc"},
        {"empty", ""},
    };
    for (const auto& [name, bytes] : files) {
        const CatalogueText whole(bytes);
        const auto held = std::make_shared<const std::string>(bytes);
        for (size_t piece = 1; piece <= 8; ++piece) {
            SCOPED_TRACE(std::string(name) + ", pieces of " + std::to_string(piece));
            LineScan scan;
            for (size_t read = piece; read < held->size(); read += piece) {
                scan.Feed(std::string_view(*held).substr(0, read));
            }
            const CatalogueText text(held, *held, std::move(scan));
            EXPECT_EQ(text.Entries(), whole.Entries());
            EXPECT_EQ(text.Settings(), whole.Settings());
            EXPECT_EQ(text.HasSeparator(), whole.HasSeparator());
            EXPECT_EQ(text.Encoding(), whole.Encoding());
        }
        LineScan other;
        other.Feed("zz\r\nzz\r\n");
        EXPECT_EQ(CatalogueText(held, *held, std::move(other)).Entries(), whole.Entries()) << name;
    }
}

}  // namespace
}  // namespace palquin
