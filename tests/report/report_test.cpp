#include "report/report.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace palquin {
namespace {

namespace fs = std::filesystem;

struct LineCase {
    const char* name;
    const char* latitude;
    const char* longitude;
    std::string entry;
    std::string expected;  // the whole report line
};

// Failure messages name the row instead of dumping its bytes.
void PrintTo(const LineCase& row, std::ostream* out) {
    *out << row.name;
}

class ReportLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ReportLineTest, WritesFiguresThenTheEntry) {
    const LineCase& c = GetParam();
    const auto lines = BuildReportLines(c.latitude, c.longitude, {c.entry});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], c.expected) << "site " << c.latitude << ", " << c.longitude;
}

const LineCase kLines[] = {
    {"East13", "55.75", "37.6", "13;0;E;Sat B;a;b;c", " 208.98 -  22.77 - 13;0;E;Sat B;a;b;c"},
    {"West5", "55.75", "37.6", "5;0;W;Sat W;;;", " 228.05 -  16.13 - 5;0;W;Sat W;;;"},
    {"BelowHorizonListed", "55.75", "37.6", "140;0;E;Sat C;;;",
     " 259.7 - -15.32 - 140;0;E;Sat C;;;"},
    {"SiteLongitude", "55.75", "37.6", "37;6;E;Here;;;", " 180 -  26.48 - 37;6;E;Here;;;"},
    // Any letter but a capital W counts as east.
    {"LowerCaseE", "55.75", "37.6", "13;0;e;x;;;", " 208.98 -  22.77 - 13;0;e;x;;;"},
    {"LowerCaseW", "55.75", "37.6", "13;0;w;x;;;", " 208.98 -  22.77 - 13;0;w;x;;;"},
    {"OtherLetter", "55.75", "37.6", "13;0;Q;x;;;", " 208.98 -  22.77 - 13;0;Q;x;;;"},
    {"LongerWestField", "55.75", "37.6", "5;0;Wx;x;;;", " 228.05 -  16.13 - 5;0;Wx;x;;;"},
    // The entry need not carry a description or links, only its three position fields.
    {"BarePosition", "55.75", "37.6", "13;0;E;", " 208.98 -  22.77 - 13;0;E;"},
    // Windows-1251 text in the entry is carried over byte for byte.
    {"CyrillicEntry", "55.75", "37.6", "13;0;E;\xD1\xEF\xF3\xF2\xED\xE8\xEA;\xE0;;",
     " 208.98 -  22.77 - 13;0;E;\xD1\xEF\xF3\xF2\xED\xE8\xEA;\xE0;;"},
    // Entries whose figures cannot be computed are listed bare.
    {"LatitudeZero", "0", "37.6", "13;0;E;x;;;", "13;0;E;x;;;"},
    {"LatitudeEmpty", "", "37.6", "13;0;E;x;;;", "13;0;E;x;;;"},
    {"RootZero", "180", "37.6", "37;6;E;x;;;", "37;6;E;x;;;"},
    {"LatitudeInfinite", "1e400", "37.6", "13;0;E;x;;;", "13;0;E;x;;;"},
    {"PositionInfinite", "55.75", "37.6", "1e400;0;E;x;;;", "1e400;0;E;x;;;"},
    {"NoPosition", "55.75", "37.6", "13;0", "13;0"},
};

INSTANTIATE_TEST_SUITE_P(Entries, ReportLineTest, testing::ValuesIn(kLines),
                         [](const testing::TestParamInfo<LineCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(ReportLinesTest, StopsAtTheFirstEntryWithoutPosition) {
    const std::vector<std::string> entries = {"13;0;E;A;;;", "Heading without position",
                                              "5;0;W;B;;;", ""};
    const std::vector<std::string> expected = {" 208.98 -  22.77 - 13;0;E;A;;;",
                                               "Heading without position", "5;0;W;B;;;", ""};
    EXPECT_EQ(BuildReportLines("55.75", "37.6", entries), expected);
}

TEST(ReportLinesTest, EmptyLetterReadsThePositionFromTheThirdCharacter) {
    // The position text of 13;0; is " 13.0": its third character on reads 3, counted east.
    const auto lines = BuildReportLines("55.75", "37.6", {"13;0;;x;;;", "3;0;E;x;;;"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, lines[0].size() - 10), lines[1].substr(0, lines[1].size() - 10));
}

TEST(ReportLinesTest, AnUncomputableEntryDoesNotStopTheOthers) {
    // At latitude 180 the satellite on the site's meridian makes the root 0; the next is fine.
    const auto lines = BuildReportLines("180", "37.6", {"37;6;E;A;;;", "13;0;E;B;;;"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "37;6;E;A;;;");
    EXPECT_NE(lines[1], "13;0;E;B;;;");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 14), " - 13;0;E;B;;;");
}

TEST(ReportLinesTest, EmptyCatalogueGivesNoLinesAndAnEmptyFile) {
    const auto lines = BuildReportLines("55.75", "37.6", {});
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(ComposeReport(lines), "");
}

TEST(ComposeReportTest, EndsEveryLineWithCrLf) {
    EXPECT_EQ(ComposeReport({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

class ReportFileTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("palquin_report_" +
                   std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                   "_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::string Get(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder_;
};

TEST_F(ReportFileTest, FileHoldsExactlyTheComposedBytes) {
    const std::vector<std::string> entries = {"13;0;E;\xD1\xEF\xF3\xF2\xED\xE8\xEA;;;", "x"};
    const fs::path path = folder_ / "printOut.txt";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(500, 'o');
    }
    const WriteResult result =
        WriteReportFile(path, ComposeReport(BuildReportLines("55.75", "37.6", entries)));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(Get(path), " 208.98 -  22.77 - 13;0;E;\xD1\xEF\xF3\xF2\xED\xE8\xEA;;;\r\nx\r\n");
}

// A full disk, simulated by the file size limit (which also holds for root).
TEST_F(ReportFileTest, FailedWriteKeepsTheOldReport) {
    const fs::path path = folder_ / "printOut.txt";
    {
        std::ofstream old(path, std::ios::binary);
        old << "old report\r\n";
    }
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteResult result = WriteReportFile(path, std::string(4096, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(Get(path), "old report\r\n");
}

// Sets or clears HOME for one test and puts it back afterwards.
class HomeGuard {
  public:
    explicit HomeGuard(const char* value) {
        if (const char* old = std::getenv("HOME")) {
            saved_ = old;
        }
        if (value != nullptr) {
            ::setenv("HOME", value, 1);
        } else {
            ::unsetenv("HOME");
        }
    }
    ~HomeGuard() {
        if (saved_) {
            ::setenv("HOME", saved_->c_str(), 1);
        } else {
            ::unsetenv("HOME");
        }
    }

  private:
    std::optional<std::string> saved_;
};

TEST(DefaultReportPathTest, LiesInTheHomeFolder) {
    const HomeGuard home("/home/someone");
    EXPECT_EQ(DefaultReportPath(), fs::path("/home/someone/printOut.txt"));
}

TEST(DefaultReportPathTest, FallsBackToTheCurrentFolder) {
    for (const char* value : {static_cast<const char*>(nullptr), ""}) {
        const HomeGuard home(value);
        EXPECT_EQ(DefaultReportPath(), fs::current_path() / "printOut.txt")
            << (value == nullptr ? "HOME unset" : "HOME empty");
    }
}

}  // namespace
}  // namespace palquin
