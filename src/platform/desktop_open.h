// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace palquin {

/// Hands text (UTF-8) unchanged, as one single argument, to the desktop's default handler:
/// xdg-open on Linux (macOS: open), the shell's "open" verb with a maximised window on Windows
/// (ShellExecuteW). Never through a shell; does not wait for the handler to finish (detached).
/// A text that starts with "-" is a relative path that xdg-open and open would take for an
/// option; there it goes as "./-..." (the same file). False when the text is empty or the handler
/// could not be started.
bool OpenWithDesktop(std::string_view text);

}  // namespace palquin
