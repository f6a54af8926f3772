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
        PerUser,        ///< the per-user data folder of an installed program
        Unavailable,    ///< no usable place: nothing is read or written
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
};

/// Picks the catalogue file. The program's folder is used when it already holds satellite.txt
/// or when the user may write there; otherwise the per-user folder is created (with parents)
/// and used. Nothing is written beside the program in that case, and an existing per-user file
/// is never touched here: the loader creates it from the default only when it is missing.
CatalogueLocation LocateCatalogue(const CatalogueLocationInput& input);

/// True when the current user may create files in the folder (the system's own answer, so root,
/// read-only mounts and ACLs are taken into account).
bool FolderIsWritable(const std::filesystem::path& folder);

}  // namespace palquin
