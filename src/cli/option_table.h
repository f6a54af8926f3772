// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The options the command line knows, shared by its parsing, its help text and its running.

#include <QString>
#include <vector>

#include "cli/command_line.h"

namespace palquin::cli {

inline const QString kProgram = QStringLiteral("palquin");

// A value option (or a flag, without a value name): its long name, the name of its value in
// --help. How a mode checks the value is the mode's own.
struct ValueOption {
    QString name;
    QString valueName;
    QString description;
};

/// Every value option and flag, in the order --help lists them.
const std::vector<ValueOption>& ValueOptions();
const ValueOption* FindValueOption(const QString& name);
const ModeOption* FindModeOption(const ModeDefinition& mode, const QString& name);

/// What is wrong with the file name a mode takes as its own value (empty when nothing is).
QString CheckFile(const QString& name, const QString& value);

/// The usage lines, one per mode, that a usage error and --help begin with.
QString Usage();
/// The whole of --help.
QString HelpText(const Context& context);

}  // namespace palquin::cli
