#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/main_window.h"
#include "ui/notifier.h"

namespace palquin::testing {

/// Records every message instead of showing it; an optional hook runs "while the box is open".
class RecordingNotifier : public Notifier {
  public:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
    };
    void Show(const QString& text, const QString& title, MessageIcon icon) override;

    std::vector<Message> messages;
    std::function<void(const Message&)> onShow;
};

/// A main window running against its own temporary folder.
class WindowFixture {
  public:
    /// Writes satellite.txt with these bytes first; without them there is no file. Links of the
    /// links window go to opener (none: they open nothing), pages to printer (none: they fail).
    explicit WindowFixture(const std::optional<std::string>& fileBytes = std::nullopt,
                           LinkOpener* opener = nullptr, Printer* printer = nullptr);

    frmMain& Window() { return *window_; }
    RecordingNotifier& Notifier() { return notifier_; }
    std::string FolderPath() const { return dir_.path().toStdString(); }
    std::string FileBytes() const;
    void WriteFile(const std::string& bytes) const;
    /// Closes the window (which saves) and destroys it.
    void Close();
    /// Starts the window (again) on the current folder.
    void Open();

  private:
    QTemporaryDir dir_;
    RecordingNotifier notifier_;
    LinkOpener* opener_;
    Printer* printer_;
    std::unique_ptr<frmMain> window_;
};

/// The sample catalogue of the recalculation tests, site 55.75 N 37.6 E, focal 600.
std::string SampleFile(const std::vector<std::string>& entries);

/// Chooses row of the selector as the user does from its list.
void Choose(frmMain& window, int slot, int row);

}  // namespace palquin::testing
