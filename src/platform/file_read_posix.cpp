// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

#include "platform/file_io.h"
#include "platform/file_io_posix_detail.h"
#include "platform/file_messages.h"

namespace palquin {
namespace {

using file_io_detail::Access;
using file_io_detail::Descriptor;
using file_io_detail::Reason;
using file_io_detail::SetError;
namespace words = file_messages;

// Room left behind a read file, so that a save composing the new text in the same buffer
// rarely has to move it.
constexpr size_t kReadSlack = 4096;

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
    // Read instead where the file cannot be mapped under a lease: the checks, the messages and
    // an empty file are then those of ReadWholeFile.
    if (std::optional<HeldFile> mapped = file_io_detail::MapUnderLease(path)) {
        return mapped;
    }
    return ReadAndHold(path, error);
}

std::optional<HeldFile> ReadWholeFileHeld(const std::filesystem::path& path, std::string* error,
                                          const std::function<void(std::string_view)>& onRead) {
    // Small files, and anything out of the ordinary (not a regular file, a file that grows while
    // read, a failed read), take ReadWholeFile's way with its checks and messages.
    constexpr size_t kLarge = size_t{4} << 20;
    // Pieces that stay in the processor's cache until onRead has looked at them.
    constexpr size_t kPiece = size_t{512} << 10;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<size_t>(st.st_size) < kLarge) {
        return ReadAndHold(path, error);
    }
    // A large file is mapped where it can be: nothing copied, no fresh memory to clear.
    if (std::optional<HeldFile> mapped = file_io_detail::MapUnderLease(path)) {
        if (onRead) {
            const std::string_view all = mapped->bytes;
            for (size_t shown = 0; shown < all.size();) {
                shown = std::min(all.size(), shown + kPiece);
                onRead(all.substr(0, shown));
            }
        }
        return mapped;
    }
    // One byte more than the file, to see that the read reached its end. Small pages: asking
    // for large ones can stall the read for a quarter of a second while the system compacts
    // its memory to find them.
    const size_t room = static_cast<size_t>(st.st_size) + 1;
    void* memory =
        ::mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        return ReadAndHold(path, error);
    }
    std::shared_ptr<const void> owner(
        memory, [room](const void* at) { ::munmap(const_cast<void*>(at), room); });
    char* const data = static_cast<char*>(memory);
    size_t done = 0;
    while (done < room) {
        const ssize_t n = ::read(fd.get(), data + done, std::min(room - done, kPiece));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<size_t>(n);
        if (onRead && done < room) {
            onRead(std::string_view(data, done));
        }
    }
    if (done == room || done != static_cast<size_t>(st.st_size)) {
        return ReadAndHold(path, error);
    }
    return HeldFile{std::move(owner), std::string_view(data, done)};
}

std::string PathText(const std::filesystem::path& path) {
    return path.native();
}

}  // namespace palquin
