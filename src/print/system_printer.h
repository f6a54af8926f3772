#pragma once

#include <optional>
#include <utility>

#include "print/print_job.h"
#include "print/printer.h"

class QPrinter;

namespace palquin {

/// Where "Print to File" of the print dialog suggests the PDF: palquin.pdf in the user's
/// documents folder, or in the home folder when there is none.
QString SuggestedPdfPath();
/// The printer the print dialog starts from: the default printer chosen, the suggested PDF path
/// ready for a file.
void PrepareDialogPrinter(QPrinter& printer);

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
