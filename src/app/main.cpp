#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "catalogue/satellite_file.h"
#include "cli/command_line.h"
#include "report/report.h"
#include "ui/link_opener.h"
#include "ui/main_window.h"
#include "ui/notifier.h"

namespace {

// The folder of the running program, once an application object exists.
std::filesystem::path ApplicationFolder() {
#ifdef _WIN32
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdWString());
#else
    return std::filesystem::path(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
#endif
}

std::filesystem::path Absolute(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    palquin::cli::Invocation invocation = palquin::cli::ParseArguments(arguments);
    if (invocation.catalogue) {
        // The window makes the program's folder the current one; a relative name means the
        // folder the user typed it in.
        invocation.catalogue = Absolute(*invocation.catalogue);
    }

    if (invocation.action != palquin::cli::Invocation::Action::Window) {
        // Help, version, errors and the report need no display: no window platform is loaded.
        QCoreApplication app(argc, argv);
        palquin::cli::Context context{ApplicationFolder() / palquin::kSatelliteFileName, std::cout,
                                      std::cerr};
        return palquin::cli::Run(invocation, context);
    }
    if (invocation.catalogue && !palquin::cli::CheckCatalogue(*invocation.catalogue, std::cerr)) {
        return palquin::cli::kExitFailure;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(palquin::kAppTitle);

    palquin::MessageBoxNotifier notifier;
    palquin::DesktopLinkOpener linkOpener;
    palquin::MainWindowSetup setup;
    setup.folder = ApplicationFolder();
    setup.notifier = &notifier;
    setup.reportPath = palquin::DefaultReportPath();
    setup.linkOpener = &linkOpener;
    setup.catalogueFile = invocation.catalogue.value_or(std::filesystem::path());

    palquin::frmMain window(setup);
    notifier.SetParent(&window);
    window.show();
    return QApplication::exec();
}
