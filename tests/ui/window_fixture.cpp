#include "window_fixture.h"

#include <QComboBox>
#include <QFile>

namespace palquin::testing {

void RecordingNotifier::Show(const QString& text, const QString& title, MessageIcon icon) {
    messages.push_back({text, title, icon});
    if (onShow) {
        onShow(messages.back());
    }
}

WindowFixture::WindowFixture(const std::optional<std::string>& fileBytes, LinkOpener* opener,
                             Printer* printer)
    : opener_(opener), printer_(printer) {
    if (fileBytes) {
        WriteFile(*fileBytes);
    }
    Open();
}

std::string WindowFixture::FileBytes() const {
    QFile file(dir_.filePath(QStringLiteral("satellite.txt")));
    if (!file.open(QIODevice::ReadOnly)) {
        return "<missing>";
    }
    return file.readAll().toStdString();
}

void WindowFixture::WriteFile(const std::string& bytes) const {
    QFile file(dir_.filePath(QStringLiteral("satellite.txt")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
}

void WindowFixture::Close() {
    if (window_) {
        window_->close();
        window_.reset();
    }
}

void WindowFixture::Open() {
    Close();
    MainWindowSetup setup;
    setup.folder = dir_.path().toStdString();
    setup.notifier = &notifier_;
    setup.reportPath = dir_.filePath(QStringLiteral("printOut.txt")).toStdString();
    setup.linkOpener = opener_;
    setup.printer = printer_;
    window_ = std::make_unique<frmMain>(setup);
}

std::string SampleFile(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const std::string& entry : entries) {
        bytes += entry + "\r\n";
    }
    return bytes + "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
}

void Choose(frmMain& window, int slot, int row) {
    QComboBox* selector = window.Combo1[static_cast<size_t>(slot)];
    selector->setCurrentIndex(row);
    emit selector->activated(row);
}

}  // namespace palquin::testing
