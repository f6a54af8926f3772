// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Recording stand-ins for the windows' seams to the desktop: message boxes, printers and the
// link opener. Nothing here waits on a real box, dialog, printer or browser.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "print/printer.h"
#include "ui/link_opener.h"
#include "ui/notifier.h"

namespace palquin::testing_support {

/// Records every message instead of showing it; onShow runs "while the box is open".
class RecordingNotifier : public Notifier {
  public:
    struct Message {
        QString text, title;
        MessageIcon icon;
        QString detail = {};  ///< the line under the text
    };
    void Show(const QString& text, const QString& title, MessageIcon icon) override {
        ShowDetailed(text, QString(), title, icon);
    }
    void ShowDetailed(const QString& text, const QString& detail, const QString& title,
                      MessageIcon icon) override {
        messages.push_back({text, title, icon, detail});
        if (onShow) {
            onShow(messages.back());
        }
    }
    /// "text|title" of every message shown, in order.
    QStringList Shown() const {
        QStringList shown;
        for (const Message& message : messages) {
            shown << message.text + QLatin1Char('|') + message.title;
        }
        return shown;
    }
    std::vector<Message> messages;
    std::function<void(const Message&)> onShow;
};

/// Records the objectNames of the widgets printed instead of printing them; the print dialog
/// is always cancelled, and a print fails when fail is set.
struct RecordingPrinter : Printer {
    bool ChooseDestination(QWidget* /*parent*/) override { return false; }
    PrintResult PrintWidget(QWidget& widget, const QString& /*jobTitle*/) override {
        printed.push_back(widget.objectName());
        return {!fail, {}};
    }
    PrintResult PrintTemplatePages(const TemplateInput&, const QString&) override { return {}; }
    bool fail = false;
    QStringList printed;
};

/// Records the links handed over instead of opening them.
struct RecordingOpener : LinkOpener {
    void Open(const QString& text) override { opened.append(text); }
    QStringList opened;
};

}  // namespace palquin::testing_support
