#pragma once

// Windows test helpers that go straight to the system, so that a test's set-up and checks do not
// lean on the file layer under test.

#include <windows.h>
// windows.h maps ReplaceFile to ReplaceFileW; tests mean the file layer's function.
#undef ReplaceFile

#include <filesystem>
#include <string>

namespace palquin::testing_support {

inline bool WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
        written == bytes.size();
    return CloseHandle(file) != 0 && ok;
}

/// The file's bytes, or "<unreadable>".
inline std::string ReadBytes(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<unreadable>";
    }
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) != 0 && read > 0) {
        bytes.append(chunk, read);
    }
    CloseHandle(file);
    return bytes;
}

/// Another handle on the file, as an editor or a virus scanner may hold it. By default it shares
/// reading and writing but not deleting: Windows then refuses to move anything over the file.
class HeldOpen {
  public:
    explicit HeldOpen(const std::filesystem::path& path,
                      DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE)
        : handle_(
              CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    ~HeldOpen() {
        if (Valid()) {
            CloseHandle(handle_);
        }
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

inline bool SetReadOnly(const std::filesystem::path& path, bool readOnly) {
    return SetFileAttributesW(path.c_str(),
                              readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
}

inline bool IsReadOnly(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace palquin::testing_support
