#include "core/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace palquin {
namespace {

namespace fs = std::filesystem;

// Bytes the program really writes: Windows-1251 letters, CR LF, and a NUL for good measure.
const std::string kSample = std::string("\xC0\xE7\xE8\xEC\xF3\xF2;1\r\nline\n\0end", 18);

class FileIoTest : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / ("palquin_file_io_" + std::string(info->name()) +
                                               "_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Put(const fs::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }
    std::string Get(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(folder_)) {
            names.push_back(item.path().filename().string());
        }
        return names;
    }

    fs::path folder_;
};

TEST_F(FileIoTest, ReplaceCreatesFileWithExactBytes) {
    std::string error;
    ASSERT_TRUE(ReplaceFile(folder_ / "out.txt", kSample, &error)) << error;
    EXPECT_EQ(Get(folder_ / "out.txt"), kSample);
    EXPECT_EQ(Names(), std::vector<std::string>{"out.txt"}) << "temporary file left behind";
}

TEST_F(FileIoTest, ReplaceDropsTheOldContentWhole) {
    Put(folder_ / "out.txt", std::string(1000, 'x'));
    ASSERT_TRUE(ReplaceFile(folder_ / "out.txt", "ab", nullptr));
    EXPECT_EQ(Get(folder_ / "out.txt"), "ab");
    ASSERT_TRUE(ReplaceFile(folder_ / "out.txt", "", nullptr));
    EXPECT_TRUE(fs::exists(folder_ / "out.txt"));
    EXPECT_EQ(fs::file_size(folder_ / "out.txt"), 0u);
}

TEST_F(FileIoTest, ReplaceKeepsThePermissionsOfTheOldFile) {
    const fs::path path = folder_ / "out.txt";
    Put(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(ReplaceFile(path, "new", nullptr));
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FileIoTest, ReplaceWritesThroughASymbolicLink) {
    fs::create_directories(folder_ / "real");
    Put(folder_ / "real" / "satellite.txt", "old");
    fs::create_symlink(folder_ / "real" / "satellite.txt", folder_ / "link.txt");
    ASSERT_TRUE(ReplaceFile(folder_ / "link.txt", "new", nullptr));
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.txt"));
    EXPECT_EQ(Get(folder_ / "real" / "satellite.txt"), "new");
}

TEST_F(FileIoTest, ReplaceWorksForTheLongestFileName) {
    const fs::path path = folder_ / std::string(255, 'n');
    Put(path, "old");
    std::string error;
    ASSERT_TRUE(ReplaceFile(path, "new", &error)) << error;
    EXPECT_EQ(Get(path), "new");
}

TEST_F(FileIoTest, ReplaceInARelativeFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    const bool ok = ReplaceFile("relative.txt", "abc", nullptr);
    fs::current_path(before);
    ASSERT_TRUE(ok);
    EXPECT_EQ(Get(folder_ / "relative.txt"), "abc");
}

struct FailureCase {
    const char* name;
    const char* target;  // relative to the test folder
};

// Failure messages name the row instead of dumping its bytes.
void PrintTo(const FailureCase& row, std::ostream* out) {
    *out << row.name;
}

class ReplaceFailureTest : public FileIoTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(ReplaceFailureTest, ReportsAndLeavesEverythingAsItWas) {
    // A regular file and a non-empty folder that the failing targets run into.
    Put(folder_ / "plain.txt", "keep me");
    fs::create_directories(folder_ / "folder");
    Put(folder_ / "folder" / "inside.txt", "keep me too");

    std::string error;
    EXPECT_FALSE(ReplaceFile(folder_ / GetParam().target, "new", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Get(folder_ / "plain.txt"), "keep me");
    EXPECT_EQ(Get(folder_ / "folder" / "inside.txt"), "keep me too");
    EXPECT_EQ(Names().size(), 2u) << "temporary file left behind";
}

const FailureCase kFailures[] = {
    {"FolderMissing", "missing/out.txt"},
    {"ParentIsAFile", "plain.txt/out.txt"},
    {"TargetIsAFolder", "folder"},
};

INSTANTIATE_TEST_SUITE_P(Targets, ReplaceFailureTest, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& row) {
                             return std::string(row.param.name);
                         });

// A full disk, simulated by the file size limit (which also holds for root).
TEST_F(FileIoTest, FailedWriteLeavesTheOldFileIntact) {
    const fs::path path = folder_ / "out.txt";
    Put(path, "old content");

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool ok = ReplaceFile(path, std::string(4096, 'n'), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Get(path), "old content");
    EXPECT_EQ(Names(), std::vector<std::string>{"out.txt"}) << "temporary file left behind";
}

TEST_F(FileIoTest, ReadReturnsExactBytes) {
    Put(folder_ / "in.txt", kSample);
    std::string error;
    const auto bytes = ReadWholeFile(folder_ / "in.txt", &error);
    ASSERT_TRUE(bytes.has_value()) << error;
    EXPECT_EQ(*bytes, kSample);
}

TEST_F(FileIoTest, ReadOfAnEmptyFileIsEmptyNotAFailure) {
    Put(folder_ / "empty.txt", "");
    const auto bytes = ReadWholeFile(folder_ / "empty.txt", nullptr);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->empty());
}

TEST_F(FileIoTest, ReadFailsForMissingFileAndFolder) {
    for (const fs::path& path : {folder_ / "missing.txt", folder_}) {
        std::string error;
        EXPECT_FALSE(ReadWholeFile(path, &error).has_value()) << path;
        EXPECT_FALSE(error.empty()) << path;
        EXPECT_FALSE(ReadWholeFile(path, nullptr).has_value()) << path;
    }
}

}  // namespace
}  // namespace palquin
