#include "core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
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
    // A link stays a link: the file it points to is the one replaced.
    std::error_code ec;
    std::filesystem::path target = path;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
        target = std::filesystem::weakly_canonical(path, ec);
        if (ec) {
            SetError(error, "cannot resolve " + path.string() + ": " + ec.message());
            return false;
        }
    }

    // The replaced file keeps its permissions; a new one gets the usual ones under the umask.
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;

    // A short unique name beside the target, so the rename stays on one file system and a target
    // with the longest allowed name still gets a temporary file.
    std::random_device random;
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary =
            target.parent_path() / (".palquin-" + std::to_string(random() % 1000000) + ".tmp");
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        SetError(error, ErrnoText("cannot create", temporary));
        return false;
    }
    const bool written = WriteAll(fd, bytes) &&
                         (!replacing || ::fchmod(fd, old.st_mode & 07777) == 0) && ::fsync(fd) == 0;
    const std::string writeError = written ? std::string() : ErrnoText("cannot write", temporary);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        SetError(error, written ? ErrnoText("cannot close", temporary) : writeError);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        SetError(error, ErrnoText("cannot replace", target));
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace palquin
