#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/catalogue_place.h"
#include "core/close_request.h"
#include "core/file_io.h"
#include "core/program_folder.h"
#include "print/system_printer.h"
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
        std::cerr << "palquin: каталог спутников: " << palquin::PathText(where.file) << '\n';
    }

    palquin::SystemPrinter printer;
    palquin::MainWindowSetup setup;
    setup.folder = where.Folder();
    setup.notifier = &notifier;
    setup.printer = &printer;
    setup.reportPath = palquin::DefaultReportPath();

    // Polled from the start, so that a request also ends a message box of the start-up.
    palquin::frmMain* built = nullptr;
    QTimer closeRequests;
    QObject::connect(&closeRequests, &QTimer::timeout, &app, [&built, &closeRequests] {
        if (!palquin::CloseRequested()) {
            return;
        }
        // A modal window or message box open at the time goes first; nobody may be there to
        // close it.
        for (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr;) {
            modal->close();
            QWidget* next = QApplication::activeModalWidget();
            modal = next == modal ? nullptr : next;
        }
        if (built != nullptr) {
            closeRequests.stop();
            built->CloseOnRequest();
        }
    });
    closeRequests.start(100);

    palquin::frmMain window(setup);
    notifier.SetParent(&window);
    built = &window;
    palquin::ShowCataloguePlace(window, where);
    window.show();
    const int status = QApplication::exec();
    palquin::AcknowledgeClose();
    return status;
}
