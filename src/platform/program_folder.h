// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace palquin {

/// The folder holding the running executable, found as bytes (/proc/self/exe on Linux,
/// GetModuleFileNameW on Windows), never through a text round trip, so a folder whose name is
/// not valid UTF-8 is still the right one. nullopt (error says why) when it cannot be found.
std::optional<std::filesystem::path> ProgramFolder(std::string* error);

}  // namespace palquin
