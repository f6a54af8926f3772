#include "report/report.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "calc/pointing.h"
#include "catalogue/entry.h"
#include "core/numeric_value.h"
#include "core/result_number.h"
#include "platform/file_io.h"

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

// "<azimuth> - <elevation> - <entry>", built in one allocation: the export runs this for every
// entry of a catalogue that may hold 32,767.
std::string FiguresLine(const Pointing& pointing, std::string_view entry) {
    const std::string azimuth = FormatResult(pointing.azimuthDeg, NumberPattern::Fixed2);
    const std::string elevation = FormatResult(pointing.elevationDeg, NumberPattern::Fixed2);
    std::string line;
    line.reserve(azimuth.size() + elevation.size() + entry.size() + 6);
    line.append(azimuth).append(" - ").append(elevation).append(" - ").append(entry);
    return line;
}

template <typename EntryAt>
std::vector<std::string> ReportLines(std::string_view latitudeText, std::string_view longitudeText,
                                     size_t count, EntryAt entryAt) {
    const Site site{NumericValue(latitudeText), "N", NumericValue(longitudeText), "E"};
    std::vector<std::string> lines;
    lines.reserve(count);
    bool stopped = false;
    for (size_t i = 0; i < count; ++i) {
        const std::string_view entry = entryAt(i);
        std::optional<Pointing> pointing;
        if (!stopped) {
            const std::optional<EntryPosition> position = SplitPosition(entry);
            stopped = !position;
            if (position) {
                pointing = PointingOf(site, *position);
            }
        }
        // Past the stop, and where the figures cannot be computed, the entry stands alone.
        lines.push_back(pointing ? FiguresLine(*pointing, entry) : std::string(entry));
    }
    return lines;
}

// Azimuth into [0, 360), as --aim writes it: the slot formulas give a southern site values
// outside that range.
double AzimuthInTurn(double deg) {
    double wrapped = std::fmod(deg, 360.0);
    if (wrapped < 0.0) {
        wrapped += 360.0;
    }
    return wrapped >= 360.0 ? 0.0 : wrapped + 0.0;
}

}  // namespace

std::vector<std::string> BuildSiteReportLines(const Site& site, const CatalogueText& entries) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string_view entry = entries[i];
        const std::optional<EntryPosition> position = SplitPosition(entry);
        std::optional<Pointing> pointing;
        if (position) {
            std::string positionText = position->PositionText();
            positionText[0] =
                static_cast<char>(std::toupper(static_cast<unsigned char>(positionText[0])));
            if (positionText[0] == 'E' || positionText[0] == 'W') {
                pointing = ComputePointing(site, positionText);
            }
        }
        if (!pointing) {
            lines.emplace_back(entry);
            continue;
        }
        pointing->azimuthDeg = AzimuthInTurn(pointing->azimuthDeg);
        std::string line = FiguresLine(*pointing, entry);
        if (!pointing->visible) {
            line.append(BelowHorizonMark(entries.Encoding()));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> BuildReportLines(std::string_view latitudeText,
                                          std::string_view longitudeText,
                                          const std::vector<std::string>& entries) {
    return ReportLines(latitudeText, longitudeText, entries.size(),
                       [&entries](size_t i) { return std::string_view(entries[i]); });
}

std::vector<std::string> BuildCatalogueReportLines(std::string_view latitudeText,
                                                   std::string_view longitudeText,
                                                   const CatalogueText& entries) {
    return ReportLines(latitudeText, longitudeText, entries.size(),
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
