// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The words and number forms of an aim: its warnings, the picture window's two lines, and the
// pieces the command line's aim output is written from.

#include <chrono>
#include <string>

#include "calc/aim.h"
#include "calc/geo.h"

namespace palquin {

/// The warning as the user reads it, in Russian, one sentence.
std::string AimWarningText(AimWarning warning);

/// value rounded to the given decimals, never "-0.0".
std::string FixedText(double value, int decimals);

/// As FixedText with a "+" before a value that is not negative.
std::string SignedFixedText(double value, int decimals);

/// The shortest text that reads back as value: "13", "13.5".
std::string ShortestText(double value);

/// An azimuth to one decimal, where 359.96 shows as 0.0 rather than 360.0.
std::string AzimuthText(double azimuthDeg);

/// "12:36": the local clock at the moment rounded to the minute.
std::string ClockText(std::chrono::sys_seconds utc, std::chrono::minutes utcOffset);

/// "+03:00", "-10:00".
std::string UtcOffsetText(std::chrono::minutes utcOffset);

/// "2026-06-21T12:36:00+03:00": the moment rounded to the minute, in the given offset.
std::string FormatIsoMinute(std::chrono::sys_seconds utc, std::chrono::minutes utcOffset);

/// The two lines under the picture window's caption.
struct PictureAimTexts {
    std::string magnetic;  ///< "Магнитный азимут: 170.6° (склонение +11.3°, WMM2025)"
    std::string sun;  ///< "Солнце на этом азимуте: 13:52 (высота 10.5°)" or that it is not
};

/// The picture window's lines for the central satellite's true azimuth (any value, taken modulo
/// 360) on the local day of `now` in the given offset from UTC.
PictureAimTexts MakePictureAimTexts(const GeoPosition& site, double trueAzimuthDeg,
                                    std::chrono::sys_seconds now, std::chrono::minutes utcOffset);

}  // namespace palquin
