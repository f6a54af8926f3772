#include "report/report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace palquin {
namespace {

const std::string k13 = " 208.98 -  22.77 - ";  // 13;0;E seen from 55.75 N, 37.6 E

// Any letter but a capital W counts as east. An empty one leaves the position text " 13.0",
// read from its third character on: 3, east. An empty latitude and a zero root D give no figures.
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
        {"", "13;0;E;x;;;", ""},
        {"180", "37;6;E;x;;;", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(BuildReportLines(row.latitude, "37.6", {row.entry}),
                  std::vector<std::string>{row.figures + row.entry});
    }
}

// Writing the file and its failure message are checked through the window's menu.
// In a whole catalogue each line has the figures it has alone, whatever came before (positions
// named again, others of the same hemisphere); the lines come one at a time, in order, and stop
// when the receiver asks. After an entry without a position the rest stand bare.
TEST(ReportTest, EachLineAsAloneAndOneAtATime) {
    const std::vector<std::string> entries = {"13;0;E;a;;;", "36;0;E;b;;;", "5;0;W;c;;;",
                                              "13;0;w;d;;;", "36;0;E;e;;;", "5;0;W;f;;;"};
    std::string file;
    std::vector<std::string> expected;
    for (const std::string& entry : entries) {
        file += entry + "\r\n";
        expected.push_back(BuildReportLines("55.75", "37.6", {entry}).at(0));
    }
    file += "none\r\n13;0;E;g;;;\r\n";
    expected.insert(expected.end(), {"none", "13;0;E;g;;;"});
    EXPECT_EQ(expected[0], k13 + entries[0]);
    EXPECT_NE(expected[1].substr(0, 19), k13);
    const CatalogueText catalogue(file);
    EXPECT_EQ(BuildCatalogueReportLines("55.75", "37.6", catalogue), expected);
    std::vector<std::string> streamed;
    ForEachCatalogueReportLine("55.75", "37.6", catalogue, [&streamed](std::string_view line) {
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
