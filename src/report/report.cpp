#include "report/report.h"

#include <cstdlib>
#include <optional>
#include <system_error>
#include <unordered_map>

#include "calc/pointing.h"
#include "catalogue/entry.h"
#include "core/file_io.h"
#include "core/numeric_value.h"
#include "core/result_number.h"

namespace palquin {
namespace {

// The report's figures are those of the pointing for a site taken as north and east. A capital W
// keeps its own rule (mixed hemispheres); every other letter is read as E, so it gets the
// same-hemisphere rule instead of none.
std::optional<Pointing> PointingOf(const Site& site, const EntryPosition& position) {
    std::string positionText = position.PositionText();
    if (positionText[0] != 'W') {
        positionText[0] = 'E';
    }
    return ComputePointing(site, positionText);
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
    const Site site{NumericValue(latitudeText), "N", NumericValue(longitudeText), "E"};
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

void ForEachCatalogueReportLine(std::string_view latitudeText, std::string_view longitudeText,
                                const CatalogueText& entries,
                                const std::function<bool(std::string_view)>& sink) {
    ReportLines(
        latitudeText, longitudeText, entries.size(), [&entries](size_t i) { return entries[i]; },
        sink);
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
