// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "catalogue/catalogue_text.h"

namespace palquin {

/// How many characters of a catalogue line lists and labels show; the rest becomes "…". A line
/// of any length must not hold up the window, while the calculation, the links and the report
/// still use the whole line.
inline constexpr qsizetype kShownLineLength = 300;

/// A catalogue line or setting in the file's encoding (decided once for the whole file). The
/// bytes themselves are never changed.
QString DecodeFileText(std::string_view bytes, FileEncoding encoding);

/// The same, shortened for lists and labels: only the first kShownLineLength characters are
/// decoded, then "…" when something was left out.
QString DecodeForDisplay(std::string_view bytes, FileEncoding encoding);

/// A text shortened for lists, labels and messages in the same way.
QString ShortenForDisplay(const QString& text);

/// A path as the user reads it in the window: its bytes as the system names files (wide on
/// Windows), never through a lossy round trip.
QString PathForDisplay(const std::filesystem::path& path);

/// A field text as it goes into satellite.txt.
std::string EncodeFileText(const QString& text, FileEncoding encoding = FileEncoding::Windows1251);

}  // namespace palquin
