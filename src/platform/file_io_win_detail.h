// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the Windows sources of the file layer (reading, and writing or replacing).

#include <windows.h>

#include <string>

#include "platform/file_messages.h"

namespace palquin::file_io_detail {

inline void SetError(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what;
    }
}

enum class Access { Read, Write };

// The reason for a failed system call, in the user's words.
inline std::string Reason(DWORD code, Access access) {
    namespace words = file_messages;
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return std::string(access == Access::Read ? words::kNotFound : words::kNoFolder);
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return std::string(words::kNoFolder);
        case ERROR_DIRECTORY:
            return std::string(words::kFileInPath);
        case ERROR_ACCESS_DENIED:
            return std::string(access == Access::Read ? words::kNoReadRight : words::kNoWriteRight);
        case ERROR_WRITE_PROTECT:
            return std::string(words::kReadOnlyDisk);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::string(words::kDiskFull);
        case ERROR_FILE_TOO_LARGE:
            return std::string(words::kTooLarge);
        case ERROR_FILENAME_EXCED_RANGE:
            return std::string(words::kNameTooLong);
        case ERROR_INVALID_NAME:
            return std::string(words::kBadName);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return std::string(words::kBusy);
        case ERROR_CANT_RESOLVE_FILENAME:
            return std::string(words::kLinkLoop);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return std::string(words::kNoMemory);
        case ERROR_TOO_MANY_OPEN_FILES:
            return std::string(words::kTooManyFiles);
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
            return std::string(words::kDiskError);
        default:
            return words::SystemCode(static_cast<long>(code));
    }
}

// Closes the handle when it goes out of scope; Close() reports whether closing worked.
class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        const bool closed = !Valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }

  private:
    HANDLE handle_;
};

inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace palquin::file_io_detail
