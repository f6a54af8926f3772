// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPrintDialog>
#include <optional>
#include <utility>

#include "print/print_job.h"
#include "print/printer.h"

namespace palquin {

/// Where "Print to File" of the print dialog suggests the PDF: palquin.pdf in the user's
/// documents folder, or in the home folder when there is none.
QString SuggestedPdfPath();
/// The printer the print dialog starts from: the default printer chosen, the suggested PDF path
/// ready for a file.
void PrepareDialogPrinter(QPrinter& printer);

/// The standard print dialog, except that a "Print to File" name that is there but is no regular
/// file (a FIFO, a device, a folder, a link that leads nowhere) is never opened by the dialog:
/// Qt's own check opens it for appending, which hangs on a FIFO, and asks to overwrite a device.
/// Such a name is accepted as it is and left to the file layer, which refuses it.
class FileSafePrintDialog : public QPrintDialog {
  public:
    FileSafePrintDialog(QPrinter* printer, QWidget* parent);
    /// The file name taken without Qt's check; empty when Qt's own check ran.
    QString UncheckedFile() const { return uncheckedFile_; }

  private:
    void CheckFields();  ///< the dialog's OK
    QString uncheckedFile_;
};

/// The production printer: each page goes to the system's default printer, or once to the
/// destination picked in the print dialog. A fixed destination (a PDF file, say) replaces the
/// default printer for every page.
class SystemPrinter : public Printer {
  public:
    SystemPrinter() = default;
    explicit SystemPrinter(PrintDestination fixed) : fixed_(std::move(fixed)) {}

    /// Asks the print system with a short timeout, away from the window's thread.
    PrintResult CheckBeforeDialog() override;
    bool ChooseDestination(QWidget* parent) override;
    PrintResult PrintWidget(QWidget& widget, const QString& jobTitle) override;
    PrintResult PrintTemplatePages(const TemplateInput& input, const QString& jobTitle) override;

  private:
    PrintDestination fixed_;
    std::optional<PrintDestination> chosen_;  ///< for the next page only
};

}  // namespace palquin
