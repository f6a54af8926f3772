#pragma once

#include <filesystem>
#include <functional>

namespace palquin::file_io_hooks {

/// Called with the temporary file's path just before it is renamed over the target; lets a test
/// make that last step fail. Empty in the program.
extern std::function<void(const std::filesystem::path& temporary)> beforeRename;

}  // namespace palquin::file_io_hooks
