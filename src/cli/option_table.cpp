#include "cli/command_line.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iostream>
#include <new>
#include <system_error>

#include "calc/aim.h"
#include "cli/arguments.h"
#include "cli/modes.h"
#include "core/field_ranges.h"
#include "core/numeric_value.h"
#include "platform/file_io.h"
#include "platform/file_messages.h"

namespace palquin::cli {
namespace {

const QString kProgram = QStringLiteral("palquin");
// The window has nine extra converter slots.
constexpr qsizetype kMostExtras = 9;

// A value option (or a flag, without a value name): its long name, the name of its value in
// --help. How a mode checks the value is the mode's own.
struct ValueOption {
    QString name;
    QString valueName;
    QString description;
};

QString BadValue(const QString& name, const QString& value, const QString& wanted) {
    return QStringLiteral("неверное значение «%1» у параметра --%2: %3")
        .arg(ShownArgument(value), name, wanted);
}

QString CheckLatitude(const QString& name, const QString& value) {
    if (ParseLatitude(value.toStdString())) {
        return {};
    }
    return BadValue(name, value,
                    QStringLiteral("нужна широта в градусах от -90 до 90 (север — плюс) или с "
                                   "буквой N или S, например 55.75 или 33.9S"));
}

QString CheckLongitude(const QString& name, const QString& value) {
    if (ParseLongitude(value.toStdString())) {
        return {};
    }
    return BadValue(name, value,
                    QStringLiteral("нужна долгота в градусах от -180 до 180 (восток — плюс) или с "
                                   "буквой E или W, например 37.6 или 70.5W"));
}

QString CheckPosition(const QString& name, const QString& value) {
    if (ParseOrbitalPosition(value.toStdString())) {
        return {};
    }
    return BadValue(name, value,
                    QStringLiteral("нужна орбитальная позиция от 0 до 180 градусов с буквой E или "
                                   "W, например 13E, 5W или 13.0E"));
}

QString CheckDate(const QString& name, const QString& value) {
    if (ParseDate(value.toStdString())) {
        return {};
    }
    return BadValue(name, value, QStringLiteral("нужна существующая дата вида ГГГГ-ММ-ДД"));
}

QString CheckFocal(const QString& name, const QString& value) {
    if (const std::optional<double> mm = PlainMillimetres(value); mm && *mm > 0.0) {
        return {};
    }
    return BadValue(name, value,
                    QStringLiteral("нужно число миллиметров больше 0 с точкой в качестве "
                                   "десятичного знака"));
}

QString CheckDiameter(const QString& name, const QString& value) {
    if (const std::optional<double> mm = PlainMillimetres(value); mm && DiameterInRange(*mm)) {
        return {};
    }
    return BadValue(name, value, QStringLiteral("нужно число миллиметров от 0 до 100"));
}

QString CheckDish(const QString& name, const QString& value) {
    if (value == QStringLiteral("offset") || value == QStringLiteral("prime")) {
        return {};
    }
    return BadValue(name, value,
                    QStringLiteral("нужно offset (офсетная) или prime (прямофокусная)"));
}

QString CheckOffsetAngle(const QString& name, const QString& value) {
    if (const std::optional<double> deg = PlainMillimetres(value); deg && *deg < 80.0) {
        return {};
    }
    return BadValue(name, value, QStringLiteral("нужен угол от 0 до 80 градусов"));
}

QString CheckFile(const QString& name, const QString& value) {
    return value.isEmpty() ? QStringLiteral("у параметра --%1 пустое имя файла").arg(name)
                           : QString();
}

const std::vector<ValueOption>& ValueOptions() {
    static const std::vector<ValueOption> options = {
        {QStringLiteral("catalogue"), QStringLiteral("ФАЙЛ"),
         QStringLiteral("файл каталога вместо satellite.txt программы")},
        {QStringLiteral("latitude"), QStringLiteral("ГРАД"),
         QStringLiteral("широта места (по умолчанию — сохранённая в каталоге)")},
        {QStringLiteral("longitude"), QStringLiteral("ГРАД"),
         QStringLiteral("долгота места (по умолчанию — сохранённая в каталоге)")},
        {QStringLiteral("satellite"), QStringLiteral("ПОЗИЦИЯ"),
         QStringLiteral("для --aim: орбитальная позиция спутника, например 13E или 5W")},
        {QStringLiteral("date"), QStringLiteral("ГГГГ-ММ-ДД"),
         QStringLiteral("для --aim: день (по умолчанию — сегодня)")},
        {QStringLiteral("json"), QString(),
         QStringLiteral("для --aim и --layout: один объект JSON вместо строк")},
        {QStringLiteral("central"), QStringLiteral("ПОЗИЦИЯ"),
         QStringLiteral("для --template и --layout: спутник центрального конвертера")},
        {QStringLiteral("extra"), QStringLiteral("ПОЗИЦИЯ"),
         QStringLiteral("для --template и --layout: спутник ещё одного конвертера (до 9 раз)")},
        {QStringLiteral("focal"), QStringLiteral("ММ"),
         QStringLiteral("для --template и --layout: фокусное расстояние, у --layout — от "
                        "фокуса до центра зеркала (по умолчанию — сохранённое)")},
        {QStringLiteral("dish"), QStringLiteral("offset|prime"),
         QStringLiteral(
             "для --layout и --template: зеркало офсетное (по умолчанию) или прямофокусное")},
        {QStringLiteral("dish-width"), QStringLiteral("ММ"),
         QStringLiteral("для --layout и --template: ширина зеркала (по умолчанию 800)")},
        {QStringLiteral("offset-angle"), QStringLiteral("ГРАД"),
         QStringLiteral("для --layout и --template: угол офсета (по умолчанию 24)")},
        {QStringLiteral("precise"), QString(),
         QStringLiteral("для --layout и --template: места по геометрии зеркала, глубина и потери")},
        {QStringLiteral("diameter"), QStringLiteral("ММ"),
         QStringLiteral("для --template: диаметр конвертеров, от 0 до 100 (по умолчанию 50)")},
    };
    return options;
}

const ValueOption* FindValueOption(const QString& name) {
    for (const ValueOption& option : ValueOptions()) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

const ModeOption* FindModeOption(const ModeSpec& mode, const QString& name) {
    for (const ModeOption& option : mode.options) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

bool OutputIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stdout)) != 0;
#else
    return ::isatty(STDOUT_FILENO) != 0;
#endif
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
        usage += QStringLiteral("       %1 --%2").arg(kProgram, mode.name);
        if (!mode.valueName.isEmpty()) {
            usage += QLatin1Char(' ') + mode.valueName;
        }
        usage += QStringLiteral(" [--catalogue ФАЙЛ]");
        for (const ModeOption& option : mode.options) {
            const ValueOption* known = FindValueOption(option.name);
            if (known == nullptr) {
                continue;
            }
            QString text = QStringLiteral("--") + known->name;
            if (!known->valueName.isEmpty()) {
                text += QLatin1Char(' ') + known->valueName;
            }
            usage += option.required ? QStringLiteral(" ") + text
                                     : QStringLiteral(" [") + text + QLatin1Char(']');
            if (option.repeatable) {
                usage += QStringLiteral("...");
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
        help += Row(QStringLiteral("    --") + mode.name +
                        (mode.valueName.isEmpty() ? QString() : QLatin1Char(' ') + mode.valueName),
                    mode.description);
    }
    for (const ValueOption& option : ValueOptions()) {
        help +=
            Row(QStringLiteral("    --") + option.name +
                    (option.valueName.isEmpty() ? QString() : QLatin1Char(' ') + option.valueName),
                option.description);
    }
    help += QStringLiteral(
        "\nШирота и долгота — со знаком (север и восток — плюс) или с буквой: 55.75, -33.9, "
        "33.9S, 37.6E;\nне указанные берутся из сохранённых в каталоге вместе с полушариями.\n"
        "Позиция спутника — градусы с буквой E или W: 13E, 5W, 13.0E.\n"
        "Шаблон, как и схема окна, показывает конвертеры спереди: вы стоите перед зеркалом и\n"
        "смотрите на хвосты конвертеров.\n");
    help += QStringLiteral("\nКаталог по умолчанию: ") + PathText(context.defaultCatalogue) +
            QStringLiteral(
                "\nКоды завершения: 0 — готово; 1 — каталог не прочитан, расчёт невозможен или "
                "вывод не записан; "
                "2 — ошибка в параметрах.\n");
    return help;
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
    for (const ModeSpec& mode : Modes()) {
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

const std::vector<ModeSpec>& Modes() {
    static const std::vector<ModeSpec> modes = {
        {QStringLiteral("report"),
         QString(),
         QStringLiteral("вывести отчёт по каталогу (азимут - угол места - строка каталога) и "
                        "выйти; окно не открывается, файлы не пишутся"),
         {{QStringLiteral("latitude"), CheckLatitude},
          {QStringLiteral("longitude"), CheckLongitude}},
         RunReport},
        {QStringLiteral("aim"),
         QString(),
         QStringLiteral("вывести азимут (истинный и магнитный), угол места, поворот конвертера и "
                        "время, когда солнце стоит на азимуте спутника, и выйти"),
         {{QStringLiteral("satellite"), CheckPosition, true},
          {QStringLiteral("latitude"), CheckLatitude},
          {QStringLiteral("longitude"), CheckLongitude},
          {QStringLiteral("date"), CheckDate},
          {QStringLiteral("json")}},
         RunAim},
        {QStringLiteral("template"),
         QStringLiteral("ФАЙЛ.pdf"),
         QStringLiteral("записать шаблон 1:1 для крепления конвертеров в файл PDF и выйти"),
         {{QStringLiteral("central"), CheckPosition, true},
          {QStringLiteral("extra"), CheckPosition, false, true},
          {QStringLiteral("focal"), CheckFocal},
          {QStringLiteral("diameter"), CheckDiameter},
          {QStringLiteral("latitude"), CheckLatitude},
          {QStringLiteral("longitude"), CheckLongitude},
          {QStringLiteral("dish"), CheckDish},
          {QStringLiteral("dish-width"), CheckFocal},
          {QStringLiteral("offset-angle"), CheckOffsetAngle},
          {QStringLiteral("precise")}},
         RunTemplate,
         true},
        {QStringLiteral("layout"),
         QString(),
         QStringLiteral("вывести, где ставить каждый конвертер относительно центрального (как в "
                        "окне; с --precise — по геометрии зеркала, с потерями), и выйти"),
         {{QStringLiteral("central"), CheckPosition, true},
          {QStringLiteral("extra"), CheckPosition, false, true},
          {QStringLiteral("focal"), CheckFocal},
          {QStringLiteral("latitude"), CheckLatitude},
          {QStringLiteral("longitude"), CheckLongitude},
          {QStringLiteral("dish"), CheckDish},
          {QStringLiteral("dish-width"), CheckFocal},
          {QStringLiteral("offset-angle"), CheckOffsetAngle},
          {QStringLiteral("precise")},
          {QStringLiteral("json")}},
         RunLayout},
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
            for (const ModeSpec& mode : Modes()) {
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

std::optional<double> PlainMillimetres(const QString& text) {
    static const QRegularExpression kNumber(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!kNumber.match(text).hasMatch()) {
        return std::nullopt;
    }
    const double value = NumericValue(text.toStdString());
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
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
