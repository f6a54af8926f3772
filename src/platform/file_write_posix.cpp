#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <system_error>

#include "platform/file_io.h"
#include "platform/file_io_hooks.h"
#include "platform/file_messages.h"

namespace palquin {

std::function<void(const std::filesystem::path&)> file_io_hooks::beforeRename;
std::function<void(std::string_view, const std::filesystem::path&)> file_io_hooks::trace;

namespace {

// Room left behind a read file, so that a save composing the new text in the same buffer
// rarely has to move it.
constexpr size_t kReadSlack = 4096;

void SetError(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what;
    }
}

void Trace(std::string_view step, const std::filesystem::path& file) {
    if (file_io_hooks::trace) {
        file_io_hooks::trace(step, file);
    }
}

// The file's bytes onto the disk: a rename or a cut tail that reached the disk before them
// would leave an empty or half file after a power loss.
bool Flush(int fd, const std::filesystem::path& file) {
    if (::fsync(fd) != 0) {
        return false;
    }
    Trace("flushed", file);
    return true;
}

namespace words = file_messages;

enum class Access { Read, Write };

// The reason for a failed system call, in the user's words.
std::string Reason(int code, Access access) {
    switch (code) {
        case ENOENT:
            return std::string(access == Access::Read ? words::kNotFound : words::kNoFolder);
        case ENOTDIR:
            return std::string(words::kFileInPath);
        case EACCES:
        case EPERM:
            return std::string(access == Access::Read ? words::kNoReadRight : words::kNoWriteRight);
        case EROFS:
            return std::string(words::kReadOnlyDisk);
        case ENOSPC:
        case EDQUOT:
            return std::string(words::kDiskFull);
        case EFBIG:
        case EOVERFLOW:
            return std::string(words::kTooLarge);
        case ENAMETOOLONG:
            return std::string(words::kNameTooLong);
        case EISDIR:
            return std::string(words::kFolder);
        case ELOOP:
            return std::string(words::kLinkLoop);
        case EIO:
            return std::string(words::kDiskError);
        case ENOMEM:
            return std::string(words::kNoMemory);
        case EMFILE:
        case ENFILE:
            return std::string(words::kTooManyFiles);
        case ETXTBSY:
        case EBUSY:
            return std::string(words::kBusy);
        default:
            return words::SystemCode(code);
    }
}

// Closes a descriptor on every way out.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    /// Closes now; false (errno set) when the close reports a failed write.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Writes all bytes to fd at offset; false on any short or failed write.
bool WriteAllAt(int fd, std::string_view bytes, off_t offset) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                   offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Rewrites the existing file target in place: the new bytes over the old ones, flushed, and only
// then the old tail cut off. Used where a replace would break hard links, lose the owner, or
// cannot create its temporary file.
bool RewriteInPlace(const std::filesystem::path& target, const struct stat& expected,
                    std::string_view bytes, std::string* error) {
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        SetError(error, Reason(errno, Access::Write));
        return false;
    }
    struct stat now {};
    if (::fstat(fd.get(), &now) != 0 || !S_ISREG(now.st_mode) || !SameFile(now, expected)) {
        SetError(error, std::string(words::kChanged));
        return false;
    }
    // A longer file gets its room first: on a full disk or quota the old bytes are then still
    // all there when the save gives up.
    if (static_cast<off_t>(bytes.size()) > now.st_size) {
        const int code = ::posix_fallocate(fd.get(), 0, static_cast<off_t>(bytes.size()));
        if (code != 0) {
            [[maybe_unused]] const int cut = ::ftruncate(fd.get(), now.st_size);
            SetError(error, Reason(code, Access::Write));
            return false;
        }
    }
    if (!WriteAllAt(fd.get(), bytes, 0) || !Flush(fd.get(), target) ||
        ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 || !Flush(fd.get(), target)) {
        SetError(error, Reason(errno, Access::Write));
        return false;
    }
    if (!fd.Close()) {
        SetError(error, Reason(errno, Access::Write));
        return false;
    }
    return true;
}

enum class TemporaryOutcome { Replaced, Failed, TryInPlace };

// The normal save: a temporary file beside the target, renamed over it.
TemporaryOutcome ReplaceThroughTemporary(const std::filesystem::path& target,
                                         const struct stat* old, std::string_view bytes,
                                         std::string* error) {
    // A short unique name beside the target, so the rename stays on one file system and a target
    // with the longest allowed name still gets a temporary file.
    std::random_device random;
    std::filesystem::path temporary;
    int raw = -1;
    int openError = 0;
    for (int attempt = 0; attempt < 16 && raw < 0; ++attempt) {
        temporary =
            target.parent_path() / (".palquin-" + std::to_string(random() % 1000000) + ".tmp");
        // Private until the old file's mode is copied, so a 0600 catalogue is never readable
        // by others, not even for a moment.
        raw = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                     old != nullptr ? 0600 : 0644);
        openError = errno;
        if (raw < 0 && openError != EEXIST) {
            break;
        }
    }
    if (raw < 0) {
        // A folder the user cannot write may still hold a file the user may write.
        if (old != nullptr && (openError == EACCES || openError == EPERM)) {
            return TemporaryOutcome::TryInPlace;
        }
        SetError(error, Reason(openError, Access::Write));
        return TemporaryOutcome::Failed;
    }
    Descriptor fd(raw);
    // Held until the rename, so that another instance cleaning up does not take it for a leftover.
    ::flock(fd.get(), LOCK_EX | LOCK_NB);
    auto discard = [&temporary] { ::unlink(temporary.c_str()); };

    if (old != nullptr) {
        struct stat mine {};
        const bool ownerKept = ::fstat(fd.get(), &mine) == 0 &&
                               ((mine.st_uid == old->st_uid && mine.st_gid == old->st_gid) ||
                                ::fchown(fd.get(), old->st_uid, old->st_gid) == 0);
        if (!ownerKept) {
            discard();
            return TemporaryOutcome::TryInPlace;
        }
    }
    if (!WriteAllAt(fd.get(), bytes, 0) ||
        (old != nullptr && ::fchmod(fd.get(), old->st_mode & 07777) != 0) ||
        !Flush(fd.get(), temporary)) {
        SetError(error, Reason(errno, Access::Write));
        discard();
        return TemporaryOutcome::Failed;
    }
    if (file_io_hooks::beforeRename) {
        file_io_hooks::beforeRename(temporary);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        // A temporary file gone before the rename was taken away by someone else.
        SetError(error,
                 errno == ENOENT ? std::string(words::kChanged) : Reason(errno, Access::Write));
        discard();
        return TemporaryOutcome::Failed;
    }
    Trace("renamed", temporary);
    // The new file is in place and was flushed before the rename; a close error now cannot
    // lose it, so it does not turn the save into a reported failure.
    [[maybe_unused]] const bool closed = fd.Close();
    return TemporaryOutcome::Replaced;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* error) {
    // Checked before opening, so that opening a device has no effect; and again on the open
    // descriptor, in case the name changed in between. O_NONBLOCK: a FIFO must not hang us.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        const int code = errno;
        struct stat link {};
        const bool dangling =
            code == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        struct stat folder {};
        const std::filesystem::path parent =
            path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
        const bool noFolder = code == ENOENT && ::stat(parent.c_str(), &folder) != 0;
        SetError(error, words::About(path, dangling   ? std::string(words::kDanglingLink)
                                           : noFolder ? std::string(words::kNoFolder)
                                                      : Reason(code, Access::Read)));
        return std::nullopt;
    }
    if (!S_ISREG(before.st_mode)) {
        SetError(error,
                 words::About(path, S_ISDIR(before.st_mode) ? words::kFolder : words::kNotRegular));
        return std::nullopt;
    }
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        SetError(error, words::About(path, Reason(errno, Access::Read)));
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        SetError(error, words::About(path, words::kNotRegular));
        return std::nullopt;
    }
    try {
        std::string bytes;
        const auto size = static_cast<size_t>(st.st_size);
        bytes.reserve(size + kReadSlack);
        bytes.resize(size);
        size_t done = 0;
        for (;;) {
            if (done == bytes.size()) {
                // The file may have grown since fstat.
                bytes.resize(bytes.size() + kReadSlack);
            }
            const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                SetError(error, words::About(path, Reason(errno, Access::Read)));
                return std::nullopt;
            }
            if (n == 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        bytes.resize(done);
        return bytes;
    } catch (const std::bad_alloc&) {
        SetError(error, words::About(path, words::kNoMemory));
        return std::nullopt;
    } catch (const std::length_error&) {
        SetError(error, words::About(path, words::kTooLarge));
        return std::nullopt;
    }
}

namespace {

// ReadWholeFile's answer, held.
std::optional<HeldFile> ReadAndHold(const std::filesystem::path& path, std::string* error) {
    std::optional<std::string> bytes = ReadWholeFile(path, error);
    if (!bytes) {
        return std::nullopt;
    }
    auto owned = std::make_shared<const std::string>(std::move(*bytes));
    return HeldFile{owned, *owned};
}

}  // namespace

std::optional<HeldFile> MapWholeFile(const std::filesystem::path& path, std::string* error) {
    // Read instead where there is nothing to map or the mapping fails: the checks, the messages
    // and an empty file are then those of ReadWholeFile.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) {
        return ReadAndHold(path, error);
    }
    const auto size = static_cast<size_t>(st.st_size);
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (mapped == MAP_FAILED) {
        return ReadAndHold(path, error);
    }
    ::madvise(mapped, size, MADV_SEQUENTIAL);
    std::shared_ptr<const void> owner(
        mapped, [size](const void* at) { ::munmap(const_cast<void*>(at), size); });
    return HeldFile{std::move(owner), std::string_view(static_cast<const char*>(mapped), size)};
}

std::optional<HeldFile> ReadWholeFileHeld(const std::filesystem::path& path, std::string* error) {
    // Small files, and anything out of the ordinary (not a regular file, a file that grows while
    // read, a failed read), take ReadWholeFile's way with its checks and messages.
    constexpr size_t kLarge = size_t{4} << 20;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<size_t>(st.st_size) < kLarge) {
        return ReadAndHold(path, error);
    }
    // One byte more than the file, to see that the read reached its end.
    const size_t room = static_cast<size_t>(st.st_size) + 1;
    void* memory =
        ::mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        return ReadAndHold(path, error);
    }
    std::shared_ptr<const void> owner(
        memory, [room](const void* at) { ::munmap(const_cast<void*>(at), room); });
#ifdef MADV_HUGEPAGE
    ::madvise(memory, room, MADV_HUGEPAGE);  // a few faults instead of one per 4 KB
#endif
    char* const data = static_cast<char*>(memory);
    size_t done = 0;
    while (done < room) {
        const ssize_t n = ::read(fd.get(), data + done, room - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (done == room || done != static_cast<size_t>(st.st_size)) {
        return ReadAndHold(path, error);
    }
    return HeldFile{std::move(owner), std::string_view(data, done)};
}

namespace {

// ReplaceFile's work; error gets only the reason, the caller's name of the file goes in front.
bool Replace(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
    // A link stays a link: the file it points to is the one written. A link that leads nowhere
    // is left alone rather than turned into a plain file.
    std::filesystem::path target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr) {
            // A link into /proc (/dev/stdout on a pipe) leads to something without a name.
            const int code = errno;
            struct stat reached {};
            const bool somewhere = ::stat(path.c_str(), &reached) == 0;
            SetError(error, somewhere && !S_ISREG(reached.st_mode) ? std::string(words::kNotRegular)
                            : code == ENOENT ? std::string(words::kDanglingLink)
                                             : Reason(code, Access::Write));
            return false;
        }
        target = resolved;
        std::free(resolved);
    }

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (!replacing && errno != ENOENT) {
        SetError(error, Reason(errno, Access::Write));
        return false;
    }
    if (replacing) {
        if (!S_ISREG(old.st_mode)) {
            SetError(error,
                     std::string(S_ISDIR(old.st_mode) ? words::kFolder : words::kNotRegular));
            return false;
        }
        // A file nobody may write is the user's way of keeping it as it is, root included.
        if ((old.st_mode & 0222) == 0) {
            SetError(error, std::string(words::kReadOnlyFile));
            return false;
        }
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            SetError(error, Reason(errno, Access::Write));
            return false;
        }
    }

    if (!replacing || old.st_nlink <= 1) {
        switch (ReplaceThroughTemporary(target, replacing ? &old : nullptr, bytes, error)) {
            case TemporaryOutcome::Replaced:
                return true;
            case TemporaryOutcome::Failed:
                return false;
            case TemporaryOutcome::TryInPlace:
                break;
        }
    }
    return RewriteInPlace(target, old, bytes, error);
}

}  // namespace

bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
    std::string reason;
    if (Replace(path, bytes, &reason)) {
        return true;
    }
    SetError(error, file_messages::About(path, reason));
    return false;
}

bool CanCreateFilesIn(const std::filesystem::path& folder) {
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
        return false;
    }
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string PathText(const std::filesystem::path& path) {
    return path.native();
}

void RemoveStaleTemporaries(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() < 13 || !name.starts_with(".palquin-") || !name.ends_with(".tmp")) {
            continue;
        }
        // Never follows a link, never opens anything but a regular file; a save in progress
        // holds its file locked.
        Descriptor fd(
            ::open(it->path().c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
        struct stat st {};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
            ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        struct stat named {};
        if (::lstat(it->path().c_str(), &named) == 0 && SameFile(named, st)) {
            ::unlink(it->path().c_str());
        }
    }
}

}  // namespace palquin
