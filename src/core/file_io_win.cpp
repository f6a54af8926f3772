#include <windows.h>
// windows.h maps ReplaceFile to ReplaceFileW; the name here is our own function's.
#undef ReplaceFile

#include <algorithm>
#include <random>

#include "core/file_io.h"
#include "core/win_text.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using win::ErrorText;
using win::PathText;

constexpr std::wstring_view kTemporaryPrefix = L".palquin-";
constexpr std::wstring_view kTemporarySuffix = L".tmp";

void SetError(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what;
    }
}

std::string Failure(const std::string& what, const fs::path& path, DWORD code) {
    return what + " " + PathText(path) + ": " + ErrorText(code);
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

  private:
    HANDLE handle_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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

bool IsTemporaryName(std::wstring_view name) {
    return name.size() >= kTemporaryPrefix.size() + kTemporarySuffix.size() &&
           name.substr(0, kTemporaryPrefix.size()) == kTemporaryPrefix &&
           name.substr(name.size() - kTemporarySuffix.size()) == kTemporarySuffix;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path, std::string* error) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        SetError(error, PathText(path) + " is a folder, not a file");
        return std::nullopt;
    }
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) {
        const DWORD code = GetLastError();
        SetError(error, Failure("cannot open", path, code));
        return std::nullopt;
    }
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) != 0 && size.QuadPart > 0 &&
        size.QuadPart < (LONGLONG{1} << 31)) {
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    }
    char chunk[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) == 0) {
            const DWORD code = GetLastError();
            SetError(error, Failure("cannot read", path, code));
            return std::nullopt;
        }
        if (read == 0) {
            return bytes;
        }
        bytes.append(chunk, read);
    }
}

bool ReplaceFile(const fs::path& path, std::string_view bytes, std::string* error) {
    fs::path target = path;
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        DWORD code = 0;
        const std::optional<fs::path> resolved = FinalPath(path, &code);
        if (!resolved) {
            SetError(error, Failure("cannot resolve", path, code));
            return false;
        }
        target = *resolved;
        attributes = GetFileAttributesW(target.c_str());
    }
    const DWORD missing = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (!replacing && missing != ERROR_FILE_NOT_FOUND) {
        SetError(error, Failure("cannot reach", target, missing));
        return false;
    }
    if (replacing) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            SetError(error, PathText(target) + " is a folder, not a file");
            return false;
        }
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            SetError(error, PathText(target) + " is read-only");
            return false;
        }
        // Whether the file may be written and then removed by the move, and is a disk file
        // rather than a device; a file held open without delete sharing fails here already.
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
        if (!probe.Valid()) {
            const DWORD refused = GetLastError();
            SetError(error, Failure("cannot replace", target, refused));
            return false;
        }
        if (GetFileType(probe.Get()) != FILE_TYPE_DISK) {
            SetError(error, PathText(target) + " is not a regular file");
            return false;
        }
    }

    // A short unique name beside the target, so that the move stays on one volume.
    std::random_device random;
    fs::path temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    DWORD code = 0;
    for (int attempt = 0; attempt < 16 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = target.parent_path() /
                    (std::wstring(kTemporaryPrefix) + std::to_wstring(random() % 1000000) +
                     std::wstring(kTemporarySuffix));
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        code = GetLastError();
        if (created == INVALID_HANDLE_VALUE && code != ERROR_FILE_EXISTS &&
            code != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    Handle file(created);
    if (!file.Valid()) {
        SetError(error, Failure("cannot create", temporary, code));
        return false;
    }
    const bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get()) != 0;
    code = GetLastError();
    const bool closed = file.Close();
    if (written && !closed) {
        code = GetLastError();
    }
    if (!written || !closed) {
        SetError(error, Failure(written ? "cannot close" : "cannot write", temporary, code));
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
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        code = GetLastError();
        SetError(error, Failure("cannot replace", target, code));
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
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

}  // namespace palquin
