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
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "core/file_io_hooks.h"

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
    long Entries() const { return std::distance(fs::directory_iterator(dir_), {}); }

    const fs::path dir_ = fs::temp_directory_path() / ("palquin_io_" + std::to_string(::getpid()));
};

TEST_F(FileIoTest, ReplaceWritesExactBytesThroughSymlinksForAnyNameAndKeepsPermissions) {
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
}

TEST_F(FileIoTest, FailuresAreReportedAndLeaveEverythingAsItWas) {
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
}

// What a special file is made of, and the check that it is still the same afterwards.
struct SpecialRow {
    const char* name;
    int (*make)(const fs::path& path);  ///< 0 when made; -1 when this machine cannot
};

int MakeFifo(const fs::path& path) {
    return ::mkfifo(path.c_str(), 0644);
}
int MakeDevice(const fs::path& path) {
    // A private copy of /dev/null, so a fault can only ever replace this one.
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3));
}
int MakeDeviceLink(const fs::path& path) {
    if (MakeDevice(fs::path(path).concat(".dev")) != 0) {
        return -1;
    }
    return ::symlink(fs::path(path).concat(".dev").c_str(), path.c_str());
}
int MakeDanglingLink(const fs::path& path) {
    return ::symlink(fs::path(path).concat(".nowhere").c_str(), path.c_str());
}
int MakeFolder(const fs::path& path) {
    return ::mkdir(path.c_str(), 0755);
}

class SpecialFileTest : public FileIoTest, public testing::WithParamInterface<SpecialRow> {};

// Neither read (a FIFO would hang the start) nor written (a device would become a plain file);
// both say why.
TEST_P(SpecialFileTest, IsNeitherReadNorWritten) {
    const fs::path path = dir_ / "special";
    if (GetParam().make(path) != 0) {
        GTEST_SKIP() << "cannot make a " << GetParam().name << " here: " << std::strerror(errno);
    }
    struct stat before {};
    ASSERT_EQ(::lstat(path.c_str(), &before), 0);
    std::string error;
    EXPECT_FALSE(ReadWholeFile(path, &error).has_value());
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(ReplaceFile(path, kSample, &error));
    EXPECT_FALSE(error.empty());
    struct stat after {};
    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_FALSE(fs::exists(fs::path(path).concat(".nowhere"))) << "written through the link";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SpecialFileTest,
    testing::Values(SpecialRow{"Fifo", MakeFifo}, SpecialRow{"Device", MakeDevice},
                    SpecialRow{"LinkToDevice", MakeDeviceLink},
                    SpecialRow{"DanglingLink", MakeDanglingLink}, SpecialRow{"Folder", MakeFolder}),
    [](const testing::TestParamInfo<SpecialRow>& row) { return std::string(row.param.name); });

// No write permission at all is the user's way of keeping a file as it is, for root too.
TEST_F(FileIoTest, ReadOnlyFileIsLeftAlone) {
    fs::permissions(dir_ / "old.txt", fs::perms{0444});
    std::string error;
    EXPECT_FALSE(ReplaceFile(dir_ / "old.txt", "new", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), kSample);
    EXPECT_EQ(fs::status(dir_ / "old.txt").permissions(), fs::perms{0444});
}

// A replace would cut the file off from its other names; it is rewritten in place instead, the
// old tail cut off.
TEST_F(FileIoTest, HardLinkedFileIsRewrittenInPlace) {
    fs::create_hard_link(dir_ / "old.txt", dir_ / "other.txt");
    const auto inode = [](const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st.st_ino;
    };
    const ino_t before = inode(dir_ / "old.txt");
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "short", nullptr));
    EXPECT_EQ(inode(dir_ / "old.txt"), before);
    EXPECT_EQ(ReadWholeFile(dir_ / "other.txt", nullptr), "short");
    EXPECT_EQ(Entries(), 3) << "temporary file left behind";

    // Growing it on a full disk (a file-size limit, which binds root too) is refused before a
    // byte of the old content is overwritten.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64, saved.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::string error;
    const bool grown = ReplaceFile(dir_ / "old.txt", std::string(4096, 'n'), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(grown);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadWholeFile(dir_ / "other.txt", nullptr), "short");
}

// Runs body in a child that can write the file but not its folder: as root, the child becomes
// nobody and the file is nobody's; otherwise the folder is made read-only. Returns the child's
// exit status, or -1 when the child could not be set up.
int InFolderWithoutWriteRight(const fs::path& folder, const fs::path& file,
                              const std::function<bool()>& body) {
    constexpr uid_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    if (root) {
        if (::chown(file.c_str(), kNobody, kNobody) != 0) {
            return -1;
        }
    } else {
        fs::permissions(folder, fs::perms{0555});
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(3);
        }
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::permissions(folder, fs::perms{0755});
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

TEST_F(FileIoTest, FileInAFolderWithoutWriteRightIsRewrittenInPlace) {
    const fs::path file = dir_ / "old.txt";
    const int status = InFolderWithoutWriteRight(
        dir_, file, [&file] { return ReplaceFile(file, kSample + "more", nullptr); });
    if (status == -1 || status == 3) {
        GTEST_SKIP() << "cannot take another user's rights here";
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(file, nullptr), kSample + "more");
    EXPECT_EQ(Entries(), 2) << "temporary file left behind";
}

TEST_F(FileIoTest, ReplaceKeepsOwnerAndGroup) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    ASSERT_EQ(::chown((dir_ / "old.txt").c_str(), 65534, 65534), 0);
    ASSERT_TRUE(ReplaceFile(dir_ / "old.txt", "new", nullptr));
    struct stat st {};
    ASSERT_EQ(::stat((dir_ / "old.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

// The last step of a save fails (another program took the temporary file away): reported, the
// old file whole, nothing left behind.
TEST_F(FileIoTest, FailedRenameIsReportedAndLeavesTheOldFile) {
    file_io_hooks::beforeRename = [](const fs::path& temporary) { fs::remove(temporary); };
    std::string error;
    const bool ok = ReplaceFile(dir_ / "old.txt", "new", &error);
    file_io_hooks::beforeRename = nullptr;
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("cannot replace"), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), kSample);
    EXPECT_EQ(Entries(), 2);
}

TEST_F(FileIoTest, RemoveStaleTemporariesTakesOnlyOurOwnLeftovers) {
    const auto write = [this](const char* name) { std::ofstream(dir_ / name) << "x"; };
    write(".palquin-1.tmp");     // removed
    write(".palquin-.tmp");      // removed
    write("palquin-2.tmp");      // not ours: no leading dot
    write(".palquin-3.tmp~");    // not ours
    write(".palquin-held.tmp");  // a save still running in another instance
    fs::create_directory(dir_ / ".palquin-4.tmp");
    fs::create_symlink(dir_ / "old.txt", dir_ / ".palquin-5.tmp");
    ASSERT_EQ(::mkfifo((dir_ / ".palquin-6.tmp").c_str(), 0644), 0);
    const int held = ::open((dir_ / ".palquin-held.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    RemoveStaleTemporaries(dir_);
    ::close(held);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        left.insert(entry.path().filename().string());
    }
    EXPECT_EQ(left, (std::set<std::string>{"folder", "old.txt", "palquin-2.tmp", ".palquin-3.tmp~",
                                           ".palquin-held.tmp", ".palquin-4.tmp", ".palquin-5.tmp",
                                           ".palquin-6.tmp"}));
    EXPECT_EQ(ReadWholeFile(dir_ / "old.txt", nullptr), kSample);
}

}  // namespace
}  // namespace palquin
