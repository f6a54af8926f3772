// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <system_error>
#include <thread>

#include "platform/file_io.h"
#include "platform/file_io_hooks.h"
#include "platform/file_io_posix_detail.h"
#include "platform/file_messages.h"

namespace palquin {

std::function<void(const std::filesystem::path&)> file_io_hooks::beforeRename;
std::function<void(std::string_view, const std::filesystem::path&)> file_io_hooks::trace;

namespace {

using file_io_detail::Access;
using file_io_detail::Descriptor;
using file_io_detail::Reason;
using file_io_detail::SetError;
namespace words = file_messages;

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

// Opens target for writing, without waiting on a FIFO. A program that holds the file under a
// lease (this one does, for a large catalogue it keeps) is asked to let go by the first try,
// and does so within milliseconds; meanwhile the open is tried again, for up to two seconds.
int OpenToRewrite(const std::filesystem::path& target) {
    for (int tries = 0;; ++tries) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd >= 0 || errno != EWOULDBLOCK || tries == 200) {
            return fd;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Rewrites the existing file target in place: the new bytes over the old ones, flushed, and only
// then the old tail cut off. Used where a replace would break hard links, lose the owner, or
// cannot create its temporary file.
bool RewriteInPlace(const std::filesystem::path& target, const struct stat& expected,
                    std::string_view bytes, std::string* error) {
    Descriptor fd(OpenToRewrite(target));
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

void WidenOutputPipe() {
#ifdef F_SETPIPE_SZ
    constexpr int kRoom = 1 << 20;
    struct stat st {};
    if (::fstat(STDOUT_FILENO, &st) == 0 && S_ISFIFO(st.st_mode) &&
        ::fcntl(STDOUT_FILENO, F_GETPIPE_SZ) < kRoom) {
        ::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kRoom);
    }
#endif
}

bool CanCreateFilesIn(const std::filesystem::path& folder) {
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
        return false;
    }
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
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
