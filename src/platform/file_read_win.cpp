// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
// windows.h maps ReplaceFile to ReplaceFileW; the name in file_io.h is our own function's.
#undef ReplaceFile

#include <algorithm>
#include <new>
#include <stdexcept>

#include "platform/file_io.h"
#include "platform/file_io_win_detail.h"
#include "platform/file_messages.h"
#include "platform/win_text.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;

using file_io_detail::Access;
using file_io_detail::Handle;
using file_io_detail::kShareAll;
using file_io_detail::Reason;
using file_io_detail::SetError;
namespace words = file_messages;

// Room left behind a read file, so that a save composing the new text in the same buffer
// rarely has to move it.
constexpr size_t kReadSlack = 4096;

}  // namespace

std::optional<HeldFile> ReadWholeFileHeld(const fs::path& path, std::string* error,
                                          const std::function<void(std::string_view)>&) {
    return MapWholeFile(path, error);
}

std::optional<HeldFile> MapWholeFile(const fs::path& path, std::string* error) {
    // Read whole: a mapped file could not be replaced while it is held.
    std::optional<std::string> bytes = ReadWholeFile(path, error);
    if (!bytes) {
        return std::nullopt;
    }
    auto owned = std::make_shared<const std::string>(std::move(*bytes));
    return HeldFile{owned, *owned};
}

std::optional<std::string> ReadWholeFile(const fs::path& path, std::string* error) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        SetError(error, words::About(path, words::kFolder));
        return std::nullopt;
    }
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) {
        const DWORD code = GetLastError();
        SetError(error, words::About(path, Reason(code, Access::Read)));
        return std::nullopt;
    }
    // A device (NUL, CON, COM1) or a pipe is no catalogue, and reading one may never end.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        SetError(error, words::About(path, words::kNotRegular));
        return std::nullopt;
    }
    try {
        std::string bytes;
        LARGE_INTEGER size{};
        if (GetFileSizeEx(file.Get(), &size) != 0 && size.QuadPart > 0) {
            if (static_cast<unsigned long long>(size.QuadPart) >= bytes.max_size() - kReadSlack) {
                throw std::length_error("file too large");
            }
            bytes.reserve(static_cast<size_t>(size.QuadPart) + kReadSlack);
        }
        constexpr DWORD kChunk = 1u << 20;
        for (;;) {
            const size_t done = bytes.size();
            // Read straight into the string; it grows only when the file grew since its size.
            if (done == bytes.capacity()) {
                bytes.reserve(done + kReadSlack);
            }
            bytes.resize(bytes.capacity());
            const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunk));
            DWORD read = 0;
            if (ReadFile(file.Get(), bytes.data() + done, wanted, &read, nullptr) == 0) {
                const DWORD code = GetLastError();
                SetError(error, words::About(path, Reason(code, Access::Read)));
                return std::nullopt;
            }
            bytes.resize(done + read);
            if (read == 0) {
                return bytes;
            }
        }
    } catch (const std::bad_alloc&) {
        SetError(error, words::About(path, words::kNoMemory));
        return std::nullopt;
    } catch (const std::length_error&) {
        SetError(error, words::About(path, words::kTooLarge));
        return std::nullopt;
    }
}

std::string PathText(const fs::path& path) {
    return win::PathText(path);
}

}  // namespace palquin
