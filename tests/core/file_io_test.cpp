#include "core/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>

#include "common/row_name.h"
#include "common/temporary_folder.h"
#include "core/file_io_hooks.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using Names = std::set<fs::path>;

// Bytes the program really writes: Windows-1251 letters, CR LF, and a NUL for good measure.
const std::string kSample = std::string("\xC0\xE7\xE8\xEC\xF3\xF2;1\r\nline\n\0end", 18);
constexpr uid_t kNobody = 65534;

// Each test starts in a fresh folder holding old.txt and an empty folder.
class FileIoTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(dir_ / "folder");
        ASSERT_TRUE(WriteBytes(dir_ / "old.txt", kSample));
    }
    void TearDown() override { fs::remove_all(dir_); }

    const fs::path dir_ = MakeTemporaryFolder();
};

// Through a link, under a name too long to add to for a temporary name, and in folder "".
TEST_F(FileIoTest, ReplaceWritesExactBytesAndKeepsLinksAndPermissions) {
    fs::permissions(dir_ / "old.txt", fs::perms{0640});  // neither the default nor a temp file's
    fs::create_symlink(dir_ / "old.txt", dir_ / "link.txt");
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    for (const fs::path& path : {dir_ / "link.txt", dir_ / std::string(255, 'n'), fs::path("r")}) {
        EXPECT_TRUE(ReplaceFile(path, kSample + kSample, nullptr)) << path;
        EXPECT_EQ(ReadBytes(dir_ / path.filename()), kSample + kSample) << path;
    }
    fs::current_path(before);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
    EXPECT_EQ(fs::status(dir_ / "old.txt").permissions(), fs::perms{0640});
    EXPECT_EQ(NamesIn(dir_).size(), 5u) << "temporary file left behind";
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "", nullptr));
    EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), "") << "an empty file is no read failure";
}

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

// A replace would cut the file off from its other names: it is rewritten in place, tail cut off.
TEST_F(FileIoTest, HardLinkedFileIsRewrittenInPlace) {
    fs::create_hard_link(dir_ / "old.txt", dir_ / "other.txt");
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "short", nullptr));
    EXPECT_EQ(ReadBytes(dir_ / "other.txt"), "short");
    EXPECT_EQ(NamesIn(dir_).size(), 3u) << "temporary file left behind";
}

// A writable file in a folder that takes no new file (an installed layout): as root the save
// runs as nobody, who owns the file; otherwise the folder is made read-only.
TEST_F(FileIoTest, FileInAFolderWithoutWriteRightIsRewrittenInPlace) {
    const fs::path file = dir_ / "old.txt";
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(root ? ::chown(file.c_str(), kNobody, kNobody) : ::chmod(dir_.c_str(), 0555), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(3);
        }
        ::_exit(ReplaceFile(file, kSample + "more", nullptr) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(dir_.c_str(), 0755);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) {
        GTEST_SKIP() << "cannot take another user's rights here";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadBytes(file), kSample + "more");
    EXPECT_EQ(NamesIn(dir_).size(), 2u) << "temporary file left behind";
}

// A full disk: a file-size limit, which binds root too, unlike permission bits.
int LimitFileSize(const fs::path&) {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 64;
    return ::setrlimit(RLIMIT_FSIZE, &limit);
}

// A private copy of /dev/null, so a fault can only ever replace this one.
int MakeDevice(const fs::path& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3));
}

struct RefusedRow {
    const char* name;
    const char* target;
    int (*make)(const fs::path& target);  ///< 0 when set up; -1 when this machine cannot
};

class RefusedSaveTest : public FileIoTest, public testing::WithParamInterface<RefusedRow> {};

// The save fails and says why, and nothing on disk changes. Only a regular file is read (a FIFO
// would hang the start) or written (a device behind a link would become a plain file).
TEST_P(RefusedSaveTest, IsReportedAndChangesNothing) {
    const fs::path target = dir_ / GetParam().target;
    rlimit normal{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &normal), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    if (GetParam().make(target) != 0) {
        GTEST_SKIP() << "cannot set this up here: " << std::strerror(errno);
    }
    const Names names = NamesIn(dir_);
    struct stat before {};
    ::lstat(target.c_str(), &before);
    std::string error;
    const bool saved = ReplaceFile(target, std::string(4096, 'n'), &error);
    ::setrlimit(RLIMIT_FSIZE, &normal);
    file_io_hooks::beforeRename = nullptr;
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(dir_ / "old.txt"), kSample);
    EXPECT_EQ(NamesIn(dir_), names);
    struct stat after {};
    ::lstat(target.c_str(), &after);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ino, before.st_ino);
    error.clear();
    EXPECT_EQ(ReadWholeFile(target, &error).has_value(), S_ISREG(before.st_mode));
    EXPECT_EQ(error.empty(), S_ISREG(before.st_mode));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, RefusedSaveTest,
    testing::Values(
        RefusedRow{"MissingFolder", "missing/out.txt", [](const fs::path&) { return 0; }},
        RefusedRow{"FileAsFolder", "old.txt/out.txt", [](const fs::path&) { return 0; }},
        RefusedRow{"Folder", "folder", [](const fs::path&) { return 0; }},
        RefusedRow{"Fifo", "special", [](const fs::path& p) { return ::mkfifo(p.c_str(), 0644); }},
        RefusedRow{"Device", "special", MakeDevice},
        RefusedRow{"LinkToDevice", "special",
                   [](const fs::path& p) {
                       const fs::path device = fs::path(p).concat(".dev");
                       return MakeDevice(device) != 0 ? -1 : ::symlink(device.c_str(), p.c_str());
                   }},
        RefusedRow{"DanglingLink", "special",
                   [](const fs::path& p) { return ::symlink("nowhere", p.c_str()); }},
        // No write permission at all is the user's way of keeping a file as it is, for root too.
        RefusedRow{"ReadOnly", "old.txt",
                   [](const fs::path& p) { return ::chmod(p.c_str(), 0444); }},
        RefusedRow{"FullDisk", "old.txt", LimitFileSize},
        // Growing in place is refused before a byte of the old content is overwritten.
        RefusedRow{"HardLinkedOnFullDisk", "old.txt",
                   [](const fs::path& p) {
                       const fs::path other = p.parent_path() / "other.txt";
                       return ::link(p.c_str(), other.c_str()) != 0 ? -1 : LimitFileSize(p);
                   }},
        // Another program took the temporary file away before the last step of the save.
        RefusedRow{"FailedRename", "old.txt",
                   [](const fs::path&) {
                       file_io_hooks::beforeRename = [](const fs::path& temp) { fs::remove(temp); };
                       return 0;
                   }}),
    RowName());

TEST_F(FileIoTest, RemoveStaleTemporariesTakesOnlyOurOwnLeftovers) {
    for (const char* name : {".palquin-1.tmp", ".palquin-.tmp", "palquin-2.tmp", ".palquin-3.tmp~",
                             ".palquin-held.tmp"}) {
        ASSERT_TRUE(WriteBytes(dir_ / name, "x"));
    }
    fs::create_directory(dir_ / ".palquin-4.tmp");
    fs::create_symlink(dir_ / "old.txt", dir_ / ".palquin-5.tmp");
    ASSERT_EQ(::mkfifo((dir_ / ".palquin-6.tmp").c_str(), 0644), 0);
    // A save still running in another instance holds a lock on its file.
    const int held = ::open((dir_ / ".palquin-held.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    RemoveStaleTemporaries(dir_);
    ::close(held);
    EXPECT_EQ(NamesIn(dir_),
              (Names{"folder", "old.txt", "palquin-2.tmp", ".palquin-3.tmp~", ".palquin-held.tmp",
                     ".palquin-4.tmp", ".palquin-5.tmp", ".palquin-6.tmp"}));
}

}  // namespace
}  // namespace palquin
