// SPDX-License-Identifier: GPL-3.0-or-later
// Peak memory of a start-up and close (load, window, save) with a catalogue of 1,000,000 entries,
// against the same with an empty catalogue (Qt's own start-up). Each run is a child process of
// its own, so that its peak is its alone.
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/main_window.h"
#include "ui/notifier.h"

namespace {

namespace fs = std::filesystem;

class SilentNotifier : public palquin::Notifier {
  public:
    void Show(const QString& text, const QString&, palquin::MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", text.toLocal8Bit().constData());
    }
};

// Realistic entries: about 23 bytes each, Windows-1251 letters in every tenth.
void WriteCatalogue(const fs::path& file, int entries) {
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < entries; ++i) {
        out << (i % 180) << ';' << (i % 10) << ';' << (i % 2 == 0 ? 'E' : 'W') << ";Sat "
            << (i % 10 == 0 ? "\xC0\xE1" : "ab") << (i % 100000) << ";;;\r\n";
    }
    out << "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
}

// Peak resident memory of one start-up and close in the folder, in KiB; -1 on failure.
long PeakKib(const fs::path& folder) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int argc = 1;
        char name[] = "palquin_memory_peak";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        SilentNotifier notifier;
        palquin::MainWindowSetup setup;
        setup.folder = folder;
        setup.notifier = &notifier;
        setup.reportPath = folder / "printOut.txt";
        {
            palquin::MainWindow window(setup);
            window.show();
            QApplication::processEvents();
            window.close();
        }
        std::fflush(nullptr);
        ::_exit(0);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss;
}

}  // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "palquin-memory-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path empty = fs::path(pattern) / "empty";
    const fs::path large = fs::path(pattern) / "large";
    fs::create_directories(empty);
    fs::create_directories(large);
    WriteCatalogue(empty / "satellite.txt", 0);
    constexpr int kEntries = 1'000'000;
    WriteCatalogue(large / "satellite.txt", kEntries);
    const double fileMib = static_cast<double>(fs::file_size(large / "satellite.txt")) / 1048576.0;

    const long baseKib = PeakKib(empty);
    const long largeKib = PeakKib(large);
    fs::remove_all(pattern);
    if (baseKib < 0 || largeKib < 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    const double baseMib = static_cast<double>(baseKib) / 1024.0;
    const double largeMib = static_cast<double>(largeKib) / 1024.0;
    std::printf("Peak memory, start-up and close (peak RSS):\n");
    std::printf("  empty catalogue (Qt start-up):  %8.1f MiB\n", baseMib);
    std::printf("  %d entries, %.1f MiB file: %8.1f MiB (%.1f MiB above Qt, %.2f x the file)\n",
                kEntries, fileMib, largeMib, largeMib - baseMib, (largeMib - baseMib) / fileMib);
    return 0;
}
