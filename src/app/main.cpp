#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <iostream>

#include "app/catalogue_place.h"
#include "report/report.h"
#include "ui/main_window.h"
#include "ui/notifier.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(palquin::kAppTitle);
    QApplication::setDesktopFileName(QStringLiteral("palquin"));

    const palquin::CatalogueLocation where = palquin::LocateCatalogueForUser(std::nullopt);
    if (where.kind == palquin::CatalogueLocation::Kind::Unavailable) {
        std::cerr << "palquin: " << where.error << '\n';
        QMessageBox::critical(nullptr, palquin::kAppTitle,
                              QStringLiteral("Ошибка в процедуре загрузки!"));
        return 1;
    }
    if (::isatty(STDERR_FILENO) != 0) {
        std::cerr << "palquin: каталог спутников: " << where.file.string() << '\n';
    }

    palquin::MessageBoxNotifier notifier;
    palquin::MainWindowSetup setup;
    setup.folder = where.Folder();
    setup.notifier = &notifier;
    setup.reportPath = palquin::DefaultReportPath();

    palquin::frmMain window(setup);
    notifier.SetParent(&window);
    palquin::ShowCataloguePlace(window, where);
    window.show();
    return QApplication::exec();
}
