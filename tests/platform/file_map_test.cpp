// SPDX-License-Identifier: GPL-3.0-or-later
// Large files held mapped: their bytes stay as they were while other programs, or this one,
// rewrite or cut the file.
#include <fcntl.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "common/temporary_folder.h"
#include "platform/file_io.h"
#include "platform/file_io_hooks.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

using Hold = std::optional<HeldFile> (*)(const fs::path&, std::string*);
const std::pair<const char*, Hold> kHolds[] = {
    {"MapWholeFile", MapWholeFile},
    {"ReadWholeFileHeld",
     [](const fs::path& path, std::string* error) { return ReadWholeFileHeld(path, error); }},
};

// Whether the file is mapped into this process.
bool Mapped(const fs::path& path) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.ends_with(" " + path.string())) {
            return true;
        }
    }
    return false;
}

// Another program cuts the file and writes bytes into it; false when it had to be killed after
// a while (held back the whole time) or failed.
bool AnotherProgramWrites(const fs::path& file, std::string_view bytes) {
    const pid_t child = ::fork();
    if (child == 0) {
        // Held back in the open until the holder has let go of the lease.
        const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC);
        const auto size = static_cast<ssize_t>(bytes.size());
        _exit(fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == size && ::close(fd) == 0 ? 0
                                                                                             : 1);
    }
    if (child < 0) {
        return false;
    }
    for (int i = 0; i < 2000; ++i) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return false;
}

class HeldFileTest : public testing::Test {
  protected:
    void SetUp() override {
        // Large enough to be mapped by either way in; every line differs.
        for (int i = 0; bytes_.size() < (size_t{5} << 20); ++i) {
            bytes_ += std::to_string(i) + ";0;E;Satellite " + std::to_string(i) + ";;;\r\n";
        }
        ASSERT_TRUE(WriteBytes(file_, bytes_));
        // Only the lease's signal lets a writer go on, unless a test says otherwise.
        file_io_hooks::leaseTime = std::chrono::hours(1);
    }
    void TearDown() override {
        file_io_hooks::leaseTime = std::chrono::seconds(1);
        fs::remove_all(dir_);
    }

    const fs::path dir_ = MakeTemporaryFolder();
    const fs::path file_ = dir_ / "satellite.txt";
    std::string bytes_;
};

TEST_F(HeldFileTest, KeepsItsBytesWhileAnotherProgramCutsTheFileAndWritesAnew) {
    for (const auto& [name, hold] : kHolds) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(WriteBytes(file_, bytes_));
        // Taken on a thread that is gone by the time the file is cut, as at the window's start.
        std::optional<HeldFile> held;
        std::thread([&, hold = hold] { held = hold(file_, nullptr); }).join();
        ASSERT_TRUE(held.has_value());
        if (!Mapped(file_)) {
            GTEST_SKIP() << "this system gives no lease on " << file_ << ": the file is read";
        }
        EXPECT_TRUE(AnotherProgramWrites(file_, "new")) << "the other program was not let go on";
        EXPECT_EQ(ReadBytes(file_), "new");
        // Read through to the end: a page still the file's would fault past its new end.
        EXPECT_TRUE(held->bytes == bytes_);
        EXPECT_FALSE(Mapped(file_)) << "the bytes are still the file's";
    }
}

TEST_F(HeldFileTest, AWriterIsLetGoOnEvenWhenNoSignalReachesUs) {
    // Every signal blocked, on every thread, as a parent program may leave them: the bytes are
    // moved into our own memory shortly after the mapping all the same.
    file_io_hooks::leaseTime = std::chrono::seconds(1);
    sigset_t all;
    sigset_t old;
    sigfillset(&all);
    ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &all, &old), 0);
    std::optional<HeldFile> held;
    std::thread([&] { held = ReadWholeFileHeld(file_, nullptr); }).join();
    ASSERT_TRUE(held.has_value());
    const bool mapped = Mapped(file_);
    EXPECT_TRUE(AnotherProgramWrites(file_, "")) << "the other program was not let go on";
    EXPECT_TRUE(held->bytes == bytes_);
    EXPECT_FALSE(Mapped(file_));
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    if (!mapped) {
        GTEST_SKIP() << "this system gives no lease on " << file_ << ": the file is read";
    }
}

TEST_F(HeldFileTest, KeepsItsBytesWhenThisProgramRewritesTheFileInPlace) {
    // A file with a second name is rewritten in place, on this thread, while it is held.
    fs::create_hard_link(file_, dir_ / "second name.txt");
    const std::optional<HeldFile> held = ReadWholeFileHeld(file_, nullptr);
    ASSERT_TRUE(held.has_value());
    std::string error;
    ASSERT_TRUE(ReplaceFile(file_, "new", &error)) << error;
    EXPECT_EQ(ReadBytes(dir_ / "second name.txt"), "new");
    EXPECT_TRUE(held->bytes == bytes_);
}

TEST_F(HeldFileTest, AFileOpenForWritingIsReadInstead) {
    // No lease while somebody may write: the bytes must be our own from the start.
    const int writer = ::open(file_.c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    for (const auto& [name, hold] : kHolds) {
        SCOPED_TRACE(name);
        const std::optional<HeldFile> held = hold(file_, nullptr);
        ASSERT_TRUE(held.has_value());
        EXPECT_FALSE(Mapped(file_));
        ASSERT_EQ(::ftruncate(writer, 3), 0);
        EXPECT_TRUE(held->bytes == bytes_);
        ASSERT_TRUE(WriteBytes(file_, bytes_));
    }
    // Read piece by piece, each shown as it comes.
    std::vector<size_t> shown;
    const std::optional<HeldFile> held =
        ReadWholeFileHeld(file_, nullptr, [&](std::string_view soFar) {
            EXPECT_TRUE(bytes_.starts_with(soFar));
            EXPECT_TRUE(shown.empty() || soFar.size() > shown.back());
            shown.push_back(soFar.size());
        });
    ASSERT_TRUE(held.has_value());
    EXPECT_GE(shown.size(), size_t{2});
    EXPECT_EQ(shown.back(), bytes_.size());
    ::close(writer);
}

TEST_F(HeldFileTest, LettingGoLeavesNeitherMappingNorLease) {
    // More times than files can be held mapped at once: each time the file is mapped again.
    for (int i = 0; i < 12; ++i) {
        const std::optional<HeldFile> held = MapWholeFile(file_, nullptr);
        ASSERT_TRUE(held.has_value());
        if (i == 0 && !Mapped(file_)) {
            GTEST_SKIP() << "this system gives no lease on " << file_ << ": the file is read";
        }
        ASSERT_TRUE(Mapped(file_)) << "held " << i << " times";
    }
    EXPECT_FALSE(Mapped(file_));
    // With a lease left, a writer that may not wait would be turned away.
    const int writer = ::open(file_.c_str(), O_WRONLY | O_NONBLOCK);
    EXPECT_GE(writer, 0) << std::strerror(errno);
    ::close(writer);
}

}  // namespace
}  // namespace palquin
