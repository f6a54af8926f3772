#pragma once

#include <filesystem>
#include <optional>

#include "catalogue/catalogue_location.h"

namespace palquin {

class frmMain;

/// The catalogue file for this run: the override, beside the executable, or in the user's data
/// folder (XDG_DATA_HOME/palquin, normally ~/.local/share/palquin).
CatalogueLocation LocateCatalogueForUser(const std::optional<std::filesystem::path>& override);

/// Names the file in use in the window: the satellite group's tooltip.
void ShowCataloguePlace(frmMain& window, const CatalogueLocation& where);

}  // namespace palquin
