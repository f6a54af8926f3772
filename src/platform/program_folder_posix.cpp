// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace palquin {

std::optional<std::filesystem::path> ProgramFolder(std::string* error) {
    // readlink does not say whether the name was cut short; grow until it fits.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            if (error != nullptr) {
                *error = "не удалось узнать файл программы (ошибка системы, код " +
                         std::to_string(errno) + ")";
            }
            return std::nullopt;
        }
        const auto length = static_cast<size_t>(n);
        if (length < buffer.size()) {
            std::string_view name(buffer.data(), length);
            // The kernel marks an executable that was removed or replaced while it runs.
            constexpr std::string_view kDeleted = " (deleted)";
            if (name.size() > kDeleted.size() && name.ends_with(kDeleted)) {
                name.remove_suffix(kDeleted.size());
            }
            const std::filesystem::path folder = std::filesystem::path(name).parent_path();
            if (name.empty() || name.front() != '/' || folder.empty()) {
                if (error != nullptr) {
                    *error = "у файла программы нет пригодного имени";
                }
                return std::nullopt;
            }
            return folder;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace palquin
