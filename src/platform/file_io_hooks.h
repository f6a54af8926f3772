// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string_view>

namespace palquin::file_io_hooks {

/// Called with the temporary file's path just before it is renamed over the target; lets a test
/// make that last step fail. Empty in the program.
extern std::function<void(const std::filesystem::path& temporary)> beforeRename;

/// Told each step that makes a save last, in order: "flushed" with the file whose bytes have
/// reached the disk (fsync; FlushFileBuffers on Windows), "renamed" with the temporary file just
/// moved over the target. Lets a test see that nothing is renamed before its bytes are on the
/// disk. Empty in the program.
extern std::function<void(std::string_view step, const std::filesystem::path& file)> trace;

/// How long a large file held mapped keeps its lease before its bytes are moved into memory of
/// our own (Linux; 1 s in the program). A test makes it long, so that only the lease's signal
/// can let a writer go on.
extern std::chrono::milliseconds leaseTime;

}  // namespace palquin::file_io_hooks
