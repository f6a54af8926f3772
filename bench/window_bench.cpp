// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window with an empty and with a full catalogue, and one zoom step of a
// window with ten calculated slots.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "ui/main_window.h"
#include "ui/notifier.h"

namespace {

class SilentNotifier : public palquin::Notifier {
  public:
    void Show(const QString&, const QString&, palquin::MessageIcon) override {}
};

std::string Catalogue(int entries) {
    std::string bytes;
    for (int k = 0; k < entries; ++k) {
        bytes += std::to_string(k % 180) + ";" + std::to_string(k % 10) +
                 ";E;\xD1\xEF\xF3\xF2\xED\xE8\xEA " + std::to_string(k) + ";http://example.org/" +
                 std::to_string(k) + ";;\r\n";
    }
    return bytes + "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
}

struct Folder {
    explicit Folder(int entries) {
        QFile file(dir.filePath(QStringLiteral("satellite.txt")));
        (void)file.open(QIODevice::WriteOnly);
        const std::string bytes = Catalogue(entries);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    palquin::MainWindowSetup Setup(palquin::Notifier* notifier) const {
        palquin::MainWindowSetup setup;
        setup.folder = dir.path().toStdString();
        setup.notifier = notifier;
        setup.reportPath = dir.filePath(QStringLiteral("r.txt")).toStdString();
        return setup;
    }
    QTemporaryDir dir;
};

// Constructs the window, shows it and lets it paint once; the file is not saved (no close).
void BM_WindowStartup(benchmark::State& state) {
    const Folder folder(static_cast<int>(state.range(0)));
    SilentNotifier notifier;
    for (auto _ : state) {
        palquin::MainWindow window(folder.Setup(&notifier));
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.findChild<QComboBox*>(QStringLiteral("Combo1_9"))->count());
        window.hide();
    }
}
BENCHMARK(BM_WindowStartup)->Arg(0)->Arg(32767)->Unit(benchmark::kMillisecond);

// One zoom step (recalculating ten slots and rebuilding the grid) at the finest scales, then
// painting.
void BM_WindowZoomStep(benchmark::State& state) {
    const Folder folder(200);
    SilentNotifier notifier;
    palquin::MainWindow window(folder.Setup(&notifier));
    window.show();
    QApplication::processEvents();  // exposed, so that repaint() really paints
    for (int slot = 0; slot < palquin::MainWindow::kSlots; ++slot) {
        window.findChild<QComboBox*>(QStringLiteral("Combo1_%1").arg(slot))
            ->setCurrentIndex(30 + slot);
        window.RecalculateSlot(slot);
    }
    for (int step = 0; step < 4; ++step) {
        window.ZoomOut();  // down to 1/16, the densest grid
    }
    bool in = true;
    for (auto _ : state) {
        if (in) {
            window.ZoomIn();
        } else {
            window.ZoomOut();
        }
        in = !in;
        window.repaint();
    }
}
BENCHMARK(BM_WindowZoomStep)->Unit(benchmark::kMillisecond);

}  // namespace
