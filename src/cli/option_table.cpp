// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/option_table.h"

#include <QRegularExpression>
#include <cmath>

#include "calc/aim.h"
#include "cli/arguments.h"
#include "cli/modes.h"
#include "core/field_ranges.h"
#include "core/numeric_value.h"

namespace palquin::cli {
namespace {

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

}  // namespace

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

const ModeOption* FindModeOption(const ModeDefinition& mode, const QString& name) {
    for (const ModeOption& option : mode.options) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

const std::vector<ModeDefinition>& Modes() {
    static const std::vector<ModeDefinition> modes = {
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

std::optional<double> PlainMillimetres(const QString& text) {
    static const QRegularExpression kNumber(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!kNumber.match(text).hasMatch()) {
        return std::nullopt;
    }
    const double value = NumericValue(text.toStdString());
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

}  // namespace palquin::cli
