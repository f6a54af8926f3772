#include <gtest/gtest.h>

#ifdef _WIN32

#include "common/row_name.h"
#include "common/win_files.h"
#include "core/close_request.h"
#include "core/desktop_open.h"
#include "core/file_io.h"
#include "core/file_io_hooks.h"
#include "core/program_folder.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using Names = std::set<fs::path>;

// Windows-1251 letters, CR LF, a lone LF, a NUL and a Ctrl+Z, which text mode would stop at.
const std::string kSample = std::string("\xC0\xE7\xE8\xEC\xF3\xF2;1\r\nline\n\0end\x1A", 20);

// Each test works in a fresh folder named "Спутники-…", so every path is a wide one; it holds
// old.txt and an empty folder.
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
    EXPECT_EQ(NamesIn(dir_), (Names{"folder", "old.txt", cyrillic, "r"}))
        << "temporary file left behind";
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "", nullptr));
    EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), "") << "an empty file is no read failure";
}

// A replace would cut the file off from its other names: it is rewritten in place, tail cut off.
TEST_F(WindowsFileIoTest, HardLinkedFileIsRewrittenInPlace) {
    fs::create_hard_link(dir_ / "old.txt", dir_ / "other.txt");
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "short", nullptr));
    EXPECT_EQ(ReadBytes(dir_ / "other.txt"), "short");
    EXPECT_EQ(NamesIn(dir_), (Names{"folder", "old.txt", "other.txt"}));
}

struct RefusedRow {
    const char* name;
    const char* target;
    /// Sets up the obstacle and returns what keeps it in place for the call.
    std::shared_ptr<void> (*obstacle)(const fs::path& target);
};

class WindowsRefusedSaveTest : public WindowsFileIoTest,
                               public testing::WithParamInterface<RefusedRow> {};

// The save fails and says why, and nothing on disk changes; only old.txt is a file to read.
TEST_P(WindowsRefusedSaveTest, IsReportedAndChangesNothing) {
    const fs::path target = dir_ / GetParam().target;
    const std::shared_ptr<void> obstacle = GetParam().obstacle(target);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    std::string error;
    EXPECT_FALSE(ReplaceFile(target, std::string(4096, 'n'), &error));
    file_io_hooks::beforeRename = nullptr;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(dir_ / "old.txt"), kSample);
    EXPECT_EQ(GetFileAttributesW(target.c_str()), attributes);
    EXPECT_EQ(NamesIn(dir_), (Names{"folder", "old.txt"})) << "something left behind or removed";
    EXPECT_EQ(ReadWholeFile(target, nullptr).has_value(), target.filename() == "old.txt");
}

std::shared_ptr<void> Nothing(const fs::path&) {
    return nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Obstacles, WindowsRefusedSaveTest,
    testing::Values(
        RefusedRow{"MissingFolder", "missing/out.txt", Nothing},
        RefusedRow{"FileAsFolder", "old.txt/out.txt", Nothing},
        RefusedRow{"Folder", "folder", Nothing},
        RefusedRow{"Device", "NUL", Nothing},  // a device name in any folder is the device
        RefusedRow{"ReadOnly", "old.txt",
                   [](const fs::path& file) {
                       EXPECT_TRUE(SetReadOnly(file, true));
                       return Nothing(file);
                   }},
        RefusedRow{"HeldWithoutDeleteSharing", "old.txt",
                   [](const fs::path& file) { return HoldOpen(file); }},
        // Another program took the temporary file away before the last step of the save.
        RefusedRow{"FailedMove", "old.txt",
                   [](const fs::path& file) {
                       file_io_hooks::beforeRename = [](const fs::path& temp) { fs::remove(temp); };
                       return Nothing(file);
                   }}),
    RowName());

TEST_F(WindowsFileIoTest, RemoveStaleTemporariesTakesOnlyPlainFilesOfItsOwnName) {
    for (const char* name : {".palquin-1.tmp", ".palquin-.tmp", "x.palquin-2.tmp",
                             ".palquin-3.tmpx", ".palquin-4.TMP.txt", ".palquin-held.tmp"}) {
        ASSERT_TRUE(WriteBytes(dir_ / name, "x")) << name;
    }
    ASSERT_TRUE(fs::create_directory(dir_ / ".palquin-5.tmp"));
    {
        // A save still running in another instance holds its file open without sharing.
        const std::shared_ptr<void> save = HoldOpen(dir_ / ".palquin-held.tmp", 0);
        ASSERT_TRUE(save);
        RemoveStaleTemporaries(dir_);
    }
    EXPECT_EQ(NamesIn(dir_), (Names{"folder", "old.txt", "x.palquin-2.tmp", ".palquin-3.tmpx",
                                    ".palquin-4.TMP.txt", ".palquin-5.tmp", ".palquin-held.tmp"}));
    RemoveStaleTemporaries(dir_ / "missing");  // nothing to do, nothing to fail
}

TEST(WindowsSystemTest, ProgramFolderHoldsThisTestProgram) {
    std::string error;
    const std::optional<fs::path> folder = ProgramFolder(&error);
    ASSERT_TRUE(folder.has_value()) << error;
    EXPECT_TRUE(fs::is_regular_file(*folder / "palquin_core_tests.exe")) << folder->string();
}

// The shell opens a batch file by running it; this one, in a Cyrillic folder, leaves a mark
// beside itself. Waiting for the mark has a generous ceiling so a stuck shell fails, not hangs.
TEST(WindowsSystemTest, OpenHandsAWidePathToTheShellAndRefusesWhatIsNoText) {
    EXPECT_FALSE(OpenWithDesktop(""));
    EXPECT_FALSE(OpenWithDesktop("\xC0\xE7 is 1251, not UTF-8"));
    EXPECT_FALSE(OpenWithDesktop(std::string("a\0b", 3)));
    const fs::path dir = MakeTemporaryFolder(u8"\u0421\u0441\u044b\u043b\u043a\u0430 ");
    const fs::path script = dir / u8"\u043e\u0442\u043a\u0440\u044b\u0442\u044c.cmd";
    ASSERT_TRUE(WriteBytes(script, "@echo opened> \"%~dp0mark.txt\"\r\n@exit\r\n"));
    ASSERT_TRUE(OpenWithDesktop(reinterpret_cast<const char*>(script.u8string().c_str())));
    for (int i = 0; i < 600 && ReadBytes(dir / "mark.txt") != "opened\r\n"; ++i) {
        Sleep(100);
    }
    EXPECT_EQ(ReadBytes(dir / "mark.txt"), "opened\r\n");
    fs::remove_all(dir);
}

TEST(WindowsSystemTest, CloseRequestHandlersInstallWithoutARequest) {
    EXPECT_TRUE(InstallCloseRequestHandlers());
    EXPECT_FALSE(CloseRequested());
    AcknowledgeClose();  // no handler waits; nothing may block
    EXPECT_FALSE(CloseRequested());
}

}  // namespace
}  // namespace palquin

#else

TEST(WindowsSystemTest, WindowsOnly) {
    GTEST_SKIP() << "file attributes, sharing modes, wide paths, the shell and console events are "
                    "Windows matters; make test-windows runs these under Wine";
}

#endif
