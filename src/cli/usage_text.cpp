// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/option_table.h"

#include "cli/arguments.h"

namespace palquin::cli {
namespace {

QString Row(const QString& names, const QString& description) {
    constexpr qsizetype kColumn = 26;
    QString row = QStringLiteral("  ") + names;
    row += row.size() < kColumn ? QString(kColumn - row.size(), QLatin1Char(' '))
                                : QStringLiteral("\n") + QString(kColumn, QLatin1Char(' '));
    return row + description + QLatin1Char('\n');
}

}  // namespace

QString Usage() {
    QString usage = QStringLiteral("Использование: %1 [--catalogue ФАЙЛ]\n").arg(kProgram);
    for (const ModeDefinition& mode : Modes()) {
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

QString HelpText(const Context& context) {
    QString help = Usage();
    help += QStringLiteral(
        "\nPalquin — расчёт мультифида: наведение антенны с несколькими конвертерами.\n"
        "Без параметров открывает окно программы.\n\nПараметры:\n");
    help += Row(QStringLiteral("-h, --help"), QStringLiteral("показать эту справку и выйти"));
    help += Row(QStringLiteral("-v, --version"), QStringLiteral("показать версию и выйти"));
    for (const ModeDefinition& mode : Modes()) {
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

}  // namespace palquin::cli
