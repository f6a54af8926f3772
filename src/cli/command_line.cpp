#include "cli/command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <system_error>

#include "cli/arguments.h"
#include "cli/modes.h"
#include "core/file_io.h"
#include "core/numeric_value.h"
#include "ui/field_rules.h"

namespace palquin::cli {
namespace {

const QString kProgram = QStringLiteral("palquin");

// A value option: its long name, the name of its value in --help, and a check of the value that
// returns what is wrong with it (empty when nothing is).
struct ValueOption {
    QString name;
    QString valueName;
    QString description;
    QString (*check)(const QString& name, const QString& value);
};

// Degrees as the window's coordinate fields take them: digits with one optional point, 0 to 180.
QString CheckDegrees(const QString& name, const QString& value) {
    static const QRegularExpression kNumber(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (kNumber.match(value).hasMatch() && CoordinateInRange(NumericValue(value.toStdString()))) {
        return {};
    }
    return QStringLiteral(
               "неверное значение «%1» у параметра --%2: нужно число градусов от 0 до "
               "180 с точкой в качестве десятичного знака")
        .arg(value, name);
}

const std::vector<ValueOption>& ValueOptions() {
    static const std::vector<ValueOption> options = {
        {QStringLiteral("catalogue"), QStringLiteral("ФАЙЛ"),
         QStringLiteral("файл каталога вместо satellite.txt программы"), nullptr},
        {QStringLiteral("latitude"), QStringLiteral("ГРАД"),
         QStringLiteral("широта места в градусах (по умолчанию — сохранённая в каталоге)"),
         CheckDegrees},
        {QStringLiteral("longitude"), QStringLiteral("ГРАД"),
         QStringLiteral("долгота места в градусах (по умолчанию — сохранённая в каталоге)"),
         CheckDegrees},
    };
    return options;
}

Invocation Failed(const QString& error) {
    Invocation invocation;
    invocation.action = Invocation::Action::Error;
    invocation.error = error;
    return invocation;
}

QString Usage() {
    QString usage = QStringLiteral("Использование: %1 [--catalogue ФАЙЛ]\n").arg(kProgram);
    for (const ModeSpec& mode : Modes()) {
        usage += QStringLiteral("       %1 --%2 [--catalogue ФАЙЛ]").arg(kProgram, mode.name);
        for (const QString& option : mode.options) {
            for (const ValueOption& known : ValueOptions()) {
                if (known.name == option) {
                    usage += QStringLiteral(" [--%1 %2]").arg(known.name, known.valueName);
                }
            }
        }
        usage += QLatin1Char('\n');
    }
    return usage;
}

QString Row(const QString& names, const QString& description) {
    constexpr qsizetype kColumn = 26;
    QString row = QStringLiteral("  ") + names;
    row += row.size() < kColumn ? QString(kColumn - row.size(), QLatin1Char(' '))
                                : QStringLiteral("\n") + QString(kColumn, QLatin1Char(' '));
    return row + description + QLatin1Char('\n');
}

QString HelpText(const Context& context) {
    QString help = Usage();
    help += QStringLiteral(
        "\nPalquin — расчёт мультифида: наведение антенны с несколькими конвертерами.\n"
        "Без параметров открывает окно программы.\n\nПараметры:\n");
    help += Row(QStringLiteral("-h, --help"), QStringLiteral("показать эту справку и выйти"));
    help += Row(QStringLiteral("-v, --version"), QStringLiteral("показать версию и выйти"));
    for (const ModeSpec& mode : Modes()) {
        help += Row(QStringLiteral("    --") + mode.name, mode.description);
    }
    for (const ValueOption& option : ValueOptions()) {
        help += Row(QStringLiteral("    --%1 %2").arg(option.name, option.valueName),
                    option.description);
    }
    help += QStringLiteral("\nКаталог по умолчанию: ") + PathText(context.defaultCatalogue) +
            QStringLiteral(
                "\nКоды завершения: 0 — готово; 1 — каталог не прочитан или вывод не записан; "
                "2 — ошибка в параметрах.\n");
    return help;
}

// The parser's own messages name the argument between quotes; they are rephrased here.
QString ParserError(const QCommandLineParser& parser) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        return QStringLiteral("неизвестный параметр «%1%2»")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    static const QRegularExpression kQuoted(QStringLiteral("'(.*)'"));
    const QString named = kQuoted.match(parser.errorText()).captured(1);
    if (parser.errorText().startsWith(QLatin1String("Missing value"))) {
        return QStringLiteral("у параметра «%1» не указано значение").arg(named);
    }
    if (parser.errorText().startsWith(QLatin1String("Unexpected value"))) {
        return QStringLiteral("параметр «%1» не принимает значения").arg(named);
    }
    return parser.errorText();
}

}  // namespace

std::optional<QString> Invocation::Value(const QString& name) const {
    const auto found = values.find(name);
    if (found == values.end()) {
        return std::nullopt;
    }
    return found->second;
}

const std::vector<ModeSpec>& Modes() {
    static const std::vector<ModeSpec> modes = {
        {QStringLiteral("report"),
         QStringLiteral("вывести отчёт по каталогу (азимут - угол места - строка каталога) и "
                        "выйти; окно не открывается, файлы не пишутся"),
         {QStringLiteral("latitude"), QStringLiteral("longitude")},
         RunReport},
    };
    return modes;
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
    for (const ModeSpec& mode : Modes()) {
        parser.addOption(QCommandLineOption(mode.name));
    }
    for (const ValueOption& option : ValueOptions()) {
        parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));
    }
    if (!parser.parse(texts)) {
        return Failed(ParserError(parser));
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Failed(
            QStringLiteral("лишний аргумент «%1»").arg(parser.positionalArguments().constFirst()));
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
    for (const ModeSpec& mode : Modes()) {
        if (!parser.isSet(mode.name)) {
            continue;
        }
        if (invocation.mode != nullptr) {
            return Failed(QStringLiteral("параметры --%1 и --%2 нельзя указать вместе")
                              .arg(invocation.mode->name, mode.name));
        }
        invocation.action = Invocation::Action::Mode;
        invocation.mode = &mode;
    }
    for (const ValueOption& option : ValueOptions()) {
        if (!parser.isSet(option.name)) {
            continue;
        }
        const QString value = parser.value(option.name);
        if (option.name == QLatin1String("catalogue")) {
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
        const bool accepted =
            invocation.mode != nullptr &&
            std::find(invocation.mode->options.begin(), invocation.mode->options.end(),
                      option.name) != invocation.mode->options.end();
        if (!accepted) {
            QStringList users;
            for (const ModeSpec& mode : Modes()) {
                if (std::find(mode.options.begin(), mode.options.end(), option.name) !=
                    mode.options.end()) {
                    users.append(QStringLiteral("--") + mode.name);
                }
            }
            return Failed(QStringLiteral("параметр --%1 действует только вместе с %2")
                              .arg(option.name, users.join(QStringLiteral(" или "))));
        }
        if (const QString problem = option.check(option.name, value); !problem.isEmpty()) {
            return Failed(problem);
        }
        invocation.values[option.name] = value;
    }
    return invocation;
}

int Run(const Invocation& invocation, Context& context) {
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
            context.err << ArgumentBytes(QStringLiteral("%1: %2\n%3Подробнее: %1 --help\n")
                                             .arg(kProgram, invocation.error, Usage()));
            context.err.flush();
            return kExitUsage;
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
    QString reason;
    if (status.type() == std::filesystem::file_type::not_found) {
        reason = QStringLiteral("файл не найден");
    } else if (ec) {
        reason = QString::fromStdString(ec.message());
    } else if (status.type() != std::filesystem::file_type::regular) {
        // A folder, a device or a pipe: a pipe would make the reading wait forever.
        reason = QStringLiteral("это не обычный файл");
    } else if (std::ifstream(file, std::ios::binary)) {
        return true;
    } else {
        reason = ArgumentText(std::strerror(errno));
    }
    err << ArgumentBytes(
        QStringLiteral("%1: каталог «%2» не прочитан: %3\n").arg(kProgram, PathText(file), reason));
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
        std::optional<std::string> bytes = ReadWholeFile(file, &error);
        if (bytes) {
            return CatalogueText(std::move(*bytes));
        }
    } catch (const std::bad_alloc&) {
        error = "not enough memory";
    }
    context.err << ArgumentBytes(QStringLiteral("%1: каталог «%2» не прочитан: %3\n")
                                     .arg(kProgram, PathText(file), ArgumentText(error)));
    return std::nullopt;
}

std::string SiteText(const Invocation& invocation, const QString& option,
                     const std::string& savedText) {
    if (const std::optional<QString> given = invocation.Value(option)) {
        return given->toStdString();
    }
    return CoordinateInRange(NumericValue(savedText)) ? savedText : std::string();
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
