// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/template_menu.h"

#include <QWidget>

#include "diagram/layout_model.h"
#include "print/printer.h"
#include "print/template_input.h"
#include "ui/notifier.h"
#include "ui/print_failure.h"

namespace palquin {

void PrintLayoutTemplate(const LayoutModel& layout, std::optional<double> centralAzimuthDeg,
                         Printer* printer, Notifier* notifier, QWidget* parent) {
    const std::optional<LayoutModel::Source> source = layout.ComputedFrom();
    const std::optional<TemplateInput> input =
        source ? TemplateFromLayout(layout, source->siteText, source->focalMm,
                                    centralAzimuthDeg.value_or(180.0))
               : std::nullopt;
    if (!input || !centralAzimuthDeg) {
        if (notifier != nullptr) {
            notifier->Show(kNothingToPrintMessage, kAppTitle, MessageIcon::None);
        }
        return;
    }
    if (printer == nullptr) {
        ShowPrintFailure(notifier);
        return;
    }
    // The dialog would hang on a print server that never answers.
    if (const PrintResult ready = printer->CheckBeforeDialog(); !ready.ok) {
        ShowPrintFailure(notifier, ready.reason);
        return;
    }
    if (!printer->ChooseDestination(parent)) {
        return;  // cancelled: nothing printed, nothing said
    }
    if (const PrintResult printed =
            printer->PrintTemplatePages(*input, QStringLiteral("Шаблон 1:1"));
        !printed.ok) {
        ShowPrintFailure(notifier, printed.reason);
    }
}

}  // namespace palquin
