// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <chrono>
#include <optional>

namespace palquin {

/// Noon of the local day in zone; without a zone, in the computer's local time as the C library
/// reads it (TZ included). The sun is up around then, and clocks change to or from
/// summer time at night: on such a day noon's offset is the one the sun's times fall in.
QDateTime LocalNoon(QDate day, const std::optional<QTimeZone>& zone);

/// The zone's offset from UTC at the local day's noon; 0 for a day that does not exist.
std::chrono::minutes UtcOffsetAtNoon(QDate day, const std::optional<QTimeZone>& zone);

}  // namespace palquin
