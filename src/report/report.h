// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/pointing.h"
#include "catalogue/catalogue_text.h"

namespace palquin {

/// One output line per catalogue entry, in order: "<azimuth> - <elevation> - <entry>" with both
/// numbers in the two-decimal result form, computed for the site in sh and dl (taken as north and
/// east; a position letter other than a capital W counts as east). At the first entry without a
/// position the figures stop: that entry and all after it appear as their bare text. An entry
/// whose figures cannot be computed (a position beyond any number) appears as its bare text too;
/// latitude 0 gives the formulas' limit, as the slots do.
std::vector<std::string> BuildReportLines(std::string_view latitudeText,
                                          std::string_view longitudeText,
                                          const std::vector<std::string>& entries);
/// The same for the catalogue as the window holds it.
std::vector<std::string> BuildCatalogueReportLines(std::string_view latitudeText,
                                                   std::string_view longitudeText,
                                                   const CatalogueText& entries);

/// The report of the menu and of --report: the same line form, figured for the site with its
/// hemispheres by the pointing the slots use, the azimuth brought into 0 to 360 as --aim gives
/// it; a satellite below the horizon gets BelowHorizonMark at the end of its line. An entry
/// without a position or with a letter other than E or W (either case), or one that cannot be
/// figured from this site, stands as its bare text; the entries after it are still figured.
std::vector<std::string> BuildSiteReportLines(const Site& site, const CatalogueText& entries);

/// Ends the line of a satellite that cannot be seen from the site, in the catalogue's own
/// encoding, so the line stays in one.
inline constexpr std::string_view BelowHorizonMark(FileEncoding encoding) {
    return encoding == FileEncoding::Utf8
               ? std::string_view(" (ниже горизонта)")
               : std::string_view(" (\xed\xe8\xe6\xe5 \xe3\xee\xf0\xe8\xe7\xee\xed\xf2\xe0)");
}

/// The same lines, handed to sink one at a time as they are made and kept nowhere, so that a
/// large catalogue's report can be written as it goes; sink returns false to stop.
void ForEachSiteReportLine(const Site& site, const CatalogueText& entries,
                           const std::function<bool(std::string_view)>& sink);

/// The report file's text: every line followed by CR LF.
std::string ComposeReport(const std::vector<std::string>& lines);

/// Where the report goes: c:\printOut.txt on Windows, printOut.txt in the home folder elsewhere.
std::filesystem::path DefaultReportPath();

struct WriteResult {
    bool ok = false;
    std::string error;
};

/// Replaces the file at path with text, as one piece.
WriteResult WriteReportFile(const std::filesystem::path& path, std::string_view text);

}  // namespace palquin
