// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDate>

#include "calc/aim.h"
#include "cli/aim_format.h"
#include "cli/modes.h"
#include "text/local_noon.h"

namespace palquin::cli {
namespace {

CivilDate Today() {
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

}  // namespace

int RunAim(const Invocation& invocation, Context& context) {
    // Every value was checked when the command line was read.
    const bool siteGiven =
        invocation.Has(QStringLiteral("latitude")) && invocation.Has(QStringLiteral("longitude"));
    const std::optional<Settings> saved = ModeSettings(invocation, context, !siteGiven);
    if (!saved) {
        return kExitFailure;
    }
    const std::optional<SignedSite> site = ResolveSite(invocation, *saved, context);
    if (!site) {
        return kExitUsage;
    }
    const std::optional<OrbitalPosition> satellite =
        ParseOrbitalPosition(invocation.Value(QStringLiteral("satellite"))->toStdString());
    const std::optional<QString> dateText = invocation.Value(QStringLiteral("date"));
    const std::optional<CivilDate> date =
        dateText ? ParseDate(dateText->toStdString()) : std::optional(Today());
    if (!satellite || !date) {
        return UsageError(context, QStringLiteral("неверная позиция спутника или дата"));
    }

    AimRequest request;
    request.site = {site->latitudeDeg, site->longitudeDeg, 0.0};
    request.satellite = *satellite;
    request.date = *date;
    // The computer's offset from UTC on that day.
    request.utcOffset = UtcOffsetAtNoon(QDate(date->year, date->month, date->day), std::nullopt);
    const AimResult result = ComputeAim(request);
    const std::string text =
        invocation.Has(QStringLiteral("json")) ? FormatAimJson(result) : FormatAimText(result);
    return WriteOut(context, QByteArray::fromStdString(text)) ? kExitOk : kExitFailure;
}

}  // namespace palquin::cli
