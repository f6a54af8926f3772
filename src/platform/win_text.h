// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text helpers shared by the Windows sources of the file and system layer.

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace palquin::win {

/// UTF-16 from UTF-8; false in ok (and an empty result) for bytes that are not UTF-8.
std::wstring WideFromUtf8(std::string_view text, bool* ok);

/// UTF-8 from UTF-16; unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

/// A path as UTF-8 for messages, taken from its wide form (never through the ANSI code page).
std::string PathText(const std::filesystem::path& path);

/// The system's text for an error code, with the code: "Access is denied. (error 5)".
std::string ErrorText(DWORD code);

}  // namespace palquin::win
