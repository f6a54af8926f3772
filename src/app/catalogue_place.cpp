// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/catalogue_place.h"

#include <QFile>
#include <QStandardPaths>
#include <type_traits>

#include "text/text_codec.h"
#include "ui/main_window.h"

namespace palquin {
namespace {

// Paths cross between Qt and the file layer in the system's own form: bytes on Linux (any name,
// UTF-8 or not), UTF-16 on Windows (never through the ANSI code page).
constexpr bool kWidePaths = std::is_same_v<std::filesystem::path::value_type, wchar_t>;

std::filesystem::path PathFromQString(const QString& text) {
    if constexpr (kWidePaths) {
        return std::filesystem::path(text.toStdWString());
    } else {
        return std::filesystem::path(QFile::encodeName(text).toStdString());
    }
}

}  // namespace

CatalogueLocation LocateCatalogueForUser(const std::optional<std::filesystem::path>& override,
                                         const std::filesystem::path& programFolder,
                                         bool createFolder) {
    CatalogueLocationInput input;
    input.override = override;
    input.programFolder = programFolder;
    input.createPerUserFolder = createFolder;
    // The data folder is named after the executable, not after the window's title.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty()) {
        input.perUserFolder = PathFromQString(data) / "palquin";
    }
    return LocateCatalogue(input);
}

void ShowCataloguePlace(MainWindow& window, const CatalogueLocation& where) {
    const QString file = PathForDisplay(where.file);
    window.SetSatellitesHint(QStringLiteral("Каталог спутников: ") + file);
}

}  // namespace palquin
