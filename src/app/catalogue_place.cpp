#include "app/catalogue_place.h"

#include <QFile>
#include <QGroupBox>
#include <QStandardPaths>
#include <QTextDocument>

#include "ui/main_window.h"

namespace palquin {

CatalogueLocation LocateCatalogueForUser(const std::optional<std::filesystem::path>& override,
                                         const std::filesystem::path& programFolder) {
    CatalogueLocationInput input;
    input.override = override;
    input.programFolder = programFolder;
    // The data folder is named after the executable, not after the window's title.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty()) {
        input.perUserFolder =
            std::filesystem::path(QFile::encodeName(data).toStdString()) / "palquin";
    }
    return LocateCatalogue(input);
}

void ShowCataloguePlace(frmMain& window, const CatalogueLocation& where) {
    const QString file = QFile::decodeName(QByteArray::fromStdString(where.file.string()));
    window.Frame1->setToolTip(Qt::convertFromPlainText(QStringLiteral("Каталог спутников: ") + file,
                                                       Qt::WhiteSpaceNoWrap));
}

}  // namespace palquin
