// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;
class QIcon;

namespace palquin {

/// Qt's own texts in Russian (the print and file dialogs, the standard buttons), whatever the
/// user's locale, since every other text of the window is Russian; and the program's icon on
/// every window. False when Qt's Russian translation is not installed: those texts stay English.
bool PrepareApplication(QApplication& app);

/// The program's icon (resources/palquin.svg). The sizes an X11 window is given (16, 32, 64 and
/// 128 pixels) come ready drawn from PNG copies of the SVG, so that creating the first window
/// neither loads Qt's SVG plug-in nor draws the picture four times; any other size or mode is
/// drawn from the SVG.
QIcon ProgramIcon();

/// The sizes ProgramIcon holds as PNG copies, and where: ":/palquin/icons/palquin-<size>.png".
inline constexpr int kProgramIconSizes[] = {16, 32, 64, 128};

}  // namespace palquin
