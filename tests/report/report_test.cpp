// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <filesystem>
#include "layout/site.h"

namespace palquin {
namespace {

const std::string k13 = " 208.98 -  22.77 - ";  // 13;0;E seen from 55.75 N, 37.6 E
const SiteFields kMoscow{55.75, "N", 37.6, "E"};
const SiteFields kSydney{33.9, "S", 151.2, "E"};
const SiteFields kNewYork{40.7, "N", 74.0, "W"};

// Any letter but a capital W counts as east. An empty one leaves the position text " 13.0",
// read from its third character on: 3, east. An empty latitude is the equator, where sin(F) is 0,
// and latitude 180 on the site's meridian makes the root 0: both give the formulas' limit.
TEST(ReportTest, WritesFiguresThenTheEntry) {
    const struct {
        const char* latitude;  // the longitude is 37.6 throughout
        const char* entry;
        std::string figures;
    } rows[] = {
        {"55.75", "5;0;W;Sat W;;;", " 228.05 -  16.13 - "},
        {"55.75", "13;0;w;x;;;", k13},
        {"55.75", "13;0;;x;;;", " 219.85 -  19.41 - "},
        {"55.75", "13;0;E;\xD1\xEF\xF3\xF2\xED\xE8\xEA", k13},
        {"", "13;0;E;x;;;", " 270 -  61.23 - "},
        {"180", "37;6;E;x;;;", " 180 - -90 - "},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(BuildReportLines(row.latitude, "37.6", {row.entry}),
                  std::vector<std::string>{row.figures + row.entry});
    }
}

// The menu's and --report's lines: the site's hemispheres count (Sydney's azimuth of 8.6 and New
// York's elevation of 25.2 checked by hand), the azimuth runs from 0 to 360 as --aim gives it, and
// a satellite below the horizon is marked.
TEST(ReportTest, SiteReportUsesTheHemispheresAsAimDoes) {
    const struct {
        const char* name;
        SiteFields site;
        const char* entry;
        std::string figures;  // of the line, before the entry
        bool belowHorizon;
    } rows[] = {
        {"Sydney, Optus D3", kSydney, "156;0;E;Optus D3;;;", " 8.56 -  50.26 - ", false},
        {"New York, Hispasat", kNewYork, "30;0;W;Hispasat;;;", " 124.03 -  25.19 - ", false},
        {"Moscow, Express below", kMoscow, "140;0;E;Express;;;", " 259.7 - -15.32 - ", true},
        {"Moscow, lower-case w", kMoscow, "5;0;w;Sat W;;;", " 228.05 -  16.13 - ", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string mark =
            row.belowHorizon ? std::string(BelowHorizonMark(FileEncoding::Windows1251)) : "";
        EXPECT_EQ(
            BuildSiteReportLines(ToSite(row.site), CatalogueText(row.entry + std::string("\r\n"))),
            std::vector<std::string>{row.figures + row.entry + mark});
    }
}

// Writing the file and its failure message are checked through the window's menu.
// In a whole catalogue each line has the figures (and the mark of a satellite below the
// horizon) it has alone, whatever came before: positions named again, a letter in lower case, an
// entry without a position or with a letter that is no hemisphere, which stands bare and after
// which the rest are still figured. The lines come one at a time, in order, and stop when the
// receiver asks.
TEST(ReportTest, EachLineAsAloneAndOneAtATime) {
    const Site moscow = ToSite(kMoscow);
    const std::vector<std::string> entries = {
        "13;0;E;a;;;", "36;0;E;b;;;",  "5;0;W;c;;;", "13;0;w;d;;;",   "140;0;E;h;;;",
        "36;0;E;e;;;", "140;0;E;i;;;", "none",       "13;0;X;odd;;;", "13;0;E;g;;;"};
    std::string file;
    std::vector<std::string> expected;
    for (const std::string& entry : entries) {
        file += entry + "\r\n";
        expected.push_back(BuildSiteReportLines(moscow, CatalogueText(entry + "\r\n")).at(0));
    }
    EXPECT_EQ(expected[0], k13 + entries[0]);
    EXPECT_TRUE(expected[6].ends_with(BelowHorizonMark(FileEncoding::Windows1251)));
    EXPECT_EQ(expected[7], "none");
    EXPECT_EQ(expected[8], "13;0;X;odd;;;");
    const CatalogueText catalogue(file);
    EXPECT_EQ(BuildSiteReportLines(moscow, catalogue), expected);
    std::vector<std::string> streamed;
    ForEachSiteReportLine(moscow, catalogue, [&streamed](std::string_view line) {
        streamed.emplace_back(line);
        return streamed.size() < 5;
    });
    EXPECT_EQ(streamed, std::vector<std::string>(expected.begin(), expected.begin() + 5));
}

TEST(ReportTest, GoesToTheHomeFolderOrElseTheCurrentOne) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the report goes to c:\\printOut.txt, whatever HOME holds";
#else
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/\xD1", 1);
    EXPECT_EQ(DefaultReportPath(), std::filesystem::path("/home/\xD1/printOut.txt"));
    ::setenv("HOME", "", 1);
    EXPECT_EQ(DefaultReportPath(), std::filesystem::current_path() / "printOut.txt");
    ::setenv("HOME", home.c_str(), 1);
#endif
}

}  // namespace
}  // namespace palquin
