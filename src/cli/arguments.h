// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace palquin::cli {

/// An argument's bytes as text for the option parser. Valid UTF-8 is decoded; every byte that
/// is not part of valid UTF-8 becomes U+DC80 + byte, so a file name in another code page comes
/// back unchanged from ArgumentBytes.
QString ArgumentText(std::string_view bytes);

/// The bytes an ArgumentText stood for.
std::string ArgumentBytes(const QString& text);

/// A path as an option's value names it, and a path as a message shows it; on Linux through
/// the two functions above, so no byte of a name is lost.
std::filesystem::path PathFromArgument(const QString& text);
QString PathText(const std::filesystem::path& path);

/// Text with its control characters written out, so that printing it cannot drive a terminal:
/// ESC as "\e", tab, line feed and carriage return as "\t", "\n", "\r", any other C0 code and
/// DEL as "\x07", a C1 code as "\u009b". A backslash stays as it is.
QString EscapeControls(const QString& text);

/// An argument as an error line quotes it: escaped as above and, when longer than 200
/// characters, cut to its first 200 and "…".
QString ShownArgument(const QString& text);

}  // namespace palquin::cli
