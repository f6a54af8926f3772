#include "catalogue/satellite_file.h"

#include <algorithm>
#include <system_error>

#include "core/file_io.h"

namespace palquin {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::filesystem::path FilePath(const std::filesystem::path& folder) {
    return folder / std::filesystem::path(kSatelliteFileName);
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view bytes) {
    auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    std::vector<std::string> lines;
    // Every line end holds at least one of these bytes, so their count bounds the lines.
    lines.reserve(static_cast<size_t>(std::count_if(bytes.begin(), bytes.end(), isLineEnd)) + 1);
    const char* const last = bytes.data() + bytes.size();
    const char* start = bytes.data();
    while (start != last) {
        const char* end = std::find_if(start, last, isLineEnd);
        lines.emplace_back(start, end);
        if (end == last) {
            break;
        }
        // CR LF is one line end, LF CR two.
        start = end + 1;
        if (*end == '\r' && start != last && *start == '\n') {
            ++start;
        }
    }
    return lines;
}

SatelliteFileContent ParseSatelliteFile(std::string_view bytes) {
    SatelliteFileContent content;
    std::vector<std::string> lines = SplitLines(bytes);
    content.entries.reserve(lines.size());
    size_t i = 0;
    for (; i < lines.size(); ++i) {
        if (lines[i] == kSeparatorLine) {
            content.hasSeparator = true;
            ++i;
            break;
        }
        content.entries.push_back(std::move(lines[i]));
    }
    for (; i < lines.size(); ++i) {
        content.settings.push_back(std::move(lines[i]));
    }
    return content;
}

SettingsTexts SettingsFromLines(const std::vector<std::string>& settingsLines) {
    SettingsTexts settings;
    for (size_t i = 0; i < settings.size() && i < settingsLines.size(); ++i) {
        settings[i] = settingsLines[i];
    }
    return settings;
}

std::string ComposeSatelliteFile(const std::vector<std::string>& entries,
                                 const SettingsTexts& settings) {
    size_t size = kSeparatorLine.size() + kLineEnd.size();
    for (const std::string& entry : entries) {
        size += entry.size() + kLineEnd.size();
    }
    for (const std::string& setting : settings) {
        size += setting.size() + kLineEnd.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string& entry : entries) {
        text.append(entry).append(kLineEnd);
    }
    text.append(kSeparatorLine).append(kLineEnd);
    // The last setting ends in CR LF too, so an editor appending a line keeps it separate.
    for (const std::string& setting : settings) {
        text.append(setting).append(kLineEnd);
    }
    return text;
}

LoadResult LoadSatelliteFile(const std::filesystem::path& folder) {
    return LoadSatelliteFileAt(FilePath(folder));
}

LoadResult LoadSatelliteFileAt(const std::filesystem::path& path) {
    LoadResult result;

    // symlink_status, so that a dangling link counts as there but unreadable and is never
    // replaced by the default catalogue.
    std::error_code ec;
    const auto type = std::filesystem::symlink_status(path, ec).type();
    if (type == std::filesystem::file_type::not_found) {
        result.status = LoadResult::Status::CreatedFromDefault;
        result.content = ParseSatelliteFile(DefaultSatelliteFile());
        std::string error;
        if (!ReplaceFile(path, DefaultSatelliteFile(), &error)) {
            result.error = std::move(error);
        }
        return result;
    }

    std::string error;
    std::optional<std::string> bytes = ReadWholeFile(path, &error);
    if (!bytes) {
        result.status = LoadResult::Status::Unreadable;
        result.error = std::move(error);
        return result;
    }
    result.content = ParseSatelliteFile(*bytes);
    return result;
}

SaveResult SaveSatelliteFile(const std::filesystem::path& folder, const SettingsTexts& settings,
                             const std::vector<std::string>& fallbackEntries) {
    return SaveSatelliteFileAt(FilePath(folder), settings, fallbackEntries);
}

SaveResult SaveSatelliteFileAt(const std::filesystem::path& path, const SettingsTexts& settings,
                               const std::vector<std::string>& fallbackEntries) {
    SaveResult result;

    // The catalogue as it is in the file now: edits made in an editor while we ran survive.
    const std::optional<std::string> bytes = ReadWholeFile(path, nullptr);
    const std::string composed =
        bytes ? ComposeSatelliteFile(ParseSatelliteFile(*bytes).entries, settings)
              : ComposeSatelliteFile(fallbackEntries, settings);

    result.ok = ReplaceFile(path, composed, &result.error);
    return result;
}

}  // namespace palquin
