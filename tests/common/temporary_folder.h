// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <string_view>

namespace palquin::testing_support {

/// Creates a new empty folder in the system's temporary folder and returns its path; stem goes in
/// front of a random number (UTF-8, so a test can ask for a name in any script).
inline std::filesystem::path MakeTemporaryFolder(std::u8string_view stem = u8"palquin-") {
    for (std::random_device random;;) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() /
            std::filesystem::path(stem).concat(std::to_string(random()));
        if (std::filesystem::create_directory(folder)) {
            return folder;
        }
    }
}

// Set-up and checks go through the standard library, not through the file layer under test.
inline bool WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary) << bytes);
}

/// The file's bytes, or "<unreadable>".
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<unreadable>";
}

inline std::set<std::filesystem::path> NamesIn(const std::filesystem::path& folder) {
    std::set<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename());
    }
    return names;
}

}  // namespace palquin::testing_support
