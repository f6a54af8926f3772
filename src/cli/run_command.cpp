// SPDX-License-Identifier: GPL-3.0-or-later
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <new>
#include <system_error>

#include "cli/arguments.h"
#include "cli/command_line.h"
#include "cli/modes.h"
#include "cli/option_table.h"
#include "platform/file_io.h"
#include "platform/file_messages.h"

namespace palquin::cli {
namespace {

bool OutputIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stdout)) != 0;
#else
    return ::isatty(STDOUT_FILENO) != 0;
#endif
}

}  // namespace

int Run(const Invocation& invocation, Context& context) {
    if (!context.outIsTerminal) {
        context.outIsTerminal = &context.out == &std::cout && OutputIsTerminal();
    }
#ifndef _WIN32
    // A reader that went away (head, a closed pipe) is a failed write with status 1, not a
    // silent end by signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    switch (invocation.action) {
        case Invocation::Action::Help:
            return WriteOut(context, HelpText(context).toUtf8()) ? kExitOk : kExitFailure;
        case Invocation::Action::Version:
            return WriteOut(context, QStringLiteral("%1 %2\n")
                                         .arg(kProgram, QStringLiteral(PALQUIN_VERSION))
                                         .toUtf8())
                       ? kExitOk
                       : kExitFailure;
        case Invocation::Action::Error:
            return UsageError(context, invocation.error);
        case Invocation::Action::Mode:
            return invocation.mode->run(invocation, context);
        case Invocation::Action::Window:
            break;
    }
    return kExitOk;
}

bool CheckCatalogue(const std::filesystem::path& file, std::ostream& err) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    const auto type = status.type();
    QString message;
    if (type == std::filesystem::file_type::not_found ||
        (type != std::filesystem::file_type::regular && !ec)) {
        // A folder, a device or a pipe: a pipe would make the reading wait forever.
        const std::string_view reason =
            type == std::filesystem::file_type::not_found   ? file_messages::kNotFound
            : type == std::filesystem::file_type::directory ? file_messages::kFolder
                                                            : file_messages::kNotRegular;
        message = QStringLiteral("каталог «%1» не прочитан: %2")
                      .arg(ShownArgument(PathText(file)), QString::fromUtf8(reason));
    } else if (std::ifstream(file, std::ios::binary)) {
        return true;
    } else {
        // The file layer says why, in the user's words.
        std::string error;
        ReadWholeFile(file, &error);
        message = QStringLiteral("каталог не прочитан: ") + ShownFileError(error, file);
    }
    err << ArgumentBytes(QStringLiteral("%1: %2\n").arg(kProgram, message));
    err.flush();
    return false;
}

std::optional<CatalogueText> ReadModeCatalogue(const Invocation& invocation, Context& context) {
    const std::filesystem::path file = invocation.catalogue.value_or(context.defaultCatalogue);
    std::error_code ec;
    if (!invocation.catalogue &&
        std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::not_found) {
        // The window would create the file from its built-in catalogue; a mode only reads.
        return CatalogueText(std::string(DefaultSatelliteFile()));
    }
    if (!CheckCatalogue(file, context.err)) {
        return std::nullopt;
    }
    std::string error;
    try {
        // Mapped rather than read: a mode reads the file once and ends.
        std::optional<HeldFile> held = MapWholeFile(file, &error);
        if (held) {
            return CatalogueText(std::move(held->owner), held->bytes);
        }
    } catch (const std::bad_alloc&) {
        error = file_messages::About(file, file_messages::kNoMemory);
    }
    context.err << ArgumentBytes(
        QStringLiteral("%1: каталог не прочитан: %2\n").arg(kProgram, ShownFileError(error, file)));
    return std::nullopt;
}

QString ShownFileError(const std::string& error, const std::filesystem::path& file) {
    const QString name = PathText(file);
    return EscapeControls(ArgumentText(error).replace(name, ShownArgument(name)));
}

int UsageError(Context& context, const QString& message) {
    context.err << ArgumentBytes(
        QStringLiteral("%1: %2\n%3Подробнее: %1 --help\n").arg(kProgram, message, Usage()));
    context.err.flush();
    return kExitUsage;
}

bool WriteOut(Context& context, const QByteArray& text) {
    context.out.write(text.constData(), text.size());
    context.out.flush();
    if (!context.out) {
        context.err << "palquin: не удалось записать в стандартный вывод\n";
        return false;
    }
    return true;
}

}  // namespace palquin::cli
