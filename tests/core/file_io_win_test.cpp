#include <gtest/gtest.h>

#ifdef _WIN32

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "common/row_name.h"
#include "common/temporary_folder.h"
#include "common/win_files.h"
#include "core/file_io.h"
#include "core/file_io_hooks.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

// Windows-1251 letters, CR LF, a lone LF, a NUL and a Ctrl+Z, which text mode would stop at.
const std::string kSample = std::string("\xC0\xE7\xE8\xEC\xF3\xF2;1\r\nline\n\0end\x1A", 20);

// Each test works in a fresh folder whose name is Cyrillic ("Спутники"), so every path the file
// layer sees is a wide one; the folder holds old.txt and an empty folder.
class WindowsFileIoTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(WriteBytes(dir_ / "old.txt", kSample));
        ASSERT_TRUE(fs::create_directory(dir_ / "folder"));
    }
    void TearDown() override {
        SetReadOnly(dir_ / "old.txt", false);
        fs::remove_all(dir_);
    }
    std::set<fs::path> Names() const {
        std::set<fs::path> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename());
        }
        return names;
    }

    const fs::path dir_ =
        MakeTemporaryFolder(u8"\u0421\u043f\u0443\u0442\u043d\u0438\u043a\u0438-");
};

TEST_F(WindowsFileIoTest, BytesPassUntouchedUnderAnyName) {
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    const fs::path cyrillic(u8"\u041e\u0442\u0447\u0451\u0442.txt");  // "Отчёт.txt"
    for (const fs::path& path : {dir_ / "old.txt", dir_ / cyrillic, fs::path("r")}) {
        EXPECT_TRUE(ReplaceFile(path, kSample + kSample, nullptr)) << path;
        EXPECT_EQ(ReadBytes(dir_ / path.filename()), kSample + kSample) << path;
        EXPECT_EQ(ReadWholeFile(path, nullptr), kSample + kSample) << path;
    }
    fs::current_path(before);
    EXPECT_EQ(Names(), (std::set<fs::path>{"folder", "old.txt", cyrillic, "r"}))
        << "temporary file left behind";
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "", nullptr));
    EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), "") << "an empty file is no read failure";
    std::string error;
    for (const fs::path& notAFile : {dir_ / "folder", dir_ / "NUL"}) {
        error.clear();
        EXPECT_EQ(ReadWholeFile(notAFile, &error), std::nullopt) << notAFile;
        EXPECT_FALSE(error.empty()) << notAFile;
    }
}

// A replace would cut the file off from its other names; it is rewritten in place instead, the
// old tail cut off.
TEST_F(WindowsFileIoTest, HardLinkedFileIsRewrittenInPlace) {
    fs::create_hard_link(dir_ / "old.txt", dir_ / "other.txt");
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "short", nullptr));
    EXPECT_EQ(ReadBytes(dir_ / "other.txt"), "short");
    EXPECT_EQ(ReadBytes(dir_ / "old.txt"), "short");
    EXPECT_EQ(Names(), (std::set<fs::path>{"folder", "old.txt", "other.txt"}));
}

// The last step of a save fails (another program took the temporary file away): reported, the
// old file whole, nothing left behind.
TEST_F(WindowsFileIoTest, FailedMoveIsReportedAndLeavesTheOldFile) {
    file_io_hooks::beforeRename = [](const fs::path& temporary) { fs::remove(temporary); };
    std::string error;
    const bool ok = ReplaceFile(dir_ / "old.txt", "new", &error);
    file_io_hooks::beforeRename = nullptr;
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("cannot replace"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(dir_ / "old.txt"), kSample);
    EXPECT_EQ(Names(), (std::set<fs::path>{"folder", "old.txt"}));
}

struct FailureRow {
    const char* name;
    const char* target;
    // Sets up the obstacle and returns what keeps it in place for the call.
    std::function<std::shared_ptr<void>(const fs::path& dir)> obstacle;
};

class WindowsFileIoFailureTest : public WindowsFileIoTest,
                                 public testing::WithParamInterface<FailureRow> {};

TEST_P(WindowsFileIoFailureTest, IsReportedAndLeavesEverythingAsItWas) {
    const std::shared_ptr<void> obstacle = GetParam().obstacle(dir_);
    const fs::path target = dir_ / GetParam().target;
    std::string error;
    EXPECT_FALSE(ReplaceFile(target, std::string(4096, 'n'), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(dir_ / "old.txt"), kSample);
    EXPECT_EQ(Names(), (std::set<fs::path>{"folder", "old.txt"}))
        << "something left behind or removed";
}

std::shared_ptr<void> Nothing(const fs::path&) {
    return nullptr;
}

const FailureRow kFailures[] = {
    {"MissingFolder", "missing/out.txt", Nothing},
    {"FileAsFolder", "old.txt/out.txt", Nothing},
    {"Folder", "folder", Nothing},
    {"Device", "NUL", Nothing},  // a device name in any folder is the device, not a file
    {"ReadOnly", "old.txt",
     [](const fs::path& dir) -> std::shared_ptr<void> {
         EXPECT_TRUE(SetReadOnly(dir / "old.txt", true));
         return nullptr;
     }},
    {"HeldWithoutDeleteSharing", "old.txt",
     [](const fs::path& dir) -> std::shared_ptr<void> {
         auto held = std::make_shared<HeldOpen>(dir / "old.txt");
         EXPECT_TRUE(held->Valid());
         return held;
     }},
};

INSTANTIATE_TEST_SUITE_P(Obstacles, WindowsFileIoFailureTest, testing::ValuesIn(kFailures),
                         RowName());

TEST_F(WindowsFileIoTest, RemoveStaleTemporariesTakesOnlyPlainFilesOfItsOwnName) {
    for (const char* name : {".palquin-1.tmp", ".palquin-.tmp", "x.palquin-2.tmp",
                             ".palquin-3.tmpx", ".palquin-4.TMP.txt"}) {
        ASSERT_TRUE(WriteBytes(dir_ / name, "x")) << name;
    }
    ASSERT_TRUE(fs::create_directory(dir_ / ".palquin-5.tmp"));
    // A save still running in another instance holds its file open without sharing.
    ASSERT_TRUE(WriteBytes(dir_ / ".palquin-held.tmp", "x"));
    {
        HeldOpen save(dir_ / ".palquin-held.tmp", 0);
        ASSERT_TRUE(save.Valid());
        RemoveStaleTemporaries(dir_);
    }
    EXPECT_EQ(Names(),
              (std::set<fs::path>{"folder", "old.txt", "x.palquin-2.tmp", ".palquin-3.tmpx",
                                  ".palquin-4.TMP.txt", ".palquin-5.tmp", ".palquin-held.tmp"}));
    RemoveStaleTemporaries(dir_ / "missing");  // nothing to do, nothing to fail
}

}  // namespace
}  // namespace palquin

#else

TEST(WindowsFileIoTest, WindowsOnly) {
    GTEST_SKIP() << "file attributes, sharing modes and wide paths are Windows matters; "
                    "make test-windows runs these under Wine";
}

#endif
