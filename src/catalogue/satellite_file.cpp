// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/satellite_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

#include "platform/file_io.h"
#include "platform/file_messages.h"

namespace palquin {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendSettingsBlock(std::string& text, const SettingsTexts& settings) {
    text.append(kSeparatorLine).append(kLineEnd);
    // The last setting ends in CR LF too, so an editor appending a line keeps it separate.
    for (const std::string& setting : settings) {
        text.append(setting).append(kLineEnd);
    }
}

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
    const CatalogueText text{std::string(bytes)};
    return {text.Entries(), text.Settings(), text.HasSeparator()};
}

SettingsTexts SettingsFromLines(const std::vector<std::string>& settingsLines) {
    SettingsTexts settings;
    for (size_t i = 0; i < settings.size() && i < settingsLines.size(); ++i) {
        settings[i] = settingsLines[i];
    }
    return settings;
}

Settings NamedSettings(const SettingsTexts& texts) {
    return {texts[0], texts[1], texts[2], texts[3], texts[4]};
}

bool SettingsBreakLines(const SettingsTexts& settings) {
    return std::any_of(settings.begin(), settings.end(), [](const std::string& setting) {
        return setting.find_first_of("\r\n") != std::string::npos;
    });
}

std::optional<std::string> ComposeSatelliteFile(const std::vector<std::string>& entries,
                                                const SettingsTexts& settings) {
    if (SettingsBreakLines(settings)) {
        return std::nullopt;
    }
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
    AppendSettingsBlock(text, settings);
    return text;
}

std::optional<std::string> ComposeFromFile(std::string bytes, const SettingsTexts& settings) {
    if (SettingsBreakLines(settings)) {
        return std::nullopt;
    }
    const std::string_view view = bytes;
    const size_t first = view.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;

    // The size of the catalogue part once every line ends in CR LF.
    size_t catalogueEnd = bytes.size();
    size_t composedEnd = first;
    for (size_t at = first; at < bytes.size();) {
        size_t end = view.find_first_of("\r\n", at);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        if (view.substr(at, end - at) == kSeparatorLine) {
            catalogueEnd = at;
            break;
        }
        composedEnd += end - at + kLineEnd.size();
        at = end == bytes.size()
                 ? end
                 : end + ((view[end] == '\r' && end + 1 < bytes.size() && view[end + 1] == '\n')
                              ? 2
                              : 1);
    }
    size_t settingsSize = kSeparatorLine.size() + kLineEnd.size();
    for (const std::string& setting : settings) {
        settingsSize += setting.size() + kLineEnd.size();
    }
    if (composedEnd + settingsSize > bytes.size()) {
        bytes.resize(composedEnd + settingsSize);
    }

    // From the last line back to the first: every line moves to its place in the composed text,
    // which never lies before its place now (a line end only ever grows to CR LF), so nothing
    // not yet moved is overwritten.
    char* const data = bytes.data();
    size_t from = catalogueEnd;
    size_t to = composedEnd;
    while (from > first) {
        size_t lineEnd = from;
        if (data[lineEnd - 1] == '\n') {
            --lineEnd;
            if (lineEnd > first && data[lineEnd - 1] == '\r') {
                --lineEnd;
            }
        } else if (data[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        size_t lineStart = lineEnd;
        while (lineStart > first && data[lineStart - 1] != '\r' && data[lineStart - 1] != '\n') {
            --lineStart;
        }
        const size_t length = lineEnd - lineStart;
        to -= kLineEnd.size();
        std::memcpy(data + to, kLineEnd.data(), kLineEnd.size());
        to -= length;
        std::memmove(data + to, data + lineStart, length);
        from = lineStart;
    }
    bytes.resize(composedEnd);
    AppendSettingsBlock(bytes, settings);
    return bytes;
}

LoadResult LoadSatelliteFile(const std::filesystem::path& folder) {
    return LoadSatelliteFileAt(FilePath(folder));
}

LoadResult LoadSatelliteFileAt(const std::filesystem::path& path) {
    LoadResult result;
    // A save cut short (power loss, kill -9) leaves its temporary file behind; one still running
    // in another instance holds its file locked and keeps it.
    RemoveStaleTemporaries(path.parent_path());
    try {
        // symlink_status, so that a dangling link counts as there but unreadable and is never
        // replaced by the default catalogue.
        std::error_code ec;
        const auto type = std::filesystem::symlink_status(path, ec).type();
        if (type == std::filesystem::file_type::not_found) {
            result.status = LoadResult::Status::CreatedFromDefault;
            result.catalogue = CatalogueText(std::string(DefaultSatelliteFile()));
            std::string error;
            if (!ReplaceFile(path, DefaultSatelliteFile(), &error)) {
                result.error = std::move(error);
            }
            return result;
        }

        // The lines are found while the file is read, each piece while it is still in the
        // processor's cache: a second pass over a large file would take as long as the read.
        LineScan scan;
        std::optional<HeldFile> held = ReadWholeFileHeld(
            path, &result.error, [&scan](std::string_view soFar) { scan.Feed(soFar); });
        if (!held) {
            result.status = LoadResult::Status::Unreadable;
            return result;
        }
        result.catalogue = CatalogueText(std::move(held->owner), held->bytes, std::move(scan));
    } catch (const std::bad_alloc&) {
        result = LoadResult{};
        result.status = LoadResult::Status::Unreadable;
        result.error = file_messages::About(path, file_messages::kNoMemory);
    }
    return result;
}

std::shared_future<LoadResult> StartCatalogueLoad(const std::filesystem::path& folder,
                                                  const std::filesystem::path& file) {
    std::error_code ec;
    auto load = [absoluteFolder = std::filesystem::absolute(folder, ec),
                 absoluteFile =
                     file.empty() ? std::filesystem::path() : std::filesystem::absolute(file, ec)] {
        return absoluteFile.empty() ? LoadSatelliteFile(absoluteFolder)
                                    : LoadSatelliteFileAt(absoluteFile);
    };
    try {
        return std::async(std::launch::async, load).share();
    } catch (const std::system_error&) {
        // No thread to be had (a process or memory limit): the load runs when it is awaited.
        return std::async(std::launch::deferred, load).share();
    }
}

SaveResult SaveSatelliteFile(const std::filesystem::path& folder, const SettingsTexts& settings,
                             const CatalogueText& fallback) {
    return SaveSatelliteFileAt(FilePath(folder), settings, fallback);
}

SaveResult SaveSatelliteFileAt(const std::filesystem::path& path, const SettingsTexts& settings,
                               const CatalogueText& fallback) {
    SaveResult result;
    if (SettingsBreakLines(settings)) {
        result.error = "в одной из настроек есть перевод строки";
        return result;
    }
    try {
        // The catalogue as it is in the file now: edits made in an editor while we ran survive.
        // Only a file that is gone is written from memory; one that is there but cannot be read
        // is left as it is.
        std::optional<std::string> bytes;
        std::error_code ec;
        if (std::filesystem::symlink_status(path, ec).type() ==
            std::filesystem::file_type::not_found) {
            bytes = std::string(fallback.Bytes());
        } else {
            bytes = ReadWholeFile(path, &result.error);
            if (!bytes) {
                return result;
            }
        }
        const std::optional<std::string> composed = ComposeFromFile(std::move(*bytes), settings);
        result.ok = composed && ReplaceFile(path, *composed, &result.error);
    } catch (const std::bad_alloc&) {
        result.ok = false;
        result.error = file_messages::About(path, file_messages::kNoMemory);
    }
    return result;
}

}  // namespace palquin
