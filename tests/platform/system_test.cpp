// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_io.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "common/win_files.h"
#include "platform/close_request.h"
#include "platform/desktop_open.h"
#include "platform/program_folder.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include <functional>

#include "common/row_name.h"
#include "common/temporary_folder.h"
#include "platform/file_io_hooks.h"
#include "platform/file_messages.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;
/// What keeps an obstacle in place; it is taken away when the last copy goes.
using Obstacle = std::shared_ptr<void>;

// Windows-1251 letters, CR LF, a lone LF, a NUL and a Ctrl+Z, which a text mode would stop at.
const std::string kSample = std::string("\xC0\xE7\xE8\xEC\xF3\xF2;1\r\nline\n\0end\x1A", 20);

Obstacle Keep(std::function<void()> undo = [] {}) {
    static int kept;
    return Obstacle(&kept, [undo](void*) { undo(); });
}

// Each test starts in a fresh folder holding old.txt and an empty folder. Its name is Cyrillic
// ("Спутники-"), so on Windows every path the file layer sees is a wide one.
class FileIoTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fs::create_directory(dir_ / "folder"));
        ASSERT_TRUE(WriteBytes(dir_ / "old.txt", kSample));
    }
    void TearDown() override { fs::remove_all(dir_); }

    const fs::path dir_ =
        MakeTemporaryFolder(u8"\u0421\u043f\u0443\u0442\u043d\u0438\u043a\u0438-");
};

// Over the old file, under a Cyrillic name and in folder ""; on POSIX also through a link and
// under a name too long to add to for a temporary name. A file with other names is rewritten in
// place (a replace would cut it off from them), and the old tail is cut off.
TEST_F(FileIoTest, ReplaceWritesExactBytesUnderAnyName) {
    std::vector<fs::path> paths = {dir_ / "old.txt", dir_ / u8"\u041e\u0442\u0447\u0451\u0442",
                                   "r"};
#ifndef _WIN32
    fs::permissions(dir_ / "old.txt", fs::perms{0640});  // neither the default nor a temp file's
    fs::create_symlink(dir_ / "old.txt", dir_ / "link.txt");
    paths.insert(paths.end(), {dir_ / "link.txt", dir_ / std::string(255, 'n')});
#endif
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    for (const fs::path& path : paths) {
        EXPECT_TRUE(ReplaceFile(path, kSample + kSample, nullptr)) << path;
        EXPECT_EQ(ReadBytes(dir_ / path.filename()), kSample + kSample) << path;
        EXPECT_EQ(ReadWholeFile(path, nullptr), kSample + kSample) << path;
    }
    fs::current_path(before);
    EXPECT_EQ(NamesIn(dir_).size(), paths.size() + 1) << "temporary file left behind";
#ifndef _WIN32
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
    EXPECT_EQ(fs::status(dir_ / "old.txt").permissions(), fs::perms{0640});
#endif
    fs::create_hard_link(dir_ / "old.txt", dir_ / "other.txt");
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "short", nullptr));
    EXPECT_EQ(ReadBytes(dir_ / "other.txt"), "short");
    EXPECT_EQ(NamesIn(dir_).size(), paths.size() + 2) << "temporary file left behind";
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "", nullptr));
    EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), "") << "an empty file is no read failure";
}

// A power loss must never leave an empty or half file: the new bytes, all of them, reach the
// disk before the temporary file takes the target's place; a file rewritten in place (it has
// other names) is flushed again once its old tail is cut, as the last step.
TEST_F(FileIoTest, BytesReachTheDiskBeforeTheyTakeTheTargetsPlace) {
    struct Step {
        std::string step;
        fs::path file;
        std::string bytes;  // what the file held at that moment
    };
    std::vector<Step> steps;
    file_io_hooks::trace = [&steps](std::string_view step, const fs::path& file) {
        steps.push_back({std::string(step), file, ReadBytes(file)});
    };
    const Obstacle untraced = Keep([] { file_io_hooks::trace = nullptr; });
    const std::string bytes = "short";

    for (const char* name : {"new.txt", "old.txt"}) {
        SCOPED_TRACE(name);
        steps.clear();
        ASSERT_TRUE(ReplaceFile(dir_ / name, bytes, nullptr));
        ASSERT_EQ(steps.size(), 2u);
        EXPECT_EQ(steps[0].step, "flushed");
#ifndef _WIN32  // Windows keeps a temporary file being written to itself
        EXPECT_EQ(steps[0].bytes, bytes);
#endif
        EXPECT_EQ(steps[1].step, "renamed");
        EXPECT_EQ(steps[1].file, steps[0].file);
        EXPECT_EQ(steps[0].file.parent_path(), dir_);
        EXPECT_NE(steps[0].file.filename(), name);
    }

    ASSERT_TRUE(WriteBytes(dir_ / "old.txt", kSample));
    fs::create_hard_link(dir_ / "old.txt", dir_ / "other.txt");
    steps.clear();
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", bytes, nullptr));
    ASSERT_FALSE(steps.empty());
    for (const Step& step : steps) {
        EXPECT_EQ(step.step, "flushed");
        EXPECT_EQ(step.file, dir_ / "old.txt");
        EXPECT_TRUE(step.bytes.starts_with(bytes)) << step.bytes;
    }
    EXPECT_EQ(steps.back().bytes, bytes) << "the cut tail was not flushed";
}

// A held file, mapped or read, has the bytes a read gives (small, large and empty ones) and keeps
// them when the file is replaced meanwhile; a missing file is said to be missing. A large file
// held is read in pieces, and each piece is shown as soon as it is there: the bytes read so far,
// growing, ending with the whole file. (Windows maps the file and shows nothing.)
TEST_F(FileIoTest, HeldFileReadsAsAWholeRead) {
    std::string large(5 << 20, 'x');
    for (size_t i = 0; i < large.size(); i += 4093) {
        large[i] = static_cast<char>('a' + i % 26);
    }
    large.back() = 'z';
    std::vector<std::string_view> shown;
    using Hold = std::function<std::optional<HeldFile>(const fs::path&, std::string*)>;
    const Hold readHeld = [&shown](const fs::path& path, std::string* error) {
        return ReadWholeFileHeld(path, error,
                                 [&shown](std::string_view soFar) { shown.push_back(soFar); });
    };
    for (const bool read : {false, true}) {
        const Hold hold = read ? readHeld : Hold(&MapWholeFile);
        for (const std::string& bytes : {kSample, large, std::string()}) {
            shown.clear();
            ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", bytes, nullptr));
            std::optional<HeldFile> held = hold(dir_ / "old.txt", nullptr);
            ASSERT_TRUE(held.has_value());
            EXPECT_TRUE(held->bytes == bytes) << bytes.size();
#ifndef _WIN32
            if (read && bytes.size() == large.size()) {
                ASSERT_GE(shown.size(), size_t{2});
                EXPECT_EQ(shown.back().size(), large.size());
            }
#endif
            for (size_t i = 0; i < shown.size(); ++i) {
                EXPECT_EQ(shown[i].data(), held->bytes.data());
                EXPECT_TRUE(bytes.starts_with(shown[i])) << i;
                EXPECT_TRUE(i == 0 || shown[i].size() > shown[i - 1].size()) << i;
            }
            ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "other", nullptr));
            EXPECT_TRUE(held->bytes == bytes) << bytes.size();
        }
        std::string error;
        EXPECT_FALSE(hold(dir_ / "missing.txt", &error).has_value());
        EXPECT_EQ(error, file_messages::About(dir_ / "missing.txt", file_messages::kNotFound));
    }
    std::string error;
    EXPECT_FALSE(ReadWholeFile(dir_ / "missing.txt", &error).has_value());
    EXPECT_EQ(error, file_messages::About(dir_ / "missing.txt", file_messages::kNotFound));
}

// Other names, other kinds of file and a running save's file (held or locked) all stay.
TEST_F(FileIoTest, RemoveStaleTemporariesTakesOnlyPlainFilesOfItsOwnName) {
    for (const char* name : {"palquin-2.tmp", "x.palquin-3.tmp", ".palquin-4.tmp~",
                             ".palquin-5.TMP.txt", ".palquin-held.tmp"}) {
        ASSERT_TRUE(WriteBytes(dir_ / name, "x")) << name;
    }
    ASSERT_TRUE(fs::create_directory(dir_ / ".palquin-6.tmp"));
#ifdef _WIN32
    const Obstacle held = HoldOpen(dir_ / ".palquin-held.tmp", 0);
    ASSERT_TRUE(held);
#else
    fs::create_symlink(dir_ / "old.txt", dir_ / ".palquin-7.tmp");
    ASSERT_EQ(::mkfifo((dir_ / ".palquin-8.tmp").c_str(), 0644), 0);
    const int file = ::open((dir_ / ".palquin-held.tmp").c_str(), O_RDONLY);
    const Obstacle held = Keep([file] { ::close(file); });
    ASSERT_EQ(::flock(file, LOCK_EX), 0);
#endif
    const auto kept = NamesIn(dir_);
    ASSERT_TRUE(WriteBytes(dir_ / ".palquin-1.tmp", "x"));
    ASSERT_TRUE(WriteBytes(dir_ / ".palquin-.tmp", "x"));
    RemoveStaleTemporaries(dir_);
    RemoveStaleTemporaries(dir_ / "missing");  // nothing to do, nothing to fail
    EXPECT_EQ(NamesIn(dir_), kept);
}

struct RefusedRow {
    const char* name;
    const char* target;
    Obstacle (*make)(const fs::path& target);  ///< null when this machine cannot make it
    std::string_view reason;                   ///< what the user is told, after the file's name
};

class RefusedSaveTest : public FileIoTest, public testing::WithParamInterface<RefusedRow> {};

// The save fails and says why in the user's words, naming the user's file (never the temporary
// one), and nothing on disk changes. Only a regular file is read (a FIFO would hang the start) or
// written (a device behind a link would become a plain file).
TEST_P(RefusedSaveTest, IsReportedAndChangesNothing) {
    const fs::path target = dir_ / GetParam().target;
    const Obstacle obstacle = GetParam().make(target);
    if (!obstacle) {
        GTEST_SKIP() << "cannot make this obstacle here";
    }
    const auto names = NamesIn(dir_);
    std::error_code ec;
    const fs::file_status before = fs::symlink_status(target, ec);
    std::string error;
    EXPECT_FALSE(ReplaceFile(target, std::string(4096, 'n'), &error));
    EXPECT_EQ(error, file_messages::About(target, GetParam().reason));
    EXPECT_EQ(ReadBytes(dir_ / "old.txt"), kSample);
    EXPECT_EQ(NamesIn(dir_), names);
    EXPECT_EQ(fs::symlink_status(target, ec).type(), before.type());
    EXPECT_EQ(fs::symlink_status(target, ec).permissions(), before.permissions());
    // What cannot be written for what it is, or where it is, cannot be read either, and the read
    // says why in the same words.
    const bool readable = target.filename() == "old.txt";
    std::string readError;
    EXPECT_EQ(ReadWholeFile(target, &readError).has_value(), readable);
    EXPECT_EQ(readError, readable ? "" : error);
    EXPECT_EQ(MapWholeFile(target, nullptr).has_value(), readable);
    EXPECT_EQ(ReadWholeFileHeld(target, nullptr).has_value(), readable);
}

#ifndef _WIN32
Obstacle Made(int result) {
    return result == 0 ? Keep() : nullptr;
}

// A private copy of /dev/null, so a fault can only ever replace this one.
int MakeDevice(const fs::path& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3));
}

// A full disk: a file-size limit, which binds root too, unlike permission bits.
Obstacle FillDisk(const fs::path&) {
    rlimit normal{};
    ::getrlimit(RLIMIT_FSIZE, &normal);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit low{64, normal.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &low);
    return Keep([normal] { ::setrlimit(RLIMIT_FSIZE, &normal); });
}
#endif

const RefusedRow kRefused[] = {
    {"MissingFolder", "missing/out.txt", [](const fs::path&) { return Keep(); },
     file_messages::kNoFolder},
    {"Folder", "folder", [](const fs::path&) { return Keep(); }, file_messages::kFolder},
    // No write permission at all is the user's way of keeping a file as it is, for root too.
    {"ReadOnly", "old.txt",
     [](const fs::path& file) {
         fs::permissions(file, fs::perms{0444});
         return Keep([file] { fs::permissions(file, fs::perms{0644}); });
     },
     file_messages::kReadOnlyFile},
    // Another program took the temporary file away before the last step of the save.
    {"FailedRename", "old.txt",
     [](const fs::path&) {
         file_io_hooks::beforeRename = [](const fs::path& temporary) { fs::remove(temporary); };
         return Keep([] { file_io_hooks::beforeRename = nullptr; });
     },
     file_messages::kChanged},
#ifdef _WIN32
    {"Device", "NUL", [](const fs::path&) { return Keep(); },  // a device name in any folder
     file_messages::kNotRegular},
    {"HeldWithoutDeleteSharing", "old.txt", [](const fs::path& file) { return HoldOpen(file); },
     file_messages::kBusy},
#else
    {"Fifo", "special", [](const fs::path& path) { return Made(::mkfifo(path.c_str(), 0644)); },
     file_messages::kNotRegular},
    {"Device", "special", [](const fs::path& path) { return Made(MakeDevice(path)); },
     file_messages::kNotRegular},
    {"LinkToDevice", "special",
     [](const fs::path& path) {
         const fs::path device = fs::path(path).concat(".dev");
         return Made(MakeDevice(device) != 0 ? -1 : ::symlink(device.c_str(), path.c_str()));
     },
     file_messages::kNotRegular},
    {"DanglingLink", "special",
     [](const fs::path& path) { return Made(::symlink("nowhere", path.c_str())); },
     file_messages::kDanglingLink},
    // The size limit is the file's own, not the disk's: the words say so.
    {"FullDisk", "old.txt", FillDisk, file_messages::kTooLarge},
    // Growing in place is refused before a byte of the old content is overwritten.
    {"HardLinkedOnFullDisk", "old.txt",
     [](const fs::path& file) {
         fs::create_hard_link(file, file.parent_path() / "other.txt");
         return FillDisk(file);
     },
     file_messages::kTooLarge},
#endif
};

INSTANTIATE_TEST_SUITE_P(Obstacles, RefusedSaveTest, testing::ValuesIn(kRefused), RowName());

#ifdef _WIN32

TEST(WindowsSystemTest, ProgramFolderHoldsThisTestProgram) {
    std::string error;
    const fs::path before = fs::current_path();
    fs::current_path(fs::temp_directory_path());  // not a place to look for the program
    const std::optional<fs::path> folder = ProgramFolder(&error);
    fs::current_path(before);
    ASSERT_TRUE(folder.has_value()) << error;
    EXPECT_TRUE(fs::is_regular_file(*folder / "palquin_platform_tests.exe")) << folder->string();
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

#else

TEST(WindowsSystemTest, WindowsOnly) {
    GTEST_SKIP() << "Windows matters: make test-windows runs these under Wine";
}

constexpr uid_t kNobody = 65534;

TEST_F(FileIoTest, ReplaceKeepsOwnerAndGroup) {
    if (::chown((dir_ / "old.txt").c_str(), kNobody, kNobody) != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "new", nullptr));
    struct stat st {};
    ASSERT_EQ(::stat((dir_ / "old.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
}

// A writable file in a folder that takes no new file (an installed layout): as root the save
// runs as nobody, who owns the file; otherwise the folder is made read-only.
TEST_F(FileIoTest, FileInAFolderWithoutWriteRightIsRewrittenInPlace) {
    const fs::path file = dir_ / "old.txt";
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(root ? ::chown(file.c_str(), kNobody, kNobody) : ::chmod(dir_.c_str(), 0555), 0);
    const auto save = [&] {
        const bool user = !root || (::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
        ::_exit(user && ReplaceFile(file, kSample + "more", nullptr) ? 0 : 1);
    };
    EXPECT_EXIT(save(), testing::ExitedWithCode(0), "");
    ::chmod(dir_.c_str(), 0755);
    EXPECT_EQ(ReadBytes(file), kSample + "more");
    EXPECT_EQ(NamesIn(dir_).size(), 2u) << "temporary file left behind";
}

// A pipe on standard output gets a megabyte of room, and one that has more keeps it.
TEST(OutputPipeTest, GetsAMegabyteOfRoomAndNeverLess) {
    for (const int asked : {64 << 10, 2 << 20}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ::fcntl(ends[1], F_SETPIPE_SZ, asked);
        const int before = ::fcntl(ends[1], F_GETPIPE_SZ);
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(ends[1], STDOUT_FILENO);
            WidenOutputPipe();
            _exit(::fcntl(STDOUT_FILENO, F_GETPIPE_SZ) == std::max(before, 1 << 20) ? 0 : 1);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << before;
        ::close(ends[0]);
        ::close(ends[1]);
    }
}

#endif

}  // namespace
}  // namespace palquin
