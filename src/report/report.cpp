// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <unordered_map>

#include "calc/pointing.h"
#include "catalogue/entry.h"
#include "core/angles.h"
#include "core/numeric_value.h"
#include "core/result_number.h"
#include "layout/site.h"
#include "layout/slot.h"
#include "platform/file_io.h"

namespace palquin {
namespace {

// The pointing of a central slot at this position: the one calculation the window's slots, the
// template and the command line make as well.
std::optional<Pointing> SlotPointing(const Site& site, SatellitePosition satellite) {
    const std::optional<SlotResult> slot = CalculateSlot(site, satellite, 0.0, std::nullopt);
    return slot ? std::optional(slot->pointing) : std::nullopt;
}

// The report's figures are those of the pointing for a site taken as north and east. A capital W
// keeps its own rule (mixed hemispheres); every other letter is read as E, so it gets the
// same-hemisphere rule instead of none.
std::optional<Pointing> PointingOf(const Site& site, const EntryPosition& position) {
    SatellitePosition satellite = ToSatellitePosition(position.PositionText());
    if (satellite.hemisphere != LongitudeRule::West) {
        satellite.hemisphere = LongitudeRule::East;
    }
    return SlotPointing(site, satellite);
}

// "<azimuth> - <elevation> - ", what goes before the entry.
std::string Figures(const Pointing& pointing) {
    return FormatResult(pointing.azimuthDeg, NumberPattern::Fixed2) + " - " +
           FormatResult(pointing.elevationDeg, NumberPattern::Fixed2) + " - ";
}

// Hands every line to sink in order, keeping none; sink returns false to stop.
template <typename EntryAt, typename Sink>
void ReportLines(std::string_view latitudeText, std::string_view longitudeText, size_t count,
                 EntryAt entryAt, Sink sink) {
    const Site site{NumericValue(latitudeText), LatitudeRule::North, NumericValue(longitudeText),
                    LongitudeRule::East};
    // A catalogue names few positions, most of them many times over: the figures of each are
    // worked out once. Bounded, for a file where every entry names a position of its own.
    constexpr size_t kKeptPositions = 1 << 16;
    std::unordered_map<std::string, std::optional<std::string>> figuresOf;
    std::string line;
    bool stopped = false;
    for (size_t i = 0; i < count; ++i) {
        const std::string_view entry = entryAt(i);
        std::optional<std::string> computed;
        const std::optional<std::string>* figures = &computed;
        if (!stopped) {
            const std::optional<EntryPosition> position = SplitPosition(entry);
            stopped = !position;
            if (position) {
                std::string key = position->PositionText();
                const auto known = figuresOf.find(key);
                if (known != figuresOf.end()) {
                    figures = &known->second;
                } else {
                    const std::optional<Pointing> pointing = PointingOf(site, *position);
                    computed = pointing ? std::optional(Figures(*pointing)) : std::nullopt;
                    if (figuresOf.size() < kKeptPositions) {
                        figures =
                            &figuresOf.emplace(std::move(key), std::move(computed)).first->second;
                    }
                }
            }
        }
        // Past the stop, and where the figures cannot be computed, the entry stands alone.
        line.clear();  // keeps its room from line to line
        if (figures->has_value()) {
            line.append(**figures);
        }
        line.append(entry);
        if (!sink(std::string_view(line))) {
            return;
        }
    }
}

template <typename EntryAt>
std::vector<std::string> CollectReportLines(std::string_view latitudeText,
                                            std::string_view longitudeText, size_t count,
                                            EntryAt entryAt) {
    std::vector<std::string> lines;
    lines.reserve(count);
    ReportLines(latitudeText, longitudeText, count, entryAt, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

}  // namespace

void ForEachSiteReportLine(const Site& site, const CatalogueText& entries,
                           const std::function<bool(std::string_view)>& sink) {
    // The figures of each position are worked out once (see ReportLines); the mark of a
    // satellite below the horizon belongs to them.
    constexpr size_t kKeptPositions = 1 << 16;
    std::unordered_map<std::string, std::optional<std::pair<std::string, bool>>> figuresOf;
    const std::string_view mark = BelowHorizonMark(entries.Encoding());
    std::string line;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string_view entry = entries[i];
        const std::optional<EntryPosition> position = SplitPosition(entry);
        std::optional<std::pair<std::string, bool>> computed;
        const std::optional<std::pair<std::string, bool>>* figures = &computed;
        if (position) {
            std::string positionText = position->PositionText();
            positionText[0] =
                static_cast<char>(std::toupper(static_cast<unsigned char>(positionText[0])));
            const auto known = figuresOf.find(positionText);
            if (known != figuresOf.end()) {
                figures = &known->second;
            } else {
                std::optional<Pointing> pointing;
                if (positionText[0] == 'E' || positionText[0] == 'W') {
                    pointing = SlotPointing(site, ToSatellitePosition(positionText));
                }
                if (pointing) {
                    pointing->azimuthDeg = AzimuthInTurn(pointing->azimuthDeg);
                    computed = std::pair(Figures(*pointing), pointing->visible);
                }
                if (figuresOf.size() < kKeptPositions) {
                    figures = &figuresOf.emplace(std::move(positionText), std::move(computed))
                                   .first->second;
                }
            }
        }
        // An entry without figures stands as its bare text; the ones after it are still figured.
        line.clear();
        if (figures->has_value()) {
            line.append((*figures)->first);
        }
        line.append(entry);
        if (figures->has_value() && !(*figures)->second) {
            line.append(mark);
        }
        if (!sink(std::string_view(line))) {
            return;
        }
    }
}

std::vector<std::string> BuildSiteReportLines(const Site& site, const CatalogueText& entries) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    ForEachSiteReportLine(site, entries, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

std::vector<std::string> BuildReportLines(std::string_view latitudeText,
                                          std::string_view longitudeText,
                                          const std::vector<std::string>& entries) {
    return CollectReportLines(latitudeText, longitudeText, entries.size(),
                              [&entries](size_t i) { return std::string_view(entries[i]); });
}

std::vector<std::string> BuildCatalogueReportLines(std::string_view latitudeText,
                                                   std::string_view longitudeText,
                                                   const CatalogueText& entries) {
    return CollectReportLines(latitudeText, longitudeText, entries.size(),
                              [&entries](size_t i) { return entries[i]; });
}

std::string ComposeReport(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

WriteResult WriteReportFile(const std::filesystem::path& path, std::string_view text) {
    WriteResult result;
    result.ok = ReplaceFile(path, text, &result.error);
    return result;
}

}  // namespace palquin
