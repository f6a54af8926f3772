// The program started as a user starts it, from a copy in a folder of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace palquin {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct RunRow {
    const char* name;
    std::string folderName;  ///< bytes, valid in no encoding the program could guess
    int signal;
    bool fifo;  ///< satellite.txt is a FIFO: the start-up must neither hang nor write it
};

class ProgramRunTest : public testing::TestWithParam<RunRow> {
  protected:
    void SetUp() override {
        std::string pattern = std::string(PALQUIN_SCRATCH) + "/run-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        base_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(base_, ec);
    }
    fs::path base_;
};

// The program finds its own folder even when the name is not UTF-8, cleans up what an
// interrupted save left there, and a SIGTERM or SIGHUP closes it normally: the settings are
// saved. The satellite.txt of the folder it was started from is not touched.
TEST_P(ProgramRunTest, FindsItsFolderAndSavesWhenTheSystemAsksItToEnd) {
    const fs::path folder = base_ / GetParam().folderName;
    fs::create_directory(folder);
    const fs::path program = folder / "palquin";
    std::error_code ec;
    fs::create_hard_link(PALQUIN_BINARY, program, ec);
    if (ec) {
        fs::copy_file(PALQUIN_BINARY, program);
    }
    const std::string catalogue = "13;0;E;Sat;;;\r\n";
    if (GetParam().fifo) {
        ASSERT_EQ(::mkfifo((folder / "satellite.txt").c_str(), 0644), 0);
    } else {
        std::ofstream(folder / "satellite.txt", std::ios::binary) << catalogue;
    }
    std::ofstream(base_ / "satellite.txt", std::ios::binary) << "elsewhere";
    // Its removal tells that the program has started loading (and can take signals).
    const fs::path leftover = folder / ".palquin-1.tmp";
    std::ofstream(leftover) << "left by a save that was cut short";

    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (::chdir(base_.c_str()) == 0) {
            ::execl(program.c_str(), "palquin", static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    bool ended = false;
    while (fs::exists(leftover) && !ended) {
        ended = ::waitpid(child, &status, WNOHANG) == child;
        ::usleep(20000);
    }
    ASSERT_FALSE(ended) << "the program ended by itself, status " << status;
    ASSERT_EQ(::kill(child, GetParam().signal), 0);
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    if (GetParam().fifo) {
        // The message of the failed load was open or about to be; the request closed it too.
        EXPECT_TRUE(fs::is_fifo(folder / "satellite.txt"));
    } else {
        EXPECT_EQ(ReadAll(folder / "satellite.txt"),
                  catalogue + "------------------\r\n\r\n\r\n\r\n\r\n\r\n");
    }
    EXPECT_EQ(ReadAll(base_ / "satellite.txt"), "elsewhere");
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ProgramRunTest,
    testing::Values(RunRow{"Cp1251FolderSigterm", "\xD1\xEF\xF3\xF2\xED\xE8\xEA", SIGTERM, false},
                    RunRow{"Latin1FolderSighup", "caf\xE9", SIGHUP, false},
                    RunRow{"FifoInsteadOfTheFile", "fifo", SIGTERM, true}),
    [](const testing::TestParamInfo<RunRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace palquin
