// SPDX-License-Identifier: GPL-3.0-or-later
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "cli/modes.h"
#include "core/result_number.h"
#include "diagram/layout_mm.h"
#include "layout/slot.h"

namespace palquin::cli {
namespace {

// A figure as the window writes it, without the blank it keeps for the sign.
QString Shown(double value, NumberPattern pattern) {
    return QString::fromStdString(FormatResult(value, pattern)).trimmed();
}

// To the given number of decimals, so that JSON shows 15.825 and not 15.825000000000001.
double Rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return rounded == 0.0 ? 0.0 : rounded;  // never -0
}

QString Fixed1(double value) {
    return QString::number(Rounded(value, 1), 'f', 1);
}

QString SideWord(double xFront, bool eastOnRight) {
    const bool east = (xFront > 0.0) == eastOnRight;
    return xFront > 0.0 ? QStringLiteral("вправо (%1)").arg(east ? "восток" : "запад")
                        : QStringLiteral("влево (%1)").arg(east ? "восток" : "запад");
}

QString TextLine(const QString& position, const SlotResult& slot, bool central, bool eastOnRight) {
    QString line =
        position + (central ? QStringLiteral(" (центральный)") : QString()) +
        QStringLiteral(": азимут ") + Shown(slot.pointing.azimuthDeg, NumberPattern::Grouped3) +
        QStringLiteral("°, угол места ") +
        Shown(slot.pointing.elevationDeg, NumberPattern::Grouped3) + QStringLiteral("°, поворот ") +
        Shown(*slot.rotationDeg, NumberPattern::Plain1) + QStringLiteral("°");
    if (slot.offsets) {
        const double signedX = slot.side == Side::Left ? -1.0 : 1.0;
        line += QStringLiteral("; горизонталь ") +
                Shown(slot.offsets->horizontalMm, NumberPattern::Grouped3) + QStringLiteral(" мм");
        if (slot.side != Side::Centre) {
            line += QLatin1Char(' ') + SideWord(signedX, eastOnRight);
        }
        line += QStringLiteral(", вертикаль ") +
                Shown(slot.offsets->verticalMm, NumberPattern::Grouped3) + QStringLiteral(" мм");
        if (slot.above) {
            line += *slot.above ? QStringLiteral(" вверх") : QStringLiteral(" вниз");
        }
    }
    if (slot.precise) {
        const ConverterPlace& place = *slot.precise;
        line += QStringLiteral("; по зеркалу: ") + Fixed1(std::abs(place.xFrontMm)) +
                QStringLiteral(" мм ") + SideWord(place.xFrontMm, eastOnRight) +
                QStringLiteral(", ") + Fixed1(std::abs(place.upMm)) +
                (place.upMm >= 0.0 ? QStringLiteral(" мм вверх") : QStringLiteral(" мм вниз")) +
                QStringLiteral(", глубже ") + Fixed1(place.depthMm) +
                QStringLiteral(" мм, потери ") + Fixed1(slot.lossDb) + QStringLiteral(" дБ");
    }
    return line;
}

QJsonObject JsonConverter(const QString& position, const SlotResult& slot) {
    QJsonObject object;
    object[QStringLiteral("position")] = position;
    object[QStringLiteral("azimuthDeg")] = Rounded(slot.pointing.azimuthDeg, 3);
    object[QStringLiteral("elevationDeg")] = Rounded(slot.pointing.elevationDeg, 3);
    object[QStringLiteral("visible")] = slot.pointing.visible;
    object[QStringLiteral("rotationDeg")] = Rounded(*slot.rotationDeg, 3);
    object[QStringLiteral("horizontalMm")] =
        slot.offsets ? QJsonValue(Rounded(slot.offsets->horizontalMm, 3)) : QJsonValue(0.0);
    object[QStringLiteral("verticalMm")] =
        slot.offsets ? QJsonValue(Rounded(slot.offsets->verticalMm, 3)) : QJsonValue(0.0);
    object[QStringLiteral("side")] = slot.side == Side::Left    ? QStringLiteral("left")
                                     : slot.side == Side::Right ? QStringLiteral("right")
                                                                : QStringLiteral("centre");
    object[QStringLiteral("above")] = slot.above ? QJsonValue(*slot.above) : QJsonValue();
    return object;
}

void AddPrecise(QJsonObject& object, const SlotResult& slot, bool central) {
    const ConverterPlace place = slot.precise.value_or(ConverterPlace{});
    object[QStringLiteral("xMm")] = Rounded(place.xFrontMm, 1);
    object[QStringLiteral("yMm")] = Rounded(place.upMm, 1);
    object[QStringLiteral("depthMm")] = Rounded(place.depthMm, 1);
    object[QStringLiteral("lossDb")] = central ? 0.0 : Rounded(slot.lossDb, 2);
}

}  // namespace

int RunLayout(const Invocation& invocation, Context& context) {
    // Every value was checked when the command line was read.
    int status = kExitOk;
    const std::optional<ConverterSite> where = ResolveConverterSite(invocation, context, &status);
    if (!where) {
        return status;
    }
    const SignedSite& site = where->site;
    const double focalMm = where->focalMm;
    QStringList positions{invocation.Value(QStringLiteral("central")).value_or(QString())};
    positions += invocation.Values(QStringLiteral("extra"));

    const std::optional<DishGeometry> dish = PreciseDish(invocation, focalMm);
    const bool precise = dish.has_value();

    const Site typedSite = ToSite(SiteDeg{site.latitudeDeg, site.longitudeDeg});
    std::optional<CentralAim> central;
    bool eastOnRight = true;
    QStringList lines;
    QStringList warnings;
    QJsonArray converters;
    for (const QString& text : positions) {
        const std::optional<OrbitalPosition> position = ParseOrbitalPosition(text.toStdString());
        if (!position) {
            return UsageError(context, QStringLiteral("неверная позиция спутника «%1»").arg(text));
        }
        const std::string positionText = CataloguePositionText(*position);
        const QString shownPosition = QString::fromStdString(positionText);
        const std::optional<SlotResult> slot =
            CalculateSlot(typedSite, ToSatellitePosition(positionText), focalMm, central,
                          precise ? &*dish : nullptr);
        if (!slot || !slot->Complete()) {
            context.err << "palquin: невозможно рассчитать конвертер " << positionText
                        << " для этого места\n";
            context.err.flush();
            return kExitFailure;
        }
        const bool isCentral = !central;
        if (isCentral) {
            central = CentralAim{slot->pointing.azimuthDeg, slot->pointing.elevationDeg};
            eastOnRight = EastOnRight(slot->pointing.azimuthDeg);
        }
        if (!slot->pointing.visible) {
            warnings += QStringLiteral("спутник %1 под горизонтом").arg(shownPosition);
        }
        if (const std::string warning = LossWarning(positionText, *slot); !warning.empty()) {
            warnings += QString::fromStdString(warning);
        }
        lines += TextLine(shownPosition, *slot, isCentral, eastOnRight);
        QJsonObject object = JsonConverter(shownPosition, *slot);
        if (precise) {
            AddPrecise(object, *slot, isCentral);
        }
        converters.append(object);
    }

    QByteArray output;
    if (invocation.Has(QStringLiteral("json"))) {
        QJsonObject root;
        root[QStringLiteral("converters")] = converters;
        root[QStringLiteral("warnings")] = QJsonArray::fromStringList(warnings);
        output = QJsonDocument(root).toJson(QJsonDocument::Indented);
    } else {
        lines += QString::fromUtf8(kFrontViewText) + QLatin1Char('.');
        for (const QString& warning : warnings) {
            lines += QStringLiteral("Предупреждение: ") + warning;
        }
        output = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    }
    return WriteOut(context, output) ? kExitOk : kExitFailure;
}

}  // namespace palquin::cli
