// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace palquin {

/// What the program says, on standard error, when started for its window without a display.
inline constexpr const char* kNoDisplayMessage =
    "palquin: нет дисплея, окно открыть негде; без дисплея работают режимы --report, --aim и "
    "--template (palquin --help).";

/// False when the window would have no display to go to: on Linux and the other X11/Wayland
/// systems, neither DISPLAY nor WAYLAND_DISPLAY is set and QT_QPA_PLATFORM names no platform
/// other than X11 (offscreen, vnc, ...). Qt would otherwise abort. Always true on Windows and
/// macOS.
bool HasDisplay();

}  // namespace palquin
