// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's page: enlarged with the banner, composed onto a QPrinter in PDF mode at
// 600 dpi, restored; the whole wait a click on Print costs before the job goes to the print
// system (here a PDF file instead of a queue).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "print/system_printer.h"
#include "ui/main_window.h"
#include "ui/notifier.h"

namespace {

class CountingNotifier : public palquin::Notifier {
  public:
    void Show(const QString&, const QString&, palquin::MessageIcon) override { ++shown; }
    int shown = 0;
};

void BM_PrintMainWindowPage(benchmark::State& state) {
    QTemporaryDir dir;
    {
        QFile file(dir.filePath(QStringLiteral("satellite.txt")));
        (void)file.open(QIODevice::WriteOnly);
        std::string bytes;
        for (int k = 0; k < 10; ++k) {
            bytes += std::to_string(10 + 3 * k) + ";0;E;Sat " + std::to_string(k) + ";;;\r\n";
        }
        bytes += "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    CountingNotifier notifier;
    palquin::PrintDestination pdf;
    pdf.kind = palquin::PrintDestination::Kind::PdfFile;
    pdf.name = dir.filePath(QStringLiteral("page.pdf"));
    palquin::SystemPrinter printer(pdf);
    palquin::MainWindowSetup setup;
    setup.folder = dir.path().toStdString();
    setup.notifier = &notifier;
    setup.printer = &printer;
    setup.reportPath = dir.filePath(QStringLiteral("r.txt")).toStdString();
    palquin::MainWindow window(setup);
    window.show();
    for (int slot = 0; slot < palquin::MainWindow::kSlots; ++slot) {
        window.findChild<QComboBox*>(QStringLiteral("Combo1_%1").arg(slot))->setCurrentIndex(slot);
        window.RecalculateSlot(slot);
    }
    QApplication::processEvents();
    for (auto _ : state) {
        window.PrintMainWindow();
    }
    if (notifier.shown != 0) {
        state.SkipWithError("the page could not be printed");
    }
    state.counters["pdf_kB"] = static_cast<double>(QFile(pdf.name).size()) / 1024.0;
}
BENCHMARK(BM_PrintMainWindowPage)->Unit(benchmark::kMillisecond);

}  // namespace
