#include "core/file_io.h"

#include <gtest/gtest.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace palquin {
namespace {

namespace fs = std::filesystem;

// Bytes the program really writes: Windows-1251 letters, CR LF, and a NUL for good measure.
const std::string kSample = std::string("\xC0\xE7\xE8\xEC\xF3\xF2;1\r\nline\n\0end", 18);

// Each test starts in a fresh folder holding old.txt (written independently) and an empty folder.
class FileIoTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "folder");
        std::ofstream(dir_ / "old.txt", std::ios::binary) << kSample;
    }
    void TearDown() override { fs::remove_all(dir_); }
    long Entries() const {
        return static_cast<long>(std::distance(fs::directory_iterator(dir_), {}));
    }

    const fs::path dir_ = fs::temp_directory_path() / ("palquin_io_" + std::to_string(::getpid()));
};

TEST_F(FileIoTest, ReplaceWritesExactBytesThroughSymlinksForAnyNameAndKeepsPermissions) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links and permission bits are POSIX; file_io_win_test covers Windows";
#else
    fs::permissions(dir_ / "old.txt", fs::perms{0640});  // neither the default nor a temp file's
    fs::create_symlink(dir_ / "old.txt", dir_ / "link.txt");
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    // A temporary name longer than 255 bytes, or one put into folder "", would fail.
    for (const fs::path& path : {dir_ / "link.txt", dir_ / std::string(255, 'n'), fs::path("r")}) {
        EXPECT_TRUE(ReplaceFile(path, kSample + kSample, nullptr)) << path;
        EXPECT_EQ(ReadWholeFile(dir_ / path.filename(), nullptr), kSample + kSample) << path;
    }
    fs::current_path(before);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
    EXPECT_EQ(fs::status(dir_ / "old.txt").permissions(), fs::perms{0640});
    EXPECT_EQ(Entries(), 5) << "temporary file left behind";
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "", nullptr));
    EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), "") << "an empty file is no read failure";
#endif
}

TEST_F(FileIoTest, FailuresAreReportedAndLeaveEverythingAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << "a full disk is simulated with a file size limit, which Windows lacks";
#else
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    // A full disk for old.txt, binding root too; the other targets fail before writing.
    const rlimit limit{16, saved.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const char* target : {"missing/out.txt", "old.txt/out.txt", "folder", "old.txt"}) {
        std::string error;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        EXPECT_FALSE(ReplaceFile(dir_ / target, std::string(4096, 'n'), &error)) << target;
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_FALSE(error.empty()) << target;
        EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), kSample) << target;
        EXPECT_EQ(Entries(), 2) << target << ": something left behind or removed";
        EXPECT_EQ(ReadWholeFile(dir_ / target, &error).has_value(),
                  fs::is_regular_file(dir_ / target));
    }
    std::signal(SIGXFSZ, oldHandler);
#endif
}

}  // namespace
}  // namespace palquin
