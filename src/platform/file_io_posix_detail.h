// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the Linux sources of the file layer (reading, and writing or replacing).

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/file_io.h"
#include "platform/file_messages.h"

namespace palquin::file_io_detail {

inline void SetError(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what;
    }
}

enum class Access { Read, Write };

// The reason for a failed system call, in the user's words.
inline std::string Reason(int code, Access access) {
    namespace words = file_messages;
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
        case EWOULDBLOCK:  // a lease another program does not give up
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

/// The whole regular, non-empty file at path, mapped into memory and kept as it is now for as
/// long as the answer's owner lives, even when another program (or this one) rewrites or cuts
/// the file meanwhile; nothing (and nothing held) where the system gives no lease on the file
/// or no mapping.
std::optional<HeldFile> MapUnderLease(const std::filesystem::path& path);

}  // namespace palquin::file_io_detail
