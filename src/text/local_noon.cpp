// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/local_noon.h"

namespace palquin {

QDateTime LocalNoon(QDate day, const std::optional<QTimeZone>& zone) {
    return zone ? QDateTime(day, QTime(12, 0), *zone) : QDateTime(day, QTime(12, 0));
}

std::chrono::minutes UtcOffsetAtNoon(QDate day, const std::optional<QTimeZone>& zone) {
    const QDateTime noon = LocalNoon(day, zone);
    return std::chrono::minutes{noon.isValid() ? noon.offsetFromUtc() / 60 : 0};
}

}  // namespace palquin
