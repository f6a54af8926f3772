#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace palquin {

/// The whole file as bytes, or empty when it cannot be opened or read (error says why).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* error);

/// Replaces the file with bytes, as one piece: the bytes go to a temporary file in the same
/// folder, which is flushed and then renamed over path. On failure the old file stays as it was
/// and error says why.
bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes, std::string* error);

/// Removes leftovers of interrupted saves in folder: regular files named
/// .palquin-*.tmp, nothing else.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

}  // namespace palquin
