// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

extern char** environ;

namespace palquin {
namespace {

#ifdef __APPLE__
constexpr const char* kHandler = "open";
#else
constexpr const char* kHandler = "xdg-open";
#endif

// The handler's full path, looked up in PATH the way a shell would, but here in the parent: after
// fork only async-signal-safe calls are allowed, and execvp is not one of them.
std::optional<std::string> FindHandler() {
    const char* pathVariable = std::getenv("PATH");
    const std::string path =
        pathVariable != nullptr ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        // An empty PATH entry is the current folder.
        const std::string candidate =
            (end == start ? std::string(".") : path.substr(start, end - start)) + "/" + kHandler;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

void WriteErrno(int fd) {
    const int code = errno;
    [[maybe_unused]] const ssize_t n = ::write(fd, &code, sizeof code);
}

}  // namespace

bool OpenWithDesktop(std::string_view text) {
    // A NUL byte cannot travel in an argument; cutting the text there would open something else.
    if (text.empty() || text.find('\0') != std::string_view::npos) {
        return false;
    }
    const std::optional<std::string> handler = FindHandler();
    if (!handler) {
        return false;
    }
    // "--help" or "-x" would reach the handler as an option and open nothing; as a relative path
    // it names the same file from the current folder.
    const std::string argument = (text.front() == '-' ? "./" : "") + std::string(text);
    char* const argv[] = {const_cast<char*>(kHandler), const_cast<char*>(argument.c_str()),
                          nullptr};

    // The grandchild reports a failed exec through this pipe; a successful exec closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // Intermediate child: starts the handler in a session of its own and leaves at once, so
        // the handler is adopted by init and nobody has to wait for the browser to end.
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            WriteErrno(report[1]);
            ::_exit(1);
        }
        if (grandchild == 0) {
            const int devNull = ::open("/dev/null", O_RDONLY);
            if (devNull >= 0) {
                ::dup2(devNull, STDIN_FILENO);
                if (devNull != STDIN_FILENO) {
                    ::close(devNull);
                }
            }
            ::execve(handler->c_str(), argv, environ);
            WriteErrno(report[1]);
            ::_exit(127);
        }
        ::_exit(0);
    }

    ::close(report[1]);
    int childStatus = 0;
    while (::waitpid(child, &childStatus, 0) < 0 && errno == EINTR) {
    }
    int code = 0;
    ssize_t n = 0;
    do {
        n = ::read(report[0], &code, sizeof code);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);
    return n == 0;
}

}  // namespace palquin
