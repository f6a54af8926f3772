// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_location.h"

#include <system_error>

#include "catalogue/satellite_file.h"
#include "platform/file_io.h"
#include "platform/file_messages.h"

namespace palquin {

namespace fs = std::filesystem;

bool FolderIsWritable(const fs::path& folder) {
    return CanCreateFilesIn(folder);
}

bool IsInstalledLayout(const fs::path& programFolder) {
    if (programFolder.filename() != "bin") {
        return false;
    }
    std::error_code ec;
    return fs::is_regular_file(
        programFolder.parent_path() / "share" / "applications" / "palquin.desktop", ec);
}

CatalogueLocation LocateCatalogue(const CatalogueLocationInput& input) {
    using Kind = CatalogueLocation::Kind;
    if (input.override) {
        fs::path file = *input.override;
        std::error_code ec;
        if (file.is_relative()) {
            const fs::path absolute = fs::absolute(file, ec);
            if (!ec) {
                file = absolute;
            }
        }
        return {Kind::Override, file, {}};
    }

    const auto writable = input.isWritable ? input.isWritable : FolderIsWritable;
    if (!input.programFolder.empty() && !IsInstalledLayout(input.programFolder)) {
        const fs::path beside = input.programFolder / kSatelliteFileName;
        std::error_code ec;
        // A file (or a link to one) already there is the user's: keep using it even when the
        // folder itself is read-only, as an unpacked copy on a read-only medium would be.
        if (fs::exists(fs::symlink_status(beside, ec)) || writable(input.programFolder)) {
            return {Kind::BesideProgram, beside, {}};
        }
    }

    if (input.perUserFolder.empty()) {
        return {Kind::Unavailable, {}, "неизвестно, где папка для данных пользователя"};
    }
    std::error_code ec;
    if (input.createPerUserFolder) {
        fs::create_directories(input.perUserFolder, ec);
    }
    if (ec) {
        return {Kind::Unavailable,
                {},
                "не удалось создать папку «" + PathText(input.perUserFolder) +
                    "»: " + file_messages::ReasonFor(ec)};
    }
    return {Kind::PerUser, input.perUserFolder / kSatelliteFileName, {}};
}

}  // namespace palquin
