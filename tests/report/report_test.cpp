#include "report/report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/row_name.h"
#include "core/file_io.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using testing_support::RowName;

const std::string k13 = " 208.98 -  22.77 - ";  // 13;0;E seen from 55.75, 37.6

struct LineRow {
    const char* name;
    const char* latitude;  // the longitude is 37.6 throughout
    const char* entry;
    std::string prefix;  // the figures; empty where the entry stands alone
};

class ReportLineTest : public testing::TestWithParam<LineRow> {};

TEST_P(ReportLineTest, WritesFiguresThenTheEntry) {
    const auto lines = BuildReportLines(GetParam().latitude, "37.6", {GetParam().entry});
    EXPECT_EQ(lines, std::vector<std::string>{GetParam().prefix + GetParam().entry});
}

// Any letter but a capital W counts as east. An empty one leaves the position text " 13.0",
// read from its third character on: 3, east. Latitude 0 (or empty) and a zero root D give no
// figures.
const LineRow kLines[] = {
    {"East13", "55.75", "13;0;E;Sat B;a;b;c", k13},
    {"West5", "55.75", "5;0;W;Sat W;;;", " 228.05 -  16.13 - "},
    {"BelowHorizonListed", "55.75", "140;0;E;Sat C;;;", " 259.7 - -15.32 - "},
    {"SiteLongitude", "55.75", "37;6;E;Here;;;", " 180 -  26.48 - "},
    {"LowerCaseW", "55.75", "13;0;w;x;;;", k13},
    {"EmptyLetter", "55.75", "13;0;;x;;;", " 219.85 -  19.41 - "},
    {"BarePositionBytesKept", "55.75", "13;0;E;\xD1\xEF\xF3\xF2\xED\xE8\xEA", k13},
    {"LatitudeEmpty", "", "13;0;E;x;;;", ""},
    {"RootZero", "180", "37;6;E;x;;;", ""},
};

INSTANTIATE_TEST_SUITE_P(Entries, ReportLineTest, testing::ValuesIn(kLines), RowName());

TEST(ReportTest, StopsAtTheFirstEntryWithoutPositionNotAtAnUncomputableOne) {
    EXPECT_EQ(ComposeReport(BuildReportLines(
                  "55.75", "37.6", {"1e400;0;E;a;;;", "13;0;E;b;;;", "13;0", "5;0;W;c;;;", ""})),
              "1e400;0;E;a;;;\r\n" + k13 + "13;0;E;b;;;\r\n13;0\r\n5;0;W;c;;;\r\n\r\n");
    EXPECT_EQ(ComposeReport(BuildReportLines("55.75", "37.6", {})), "");
}

TEST(ReportTest, GoesToTheHomeFolderOrElseTheCurrentOneAndTellsAFailedWrite) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the report goes to c:\\printOut.txt, whatever HOME holds";
#else
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    const fs::path dir =
        fs::temp_directory_path() / ("palquin_report_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    ::setenv("HOME", dir.c_str(), 1);
    ASSERT_EQ(DefaultReportPath(), dir / "printOut.txt");
    EXPECT_TRUE(WriteReportFile(DefaultReportPath(), "a\xD1\r\n").ok);
    EXPECT_EQ(ReadWholeFile(dir / "printOut.txt", nullptr), "a\xD1\r\n");
    fs::remove_all(dir);
    const WriteResult failed = WriteReportFile(DefaultReportPath(), "x");  // the folder is gone
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.empty());
    ::setenv("HOME", "", 1);
    EXPECT_EQ(DefaultReportPath(), fs::current_path() / "printOut.txt");
    ::setenv("HOME", home.c_str(), 1);
#endif
}

}  // namespace
}  // namespace palquin
