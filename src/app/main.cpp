#include <QApplication>
#include <filesystem>

#include "print/system_printer.h"
#include "report/report.h"
#include "ui/main_window.h"
#include "ui/notifier.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(palquin::kAppTitle);

    palquin::MessageBoxNotifier notifier;
    palquin::SystemPrinter printer;
    palquin::MainWindowSetup setup;
    setup.folder = std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    setup.notifier = &notifier;
    setup.printer = &printer;
    setup.reportPath = palquin::DefaultReportPath();

    palquin::frmMain window(setup);
    notifier.SetParent(&window);
    window.show();
    return QApplication::exec();
}
