#include "cli/command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <new>
#include <system_error>

#include "calc/aim.h"
#include "cli/arguments.h"
#include "cli/modes.h"
#include "core/file_io.h"
#include "core/numeric_value.h"
#include "ui/field_rules.h"

namespace palquin::cli {
namespace {

const QString kProgram = QStringLiteral("palquin");

// A value option (or a flag, without a value name): its long name, the name of its value in
// --help. How a mode checks the value is the mode's own.
struct ValueOption {
    QString name;
    QString valueName;
    QString description;
};

QString BadValue(const QString& name, const QString& value, const QString& wanted) {
    return QStringLiteral("неверное значение «%1» у параметра --%2: %3").arg(value, name, wanted);
}

// Degrees as the window's coordinate fields take them: digits with one optional point, 0 to 180.
QString CheckDegrees(const QString& name, const QString& value) {
    static const QRegularExpression kNumber(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (kNumber.match(value).hasMatch() && CoordinateInRange(NumericValue(value.toStdString()))) {
        return {};
    }
    return BadValue(name, value,
                    QStringLiteral("нужно число градусов от 0 до 180 с точкой в качестве "
                                   "десятичного знака"));
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
         QStringLiteral("для --aim: один объект JSON вместо строк")},
        {QStringLiteral("central"), QStringLiteral("ПОЗИЦИЯ"),
         QStringLiteral("для --template: спутник центрального конвертера")},
        {QStringLiteral("extra"), QStringLiteral("ПОЗИЦИЯ"),
         QStringLiteral("для --template: спутник ещё одного конвертера (можно повторять)")},
        {QStringLiteral("focal"), QStringLiteral("ММ"),
         QStringLiteral("для --template: фокусное расстояние (по умолчанию — сохранённое)")},
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
        "\nШирота и долгота для --report — число от 0 до 180, полушария берутся из каталога;\n"
        "для --aim и --template — со знаком (север и восток — плюс) или с буквой: 55.75, "
        "-33.9, 33.9S, 37.6E.\n"
        "Позиция спутника — градусы с буквой E или W: 13E, 5W, 13.0E.\n");
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
         {{QStringLiteral("latitude"), CheckDegrees}, {QStringLiteral("longitude"), CheckDegrees}},
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
          {QStringLiteral("longitude"), CheckLongitude}},
         RunTemplate,
         true},
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
        // Mapped rather than read: a mode reads the file once and ends.
        std::optional<HeldFile> held = MapWholeFile(file, &error);
        if (held) {
            return CatalogueText(std::move(held->owner), held->bytes);
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
