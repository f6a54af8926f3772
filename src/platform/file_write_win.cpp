// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
// windows.h maps ReplaceFile to ReplaceFileW; the name here is our own function's.
#undef ReplaceFile

#include <algorithm>
#include <random>

#include "platform/file_io.h"
#include "platform/file_io_hooks.h"
#include "platform/file_io_win_detail.h"
#include "platform/file_messages.h"

namespace palquin {

std::function<void(const std::filesystem::path&)> file_io_hooks::beforeRename;
std::function<void(std::string_view, const std::filesystem::path&)> file_io_hooks::trace;

namespace {

namespace fs = std::filesystem;

using file_io_detail::Access;
using file_io_detail::Handle;
using file_io_detail::kShareAll;
using file_io_detail::Reason;
using file_io_detail::SetError;
namespace words = file_messages;

constexpr std::wstring_view kTemporaryPrefix = L".palquin-";
constexpr std::wstring_view kTemporarySuffix = L".tmp";

void Trace(std::string_view step, const fs::path& file) {
    if (file_io_hooks::trace) {
        file_io_hooks::trace(step, file);
    }
}

// The file's bytes onto the disk before anything is moved or cut.
bool Flush(HANDLE file, const fs::path& path) {
    if (FlushFileBuffers(file) == 0) {
        return false;
    }
    Trace("flushed", path);
    return true;
}

// Writes all bytes; false on any short or failed write.
bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 24));
        DWORD written = 0;
        if (WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0 || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// The file a link (or junction) finally leads to, so that the link itself stays a link.
std::optional<fs::path> FinalPath(const fs::path& path, DWORD* code) {
    Handle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) {
        *code = GetLastError();
        return std::nullopt;
    }
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            *code = GetLastError();
            return std::nullopt;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer);
        }
        buffer.resize(length);  // the needed size, terminating zero included
    }
}

// Creates a new file of our temporary naming in folder, opened with no sharing (so that another
// instance cleaning up cannot remove it while it is open). INVALID_HANDLE_VALUE and code set when
// none could be made.
HANDLE CreateTemporary(const fs::path& folder, DWORD flags, fs::path* temporary, DWORD* code) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        *temporary =
            folder / (std::wstring(kTemporaryPrefix) + std::to_wstring(random() % 1000000) +
                      std::wstring(kTemporarySuffix));
        const HANDLE created =
            CreateFileW(temporary->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr);
        *code = GetLastError();
        if (created != INVALID_HANDLE_VALUE) {
            return created;
        }
        if (*code != ERROR_FILE_EXISTS && *code != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Rewrites the existing file target in place: the new bytes over the old ones, flushed, and only
// then the old tail cut off. Used where a replace would cut a hard-linked file off from its other
// names, or where the user may write the file but not replace it.
bool RewriteInPlace(const fs::path& target, const BY_HANDLE_FILE_INFORMATION& expected,
                    std::string_view bytes, std::string* error) {
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr));
    BY_HANDLE_FILE_INFORMATION now{};
    if (!file.Valid() || GetFileInformationByHandle(file.Get(), &now) == 0) {
        SetError(error, Reason(GetLastError(), Access::Write));
        return false;
    }
    if (!SameFile(now, expected) || GetFileType(file.Get()) != FILE_TYPE_DISK) {
        SetError(error, std::string(words::kChanged));
        return false;
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(bytes.size());
    // A longer file gets its room first: on a full disk or quota the old bytes are then still
    // all there when the save gives up.
    LARGE_INTEGER oldSize{};
    oldSize.QuadPart = (static_cast<LONGLONG>(now.nFileSizeHigh) << 32) | now.nFileSizeLow;
    if (end.QuadPart > oldSize.QuadPart &&
        (SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) == 0 ||
         SetEndOfFile(file.Get()) == 0)) {
        const DWORD code = GetLastError();
        if (SetFilePointerEx(file.Get(), oldSize, nullptr, FILE_BEGIN) != 0) {
            SetEndOfFile(file.Get());
        }
        SetError(error, Reason(code, Access::Write));
        return false;
    }
    LARGE_INTEGER start{};
    if (SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) == 0 ||
        !WriteAll(file.Get(), bytes) || !Flush(file.Get(), target) ||
        SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) == 0 ||
        SetEndOfFile(file.Get()) == 0 || !Flush(file.Get(), target)) {
        SetError(error, Reason(GetLastError(), Access::Write));
        return false;
    }
    if (!file.Close()) {
        SetError(error, Reason(GetLastError(), Access::Write));
        return false;
    }
    return true;
}

bool IsTemporaryName(std::wstring_view name) {
    return name.size() >= kTemporaryPrefix.size() + kTemporarySuffix.size() &&
           name.substr(0, kTemporaryPrefix.size()) == kTemporaryPrefix &&
           name.substr(name.size() - kTemporarySuffix.size()) == kTemporarySuffix;
}

// ReplaceFile's work; error gets only the reason, the caller's name of the file goes in front.
bool Replace(const fs::path& path, std::string_view bytes, std::string* error) {
    // A link stays a link: the file it leads to is the one written. A link that leads nowhere is
    // left alone rather than turned into a plain file.
    fs::path target = path;
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        DWORD code = 0;
        const std::optional<fs::path> resolved = FinalPath(path, &code);
        if (!resolved) {
            SetError(error, code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND
                                ? std::string(words::kDanglingLink)
                                : Reason(code, Access::Write));
            return false;
        }
        target = *resolved;
        attributes = GetFileAttributesW(target.c_str());
    }
    const DWORD missing = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (!replacing && missing != ERROR_FILE_NOT_FOUND) {
        SetError(error, Reason(missing, Access::Write));
        return false;
    }
    BY_HANDLE_FILE_INFORMATION old{};
    bool inPlace = false;
    if (replacing) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            SetError(error, std::string(words::kFolder));
            return false;
        }
        // The read-only mark is the user's way of keeping the file as it is.
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            SetError(error, std::string(words::kReadOnlyFile));
            return false;
        }
        // Whether the file may be written and then removed by the move, and is a disk file
        // rather than a device; a file held open without delete sharing fails here already.
        // A file the user may write but not remove is rewritten in place.
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
        if (!probe.Valid() && GetLastError() == ERROR_ACCESS_DENIED) {
            inPlace = true;
            probe.Reset(CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        }
        if (!probe.Valid()) {
            const DWORD refused = GetLastError();
            SetError(error, Reason(refused, Access::Write));
            return false;
        }
        if (GetFileType(probe.Get()) != FILE_TYPE_DISK ||
            GetFileInformationByHandle(probe.Get(), &old) == 0) {
            SetError(error, std::string(words::kNotRegular));
            return false;
        }
        // A replace would cut the file off from its other names.
        inPlace = inPlace || old.nNumberOfLinks > 1;
    }
    if (inPlace) {
        return RewriteInPlace(target, old, bytes, error);
    }

    // A short unique name beside the target, so that the move stays on one volume.
    fs::path temporary;
    DWORD code = 0;
    Handle file(CreateTemporary(target.parent_path(), FILE_ATTRIBUTE_NORMAL, &temporary, &code));
    if (!file.Valid()) {
        // A folder that takes no new file may still hold a file the user may write.
        if (replacing && code == ERROR_ACCESS_DENIED) {
            return RewriteInPlace(target, old, bytes, error);
        }
        SetError(error, Reason(code, Access::Write));
        return false;
    }
    const bool written = WriteAll(file.Get(), bytes) && Flush(file.Get(), temporary);
    code = GetLastError();
    const bool closed = file.Close();
    if (written && !closed) {
        code = GetLastError();
    }
    if (!written || !closed) {
        SetError(error, Reason(code, Access::Write));
        DeleteFileW(temporary.c_str());
        return false;
    }
    // The replaced file keeps its hidden and system marks.
    if (replacing) {
        SetFileAttributesW(
            temporary.c_str(),
            attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    }
    if (file_io_hooks::beforeRename) {
        file_io_hooks::beforeRename(temporary);
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        code = GetLastError();
        // A temporary file gone before the move was taken away by someone else.
        SetError(error, code == ERROR_FILE_NOT_FOUND ? std::string(words::kChanged)
                                                     : Reason(code, Access::Write));
        DeleteFileW(temporary.c_str());
        return false;
    }
    Trace("renamed", temporary);
    return true;
}

}  // namespace

bool ReplaceFile(const fs::path& path, std::string_view bytes, std::string* error) {
    std::string reason;
    if (Replace(path, bytes, &reason)) {
        return true;
    }
    SetError(error, file_messages::About(path, reason));
    return false;
}

void RemoveStaleTemporaries(const fs::path& folder) {
    const fs::path pattern = folder / L"*";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        // Only plain files of our own naming; a folder or link of that name is the user's.
        const DWORD notPlain =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
        if ((found.dwFileAttributes & notPlain) == 0 && IsTemporaryName(found.cFileName)) {
            DeleteFileW((folder / found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
}

void WidenOutputPipe() {}

bool CanCreateFilesIn(const fs::path& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    // Access rights on Windows come from inherited lists, shares and policies: only trying tells.
    // The probe has our temporary naming, so even one left by a crash is cleaned up later.
    fs::path probe;
    DWORD code = 0;
    Handle file(
        CreateTemporary(folder, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, &probe, &code));
    return file.Valid();
}
}  // namespace palquin
