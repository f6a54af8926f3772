// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>

#include "catalogue/catalogue_location.h"

namespace palquin {

class MainWindow;

/// The catalogue file for this run: the override, beside the executable (in programFolder), or in
/// the user's data folder (XDG_DATA_HOME/palquin, normally ~/.local/share/palquin). The window
/// asks with createFolder, so the data folder is there to save into; a run that only names or
/// reads the file asks without, and leaves no trace.
CatalogueLocation LocateCatalogueForUser(const std::optional<std::filesystem::path>& override,
                                         const std::filesystem::path& programFolder,
                                         bool createFolder);

/// Names the file in use in the window: the satellite group's tooltip.
void ShowCataloguePlace(MainWindow& window, const CatalogueLocation& where);

}  // namespace palquin
