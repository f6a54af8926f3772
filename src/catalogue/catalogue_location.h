// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace palquin {

/// Where satellite.txt is kept, and why.
struct CatalogueLocation {
    enum class Kind {
        Override,       ///< a file named on the command line
        BesideProgram,  ///< the program's own folder (a build folder or an unpacked copy)
        PerUser,  ///< the per-user data folder: an installed program, or a folder it may not write
        Unavailable,  ///< no usable place: nothing is read or written
    };
    Kind kind = Kind::Unavailable;
    std::filesystem::path file;  ///< the catalogue file; empty for Unavailable
    std::string error;           ///< why no place could be used, for Unavailable

    std::filesystem::path Folder() const { return file.parent_path(); }
};

/// What the choice depends on; all paths are handed in so a test can use temporary folders.
struct CatalogueLocationInput {
    std::optional<std::filesystem::path> override;  ///< --catalogue FILE, wins when given
    std::filesystem::path programFolder;            ///< the folder of the executable
    std::filesystem::path perUserFolder;            ///< e.g. ~/.local/share/palquin
    /// Whether the user may create files in a folder; FolderIsWritable unless a test says else.
    std::function<bool(const std::filesystem::path&)> isWritable;
    /// False where only the name is wanted (--help, the modes without a window): nothing is made.
    bool createPerUserFolder = true;
};

/// Picks the catalogue file. An installed program (IsInstalledLayout) always uses the per-user
/// folder, whoever runs it, root included. Otherwise the program's folder is used when it already
/// holds satellite.txt or when the user may write there; else the per-user folder. That folder is
/// created (with parents) when createPerUserFolder says so. Nothing is written beside the program
/// in that case, and an existing per-user file is never touched here: the loader creates it from
/// the default only when it is missing.
CatalogueLocation LocateCatalogue(const CatalogueLocationInput& input);

/// True when programFolder is the bin folder of an install prefix that holds this program's menu
/// entry, <prefix>/share/applications/palquin.desktop: `make install` and the package both put it
/// there, while a build folder or an unpacked copy has no such neighbour.
bool IsInstalledLayout(const std::filesystem::path& programFolder);

/// True when the current user may create files in the folder (the system's own answer, so root,
/// read-only mounts and ACLs are taken into account).
bool FolderIsWritable(const std::filesystem::path& folder);

}  // namespace palquin
