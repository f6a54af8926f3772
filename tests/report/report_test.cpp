#include "report/report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace palquin {
namespace {

const std::string k13 = " 208.98 -  22.77 - ";  // 13;0;E seen from 55.75 N, 37.6 E

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

// Writing the file and its failure message are checked through the window's menu.
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
