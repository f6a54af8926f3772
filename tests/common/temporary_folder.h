#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace palquin::testing_support {

/// Creates a new empty folder in the system's temporary folder and returns its path; stem goes in
/// front of a random number (UTF-8, so a test can ask for a name in any script).
inline std::filesystem::path MakeTemporaryFolder(std::u8string_view stem = u8"palquin-") {
    std::random_device random;
    for (;;) {
        std::u8string name(stem);
        for (const char digit : std::to_string(random())) {
            name += static_cast<char8_t>(digit);
        }
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
        if (std::filesystem::create_directory(folder)) {
            return folder;
        }
    }
}

}  // namespace palquin::testing_support
