// SPDX-License-Identifier: GPL-3.0-or-later
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <future>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/application_look.h"
#include "app/catalogue_place.h"
#include "app/display.h"
#include "app/font_warmup.h"
#include "catalogue/settings_watchdog.h"
#include "cli/command_line.h"
#include "platform/close_request.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "print/system_printer.h"
#include "report/report.h"
#include "ui/link_opener.h"
#include "ui/main_window.h"
#include "ui/notifier.h"

namespace {

// Help, version, usage errors and the modes without a window. They need no display: no window
// platform is loaded.
int RunCommandLine(int argc, char** argv, const palquin::cli::Invocation& invocation) {
    std::optional<QGuiApplication> painting;
    std::optional<QCoreApplication> plain;
    if (invocation.action == palquin::cli::Invocation::Action::Mode && invocation.mode->paints) {
        // Pages need fonts, hence a QGuiApplication; the offscreen platform needs no display.
        // Only the program's name goes to Qt: the arguments were read already, and a value such
        // as "-platform" must not be taken for one of Qt's own options.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's notes about the desktop it finds (no XDG_RUNTIME_DIR, ...) are no concern of a
        // command that writes a file; the mode reports its own failures.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::cerr << "palquin: " << text.toStdString() << '\n';
            }
        });
        static char fallbackName[] = "palquin";
        static int guiArgc = 1;
        static char* guiArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
        painting.emplace(guiArgc, guiArgv);
    } else {
        plain.emplace(argc, argv);
    }
    std::filesystem::path defaultCatalogue;
    std::string error;
    if (const std::optional<std::filesystem::path> folder = palquin::ProgramFolder(&error)) {
        // The file the window would use; a mode reads it and never creates it.
        defaultCatalogue = palquin::LocateCatalogueForUser(std::nullopt, *folder, false).file;
    }
    palquin::cli::Context context{defaultCatalogue, std::cout, std::cerr};
    return palquin::cli::Run(invocation, context);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    const palquin::cli::Invocation invocation = palquin::cli::ParseArguments(arguments);
    if (invocation.action != palquin::cli::Invocation::Action::Window) {
        return RunCommandLine(argc, argv, invocation);
    }
    // Checked before any window exists: a file that is not there gives a message and status 1,
    // with or without a display.
    if (invocation.catalogue && !palquin::cli::CheckCatalogue(*invocation.catalogue, std::cerr)) {
        return palquin::cli::kExitFailure;
    }

    if (!palquin::HasDisplay()) {
        std::cerr << palquin::kNoDisplayMessage << '\n';
        return palquin::cli::kExitFailure;
    }

    // Installed before anything is loaded or cleaned up, and before the threads of the start
    // exist: from here on a SIGTERM or SIGHUP only asks for the close, which happens normally
    // (the settings saved) once the window stands.
    palquin::InstallCloseRequestHandlers();

    // The catalogue's place is known before Qt starts, so that a large catalogue is read on a
    // second thread while Qt starts up and the window is built. Failures are shown once a
    // message box can be.
    std::string folderError;
    const std::optional<std::filesystem::path> folder = palquin::ProgramFolder(&folderError);
    std::optional<palquin::CatalogueLocation> where;
    std::shared_future<palquin::LoadResult> earlyLoad;
    if (folder) {
        where = palquin::LocateCatalogueForUser(invocation.catalogue, *folder, true);
        if (where->kind != palquin::CatalogueLocation::Kind::Unavailable) {
            earlyLoad = palquin::StartCatalogueLoad(
                where->Folder(), where->kind == palquin::CatalogueLocation::Kind::Override
                                     ? where->file
                                     : std::filesystem::path());
        }
    }

    // The font configuration is read while Qt connects to the display and loads its plugins.
    const palquin::FontWarmup fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(palquin::kAppTitle);
    QApplication::setDesktopFileName(QStringLiteral("palquin"));
    palquin::PrepareApplication(app);

    // Polled from the start, so that a request also ends a message box of the start-up.
    palquin::MainWindow* built = nullptr;
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

    palquin::MessageBoxNotifier notifier;
    if (!folder) {
        // Without its own folder the program would read and write some other satellite.txt.
        notifier.Show(
            QStringLiteral("Ошибка в процедуре загрузки! Не найдена папка программы (%1).")
                .arg(QString::fromStdString(folderError)),
            palquin::kAppTitle, palquin::MessageIcon::None);
        return 1;
    }

    if (where->kind == palquin::CatalogueLocation::Kind::Unavailable) {
        std::cerr << "palquin: " << where->error << '\n';
        notifier.Show(QStringLiteral("Ошибка в процедуре загрузки!"), palquin::kAppTitle,
                      palquin::MessageIcon::None);
        return 1;
    }
#ifdef _WIN32
    const bool errorsToTerminal = _isatty(_fileno(stderr)) != 0;
#else
    const bool errorsToTerminal = ::isatty(STDERR_FILENO) != 0;
#endif
    if (errorsToTerminal) {
        std::cerr << "palquin: каталог спутников: " << palquin::PathText(where->file) << '\n';
    }

    palquin::SystemPrinter printer;
    palquin::DesktopLinkOpener linkOpener;
    palquin::SettingsWatchdog watchdog;  // saves on SIGTERM even when the window is stuck
    palquin::MainWindowSetup setup;
    setup.watchdog = &watchdog;
    setup.folder = where->Folder();
    setup.notifier = &notifier;
    setup.printer = &printer;
    setup.reportPath = palquin::DefaultReportPath();
    setup.linkOpener = &linkOpener;
    if (where->kind == palquin::CatalogueLocation::Kind::Override) {
        setup.catalogueFile = where->file;  // a file of any name, not only satellite.txt
    }
    setup.earlyLoad = earlyLoad;

    palquin::MainWindow window(setup);
    notifier.SetParent(&window);
    built = &window;
    palquin::ShowCataloguePlace(window, *where);
    window.show();
    const int status = QApplication::exec();
    palquin::AcknowledgeClose();
    return status;
}
