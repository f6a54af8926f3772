#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/catalogue_place.h"
#include "core/close_request.h"
#include "core/program_folder.h"
#include "report/report.h"
#include "ui/main_window.h"
#include "ui/notifier.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(palquin::kAppTitle);
    QApplication::setDesktopFileName(QStringLiteral("palquin"));

    // Installed before anything is loaded: from here on a SIGTERM or SIGHUP closes the window
    // normally, and the settings are saved.
    palquin::InstallCloseRequestHandlers();

    palquin::MessageBoxNotifier notifier;
    std::string error;
    const std::optional<std::filesystem::path> folder = palquin::ProgramFolder(&error);
    if (!folder) {
        // Without its own folder the program would read and write some other satellite.txt.
        notifier.Show(
            QStringLiteral("Ошибка в процедуре загрузки! Не найдена папка программы (%1).")
                .arg(QString::fromStdString(error)),
            palquin::kAppTitle, palquin::MessageIcon::None);
        return 1;
    }

    const palquin::CatalogueLocation where = palquin::LocateCatalogueForUser(std::nullopt, *folder);
    if (where.kind == palquin::CatalogueLocation::Kind::Unavailable) {
        std::cerr << "palquin: " << where.error << '\n';
        notifier.Show(QStringLiteral("Ошибка в процедуре загрузки!"), palquin::kAppTitle,
                      palquin::MessageIcon::None);
        return 1;
    }
    if (::isatty(STDERR_FILENO) != 0) {
        std::cerr << "palquin: каталог спутников: " << where.file.string() << '\n';
    }

    palquin::MainWindowSetup setup;
    setup.folder = where.Folder();
    setup.notifier = &notifier;
    setup.reportPath = palquin::DefaultReportPath();

    palquin::frmMain window(setup);
    notifier.SetParent(&window);
    palquin::ShowCataloguePlace(window, where);

    QTimer closeRequests;
    QObject::connect(&closeRequests, &QTimer::timeout, &window, [&window, &closeRequests] {
        if (palquin::CloseRequested()) {
            closeRequests.stop();
            window.CloseOnRequest();
            // Also ends the loop of a modal window that may be open.
            QApplication::quit();
        }
    });
    // Also answers a request that came during the start-up.
    closeRequests.start(100);

    window.show();
    const int status = QApplication::exec();
    palquin::AcknowledgeClose();
    return status;
}
