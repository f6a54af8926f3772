// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// The program finds its folder by a name valid in no encoding it could guess, cleans up what an
// interrupted save left there, and closes normally on SIGTERM or SIGHUP: the settings are saved.
// A FIFO in place of the catalogue neither hangs the start nor is written. The satellite.txt of
// the folder it was started from is not touched.
void StartAndSignal(const std::string& folderName, int signal, bool fifo, bool noThreads = false) {
    SCOPED_TRACE(folderName);
    std::string base = std::string(PALQUIN_SCRATCH) + "/run-XXXXXX";
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    const fs::path folder = fs::path(base) / folderName;
    fs::create_directory(folder);
    const fs::path program = folder / "palquin";
    fs::copy_file(PALQUIN_BINARY, program);
    const std::string catalogue = "13;0;E;Sat;;;\r\n";
    if (fifo) {
        ASSERT_EQ(::mkfifo((folder / "satellite.txt").c_str(), 0644), 0);
    } else {
        std::ofstream(folder / "satellite.txt", std::ios::binary) << catalogue;
    }
    std::ofstream(fs::path(base) / "satellite.txt") << "elsewhere";
    // Its removal tells that the program has started loading (and can take signals).
    const fs::path leftover = folder / ".palquin-1.tmp";
    std::ofstream(leftover) << "left by a save that was cut short";

    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (noThreads) {
            // Each new thread's stack would take 6 GB of a 4 GB address space: no thread can be
            // started at all.
            const rlimit stack{6'000'000'000, 6'000'000'000};
            const rlimit space{4'000'000'000, 4'000'000'000};
            if (::setrlimit(RLIMIT_STACK, &stack) != 0 || ::setrlimit(RLIMIT_AS, &space) != 0) {
                ::_exit(126);
            }
        }
        if (::chdir(base.c_str()) == 0) {
            ::execl(program.c_str(), "palquin", static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    int status = 0;
    for (int waits = 0; fs::exists(leftover) && waits < 1500; ++waits) {
        ASSERT_NE(::waitpid(child, &status, WNOHANG), child) << "it ended by itself: " << status;
        ::usleep(20000);
    }
    EXPECT_FALSE(fs::exists(leftover)) << "what a cut-short save left is still there";
    ASSERT_EQ(::kill(child, signal), 0);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    if (fifo) {
        EXPECT_TRUE(fs::is_fifo(folder / "satellite.txt"));
    } else {
        EXPECT_EQ(ReadAll(folder / "satellite.txt"),
                  catalogue + "------------------\r\n\r\n\r\n\r\n\r\n\r\n");
    }
    EXPECT_EQ(ReadAll(fs::path(base) / "satellite.txt"), "elsewhere");
    fs::remove_all(base);
}

// The threads that speed up the start (the catalogue's read, the fonts) are a help, not a need:
// where none can be started, the window still comes up, and closes and saves as ever.
TEST(ProgramRunTest, StartsWhereNoThreadCanBeHad) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#else
    StartAndSignal("threads", SIGTERM, false, true);
#endif
}

TEST(ProgramRunTest, FindsItsFolderAndSavesWhenTheSystemAsksItToEnd) {
    StartAndSignal("\xD1\xEF\xF3\xF2\xED\xE8\xEA", SIGTERM, false);  // Windows-1251
    StartAndSignal("caf\xE9", SIGHUP, false);                        // Latin-1
    StartAndSignal("fifo", SIGTERM, true);
}

// Without any display the window cannot open: one line that says so and names the modes that
// need none, status 1, and nothing written beside the program. Qt would abort instead.
TEST(ProgramRunTest, WithoutADisplaySaysWhichModesWork) {
    std::string base = std::string(PALQUIN_SCRATCH) + "/nodisplay-XXXXXX";
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    const fs::path program = fs::path(base) / "palquin";
    fs::copy_file(PALQUIN_BINARY, program);
    struct Run {
        const char* extra;     ///< an argument, or none
        const char* platform;  ///< QT_QPA_PLATFORM, or unset
    };
    for (const Run run : {Run{nullptr, nullptr}, Run{"--", nullptr}, Run{nullptr, "xcb"}}) {
        const char* extra = run.extra;
        SCOPED_TRACE(std::string(extra == nullptr ? "no arguments" : extra) + ", platform " +
                     (run.platform == nullptr ? "unset" : run.platform));
        const fs::path errors = fs::path(base) / "stderr";
        const pid_t child = ::fork();
        if (child == 0) {
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
                ::unsetenv(name);
            }
            if (run.platform != nullptr) {
                ::setenv("QT_QPA_PLATFORM", run.platform, 1);
            }
            if (std::freopen(errors.c_str(), "w", stderr) != nullptr) {
                ::execl(program.c_str(), "palquin", extra, static_cast<char*>(nullptr));
            }
            ::_exit(127);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 1);
        const std::string said = ReadAll(errors);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        for (const char* part : {"нет дисплея", "--report", "--aim", "--template"}) {
            EXPECT_NE(said.find(part), std::string::npos) << part << " not in: " << said;
        }
        EXPECT_FALSE(fs::exists(fs::path(base) / "satellite.txt"));
    }
    fs::remove_all(base);
}

}  // namespace
