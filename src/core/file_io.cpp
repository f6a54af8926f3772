#include "core/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace palquin {
namespace {

void SetError(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what;
    }
}

std::string ErrnoText(const std::string& what, const std::filesystem::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

// Writes all bytes to fd; false on any short or failed write.
bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        SetError(error, path.string() + " is a folder, not a file");
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SetError(error, ErrnoText("cannot open", path));
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        SetError(error, ErrnoText("cannot read", path));
        return std::nullopt;
    }
    return std::move(bytes).str();
}

bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
    // A unique name beside the target, so the rename stays on one file system.
    std::random_device random;
    const std::filesystem::path temporary =
        path.parent_path() /
        ("." + path.filename().string() + ".tmp" + std::to_string(random() % 1000000));

    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        SetError(error, ErrnoText("cannot create", temporary));
        return false;
    }
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const std::string writeError = written ? std::string() : ErrnoText("cannot write", temporary);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        SetError(error, written ? ErrnoText("cannot close", temporary) : writeError);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        SetError(error, ErrnoText("cannot replace", path));
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace palquin
