// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "common/recorders.h"
#include "common/widgets.h"
#include "ui/main_window.h"

namespace palquin::testing_support {

/// A main window running against its own temporary folder.
class WindowFixture {
  public:
    /// Writes satellite.txt with these bytes first; without them there is no file. Links of the
    /// links window go to opener (none: they open nothing), pages to printer (none: they fail).
    explicit WindowFixture(const std::optional<std::string>& fileBytes = std::nullopt,
                           LinkOpener* opener = nullptr, Printer* printer = nullptr)
        : opener_(opener), printer_(printer) {
        QFile file(dir_.filePath(QStringLiteral("satellite.txt")));
        if (fileBytes && file.open(QIODevice::WriteOnly)) {
            file.write(fileBytes->c_str(), static_cast<qint64>(fileBytes->size()));
            file.close();
        }
        Open();
    }

    MainWindow& Window() { return *window_; }
    RecordingNotifier& Notifier() { return notifier_; }
    std::string FolderPath() const { return dir_.path().toStdString(); }
    std::string DishSettingsPath() const {
        return dir_.filePath(QStringLiteral("palquin.ini")).toStdString();
    }
    std::string FileBytes() const {
        QFile file(dir_.filePath(QStringLiteral("satellite.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
    }
    /// Closes the window (which saves) and destroys it.
    void Close() {
        if (window_) {
            window_->close();
            window_.reset();
        }
    }
    /// Opens it again (after a close), adjust changing the set-up first (a clock, a seam).
    void Open(const std::function<void(MainWindowSetup&)>& adjust = {}) {
        Close();
        MainWindowSetup setup;
        setup.folder = FolderPath();
        setup.notifier = &notifier_;
        setup.reportPath = dir_.filePath(QStringLiteral("printOut.txt")).toStdString();
        setup.printer = printer_;
        setup.linkOpener = opener_;
        // Never the user's own settings: the dish's parameters live beside the catalogue.
        setup.dishSettingsFile = DishSettingsPath();
        if (adjust) {
            adjust(setup);
        }
        window_ = std::make_unique<MainWindow>(setup);
    }

  private:
    QTemporaryDir dir_;
    RecordingNotifier notifier_;
    LinkOpener* opener_;
    Printer* printer_;
    std::unique_ptr<MainWindow> window_;
};

/// The sample catalogue of the recalculation tests, site 55.75 N 37.6 E, focal 600.
inline std::string SampleFile(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const std::string& entry : entries) {
        bytes += entry + "\r\n";
    }
    return bytes + "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
}

/// Chooses row of the selector as the user does from its list.
inline void Choose(MainWindow& window, int slot, int row) {
    auto* selector = Find<QComboBox>(window, "Combo1", slot);
    selector->setCurrentIndex(row);
    emit selector->activated(row);
}

}  // namespace palquin::testing_support
