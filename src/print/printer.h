// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace palquin {

struct TemplateInput;

/// How a print ended. reason says what went wrong in the user's words; it goes on the line under
/// the program's own failure message.
struct PrintResult {
    bool ok = false;
    QString reason;
};

/// The windows print through this. Production prints to the system's default printer; tests
/// record the calls, so that no test needs a printer or waits on a print dialog.
class Printer {
  public:
    virtual ~Printer() = default;
    /// Asked before the print dialog, which questions the print system many times over: whether
    /// the print system answers at all. Never waits more than a few seconds.
    virtual PrintResult CheckBeforeDialog() { return {true, QString()}; }
    /// The standard print dialog: the user picks where the next page goes (another printer, a
    /// PDF file). Returns false when the user cancelled.
    virtual bool ChooseDestination(QWidget* parent) = 0;
    /// Prints one page showing the widget's whole area as it stands now, to the destination
    /// chosen just before or else to the default printer, and returns once the job is with the
    /// print system. A page is delivered whole or not at all.
    virtual PrintResult PrintWidget(QWidget& widget, const QString& jobTitle) = 0;
    /// Prints the 1:1 mounting template, unscaled, on as many pages as it takes, to the
    /// destination chosen just before or else to the default printer. All pages or none.
    virtual PrintResult PrintTemplatePages(const TemplateInput& input, const QString& jobTitle) = 0;
};

}  // namespace palquin
