// SPDX-License-Identifier: GPL-3.0-or-later
// satellite.txt is edited by hand; whatever it holds, loading must split it into lines the save
// writes back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/satellite_file.h"
#include "fuzz_check.h"

namespace {

bool IsPlainLine(const std::string& line) {
    return line.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const palquin::SatelliteFileContent content = palquin::ParseSatelliteFile(bytes);
    // A leading byte-order mark belongs to no line.
    const std::string_view bom = bytes.starts_with(palquin::kUtf8Bom) ? palquin::kUtf8Bom : "";

    FUZZ_CHECK(content.hasSeparator || content.settings.empty());
    FUZZ_CHECK(content.entries.size() + content.settings.size() + (content.hasSeparator ? 1 : 0) ==
               palquin::SplitLines(bytes.substr(bom.size())).size());
    for (const std::string& entry : content.entries) {
        FUZZ_CHECK(IsPlainLine(entry) && entry != palquin::kSeparatorLine);
    }
    for (const std::string& line : content.settings) {
        FUZZ_CHECK(IsPlainLine(line));
    }

    const palquin::SettingsTexts settings = palquin::SettingsFromLines(content.settings);
    for (size_t i = 0; i < settings.size(); ++i) {
        FUZZ_CHECK(settings[i] == (i < content.settings.size() ? content.settings[i] : ""));
    }

    // What a save writes (composed in the file's own buffer, the mark kept in front) reads back
    // as the same catalogue and the five settings, and saving that again changes nothing.
    const std::string saved = palquin::ComposeFromFile(std::string(bytes), settings).value();
    FUZZ_CHECK(saved ==
               std::string(bom) + palquin::ComposeSatelliteFile(content.entries, settings).value());
    const palquin::SatelliteFileContent reread = palquin::ParseSatelliteFile(saved);
    FUZZ_CHECK(reread.hasSeparator);
    FUZZ_CHECK(reread.entries == content.entries);
    FUZZ_CHECK(reread.settings == std::vector<std::string>(settings.begin(), settings.end()));
    FUZZ_CHECK(palquin::ComposeFromFile(saved, palquin::SettingsFromLines(reread.settings)) ==
               saved);
    // A line break in a setting never reaches the file.
    palquin::SettingsTexts broken = settings;
    broken[bytes.size() % broken.size()] += bytes.size() % 2 == 0 ? "\r" : "\n";
    FUZZ_CHECK(!palquin::ComposeSatelliteFile(content.entries, broken).has_value());
    FUZZ_CHECK(!palquin::ComposeFromFile(std::string(bytes), broken).has_value());
    return 0;
}
