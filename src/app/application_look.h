// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace palquin {

/// Qt's own texts in Russian (the print and file dialogs, the standard buttons), whatever the
/// user's locale, since every other text of the window is Russian; and the program's icon on
/// every window. False when Qt's Russian translation is not installed: those texts stay English.
bool PrepareApplication(QApplication& app);

}  // namespace palquin
