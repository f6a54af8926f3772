#include <gtest/gtest.h>

#ifdef _WIN32

#include "common/win_files.h"
#include "core/close_request.h"
#include "core/desktop_open.h"
#include "core/program_folder.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

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
    GTEST_SKIP() << "GetModuleFileNameW, ShellExecuteW and console events are Windows matters; "
                    "make test-windows runs these under Wine";
}

#endif
