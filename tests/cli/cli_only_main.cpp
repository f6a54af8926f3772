// SPDX-License-Identifier: GPL-3.0-or-later
// The command line alone, linked the way the program links it but without the window: what its
// modes load when no display is needed.
#include <QCoreApplication>
#include <QGuiApplication>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    const palquin::cli::Invocation invocation = palquin::cli::ParseArguments(arguments);
    std::optional<QGuiApplication> painting;
    std::optional<QCoreApplication> plain;
    if (invocation.action == palquin::cli::Invocation::Action::Mode && invocation.mode->paints) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        painting.emplace(argc, argv);
    } else {
        plain.emplace(argc, argv);
    }
    palquin::cli::Context context{{}, std::cout, std::cerr};
    return palquin::cli::Run(invocation, context);
}
