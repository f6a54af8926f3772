// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_text.h"

namespace palquin {

/// The name of the catalogue and settings file in the program's folder.
inline constexpr std::string_view kSatelliteFileName = "satellite.txt";

/// The line that ends the catalogue part; only the first one counts.
inline constexpr std::string_view kSeparatorLine = "------------------";

/// The five settings texts in file order: sh, cmbNS, dl, cmbEW, fokus.
using SettingsTexts = std::array<std::string, 5>;

/// The five settings by name, as the fields hold them.
struct Settings {
    std::string latitude;   ///< sh
    std::string ns;         ///< cmbNS
    std::string longitude;  ///< dl
    std::string ew;         ///< cmbEW
    std::string focal;      ///< fokus
};

/// The settings texts by name.
Settings NamedSettings(const SettingsTexts& texts);

/// Splits file bytes into lines. CR LF, a lone CR and a lone LF each end a line; the line end is
/// not part of the line. A final line end does not start another (empty) line.
std::vector<std::string> SplitLines(std::string_view bytes);

/// The file's content split into its parts, as copies. Entries are kept byte for byte (nothing is
/// decoded here); a leading byte-order mark belongs to no entry.
struct SatelliteFileContent {
    std::vector<std::string> entries;   ///< catalogue lines, in file order
    std::vector<std::string> settings;  ///< every line after the first separator
    bool hasSeparator = false;
};

SatelliteFileContent ParseSatelliteFile(std::string_view bytes);

/// The settings texts from the lines after the separator; a line that is not there is empty.
SettingsTexts SettingsFromLines(const std::vector<std::string>& settingsLines);

/// True when a setting holds a CR or LF: written out, it would end its line early and shift the
/// settings block. Such settings are never written.
bool SettingsBreakLines(const SettingsTexts& settings);

/// The whole new file: catalogue lines, separator, five settings, every line ending in CR LF.
/// nullopt when a setting holds a line break.
std::optional<std::string> ComposeSatelliteFile(const std::vector<std::string>& entries,
                                                const SettingsTexts& settings);

/// The same new file made from the old file's bytes, in their own buffer (no second copy of a
/// large catalogue): a leading byte-order mark kept, the catalogue part with every line ending in
/// CR LF, then separator and settings. nullopt when a setting holds a line break. Throws
/// std::bad_alloc when memory runs out.
std::optional<std::string> ComposeFromFile(std::string fileBytes, const SettingsTexts& settings);

struct LoadResult {
    enum class Status {
        Loaded,              ///< the file was there and was read
        CreatedFromDefault,  ///< there was no file: the built-in catalogue was used (and written)
        Unreadable,          ///< the file exists but could not be read: nothing is loaded
    };
    Status status = Status::Loaded;
    CatalogueText catalogue;
    std::string error;  ///< what went wrong, for Unreadable (and a failed write of the default)
};

/// Reads satellite.txt from the folder, after removing the temporary files of saves that were cut
/// short. A missing file is created from the built-in default
/// catalogue; if even that cannot be written, the default is still returned. Anything but a
/// regular file, and a file too large for the memory, is Unreadable.
LoadResult LoadSatelliteFile(const std::filesystem::path& folder);
/// The same for a catalogue file of any name (palquin --catalogue FILE).
LoadResult LoadSatelliteFileAt(const std::filesystem::path& file);
/// LoadSatelliteFileAt(file), or LoadSatelliteFile(folder) when file is empty, on a thread of its
/// own. Both paths are made absolute first: the current folder may change meanwhile.
std::shared_future<LoadResult> StartCatalogueLoad(const std::filesystem::path& folder,
                                                  const std::filesystem::path& file);

struct SaveResult {
    bool ok = false;
    std::string error;  ///< what went wrong when !ok
};

/// Rewrites satellite.txt: the catalogue part as it is in the file now (so edits made while the
/// program ran survive), then the separator and the five settings. When the file is gone,
/// fallback (the catalogue loaded at start-up) is written instead; when it is there but cannot be
/// read (no longer readable, a link that leads nowhere, not a regular file) nothing is written.
/// Settings holding a line break are refused. The write goes through ReplaceFile, so a failure
/// leaves the old file whole; running out of memory is a failure like any other.
SaveResult SaveSatelliteFile(const std::filesystem::path& folder, const SettingsTexts& settings,
                             const CatalogueText& fallback);
/// The same for a catalogue file of any name.
SaveResult SaveSatelliteFileAt(const std::filesystem::path& file, const SettingsTexts& settings,
                               const CatalogueText& fallback);

/// The built-in default satellite.txt, in the file's own format and Windows-1251.
std::string_view DefaultSatelliteFile();

}  // namespace palquin
