// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCommandLineParser>
#include <QRegularExpression>
#include <system_error>

#include "cli/arguments.h"
#include "cli/command_line.h"
#include "cli/option_table.h"

namespace palquin::cli {
namespace {

// The window has nine extra converter slots.
constexpr qsizetype kMostExtras = 9;

Invocation Failed(const QString& error) {
    Invocation invocation;
    invocation.action = Invocation::Action::Error;
    invocation.error = error;
    return invocation;
}

// The parser's own messages name the argument between quotes; they are rephrased here.
QString ParserError(const QCommandLineParser& parser) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        return QStringLiteral("неизвестный параметр «%1%2»")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                 ShownArgument(name));
    }
    static const QRegularExpression kQuoted(QStringLiteral("'(.*)'"));
    const QString named = ShownArgument(kQuoted.match(parser.errorText()).captured(1));
    if (parser.errorText().startsWith(QLatin1String("Missing value"))) {
        return QStringLiteral("у параметра «%1» не указано значение").arg(named);
    }
    if (parser.errorText().startsWith(QLatin1String("Unexpected value"))) {
        return QStringLiteral("параметр «%1» не принимает значения").arg(named);
    }
    return ShownArgument(parser.errorText());
}

// An option that takes one value may be given once; --extra as often as the window has extra
// slots. The last of two values silently winning hides a typing mistake.
QString RepeatedOption(const QCommandLineParser& parser) {
    const QStringList given = parser.optionNames();
    for (const ModeDefinition& mode : Modes()) {
        if (!mode.valueName.isEmpty() && given.count(mode.name) > 1) {
            return QStringLiteral("параметр --%1 указан больше одного раза").arg(mode.name);
        }
    }
    for (const ValueOption& option : ValueOptions()) {
        const qsizetype times = given.count(option.name);
        if (option.name == QLatin1String("extra")) {
            if (times > kMostExtras) {
                return QStringLiteral(
                           "параметр --extra указан %1 раз, а дополнительных "
                           "конвертеров может быть не больше %2")
                    .arg(times)
                    .arg(kMostExtras);
            }
        } else if (!option.valueName.isEmpty() && times > 1) {
            return QStringLiteral("параметр --%1 указан больше одного раза").arg(option.name);
        }
    }
    return {};
}

}  // namespace

std::optional<QString> Invocation::Value(const QString& name) const {
    const auto found = values.find(name);
    if (found == values.end() || found->second.isEmpty()) {
        return std::nullopt;
    }
    return found->second.constLast();
}

QStringList Invocation::Values(const QString& name) const {
    const auto found = values.find(name);
    return found == values.end() ? QStringList() : found->second;
}

Invocation ParseArguments(const std::vector<std::string>& arguments) {
    QStringList texts;
    for (const std::string& argument : arguments) {
        texts.append(ArgumentText(argument));
    }
    if (texts.isEmpty()) {
        texts.append(kProgram);
    }

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    for (const ModeDefinition& mode : Modes()) {
        parser.addOption(QCommandLineOption(mode.name, mode.description, mode.valueName));
    }
    for (const ValueOption& option : ValueOptions()) {
        parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));
    }
    if (!parser.parse(texts)) {
        return Failed(ParserError(parser));
    }
    if (const QString repeated = RepeatedOption(parser); !repeated.isEmpty()) {
        return Failed(repeated);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Failed(QStringLiteral("лишний аргумент «%1»")
                          .arg(ShownArgument(parser.positionalArguments().constFirst())));
    }

    Invocation invocation;
    if (parser.isSet(help)) {
        invocation.action = Invocation::Action::Help;
        return invocation;
    }
    if (parser.isSet(version)) {
        invocation.action = Invocation::Action::Version;
        return invocation;
    }
    for (const ModeDefinition& mode : Modes()) {
        if (!parser.isSet(mode.name)) {
            continue;
        }
        if (invocation.mode != nullptr) {
            return Failed(QStringLiteral("параметры --%1 и --%2 нельзя указать вместе")
                              .arg(invocation.mode->name, mode.name));
        }
        invocation.action = Invocation::Action::Mode;
        invocation.mode = &mode;
        if (!mode.valueName.isEmpty()) {
            const QString value = parser.value(mode.name);
            if (const QString problem = CheckFile(mode.name, value); !problem.isEmpty()) {
                return Failed(problem);
            }
            invocation.values[mode.name] = QStringList{value};
        }
    }
    for (const ValueOption& option : ValueOptions()) {
        if (!parser.isSet(option.name)) {
            continue;
        }
        if (option.name == QLatin1String("catalogue")) {
            const QString value = parser.value(option.name);
            if (value.isEmpty()) {
                return Failed(QStringLiteral("у параметра --catalogue пустое имя файла"));
            }
            // A relative name means the folder the command was given in.
            std::error_code ec;
            const std::filesystem::path named = PathFromArgument(value);
            const std::filesystem::path absolute = std::filesystem::absolute(named, ec);
            invocation.catalogue = ec ? named : absolute;
            continue;
        }
        const ModeOption* taken =
            invocation.mode != nullptr ? FindModeOption(*invocation.mode, option.name) : nullptr;
        if (taken == nullptr) {
            QStringList users;
            for (const ModeDefinition& mode : Modes()) {
                if (FindModeOption(mode, option.name) != nullptr) {
                    users.append(QStringLiteral("--") + mode.name);
                }
            }
            return Failed(QStringLiteral("параметр --%1 действует только вместе с %2")
                              .arg(option.name, users.join(QStringLiteral(" или "))));
        }
        QStringList& given = invocation.values[option.name];
        for (const QString& value : parser.values(option.name)) {
            if (taken->check != nullptr) {
                if (const QString problem = taken->check(option.name, value); !problem.isEmpty()) {
                    return Failed(problem);
                }
            }
            given.append(value);
        }
    }
    if (invocation.mode != nullptr) {
        for (const ModeOption& option : invocation.mode->options) {
            if (option.required && !invocation.Has(option.name)) {
                return Failed(QStringLiteral("не указан параметр --%1, без него --%2 не работает")
                                  .arg(option.name, invocation.mode->name));
            }
        }
    }
    return invocation;
}

}  // namespace palquin::cli
