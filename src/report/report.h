#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_text.h"

namespace palquin {

/// One output line per catalogue entry, in order: "<azimuth> - <elevation> - <entry>" with both
/// numbers in the two-decimal result form, computed for the site in sh and dl (taken as north and
/// east; a position letter other than a capital W counts as east). At the first entry without a
/// position the figures stop: that entry and all after it appear as their bare text. An entry
/// whose figures cannot be computed (latitude 0 divides by zero) appears as its bare text too.
std::vector<std::string> BuildReportLines(std::string_view latitudeText,
                                          std::string_view longitudeText,
                                          const std::vector<std::string>& entries);
/// The same for the catalogue as the window holds it.
std::vector<std::string> BuildCatalogueReportLines(std::string_view latitudeText,
                                                   std::string_view longitudeText,
                                                   const CatalogueText& entries);

/// The same lines, handed to sink one at a time as they are made and kept nowhere, so that a
/// large catalogue's report can be written as it goes; sink returns false to stop.
void ForEachCatalogueReportLine(std::string_view latitudeText, std::string_view longitudeText,
                                const CatalogueText& entries,
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
