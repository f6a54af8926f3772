// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/template_menu.h"

#include <QWidget>

#include "core/numeric_value.h"
#include "diagram/layout_model.h"
#include "print/printer.h"
#include "print/template_input.h"
#include "ui/notifier.h"
#include "ui/print_failure.h"

namespace palquin {
namespace {

// The number a field stands for, written the shortest way ("55.75", "37.6").
QString FieldNumber(const QString& text) {
    return QString::number(NumericValue(text.toStdString()), 'g', 15);
}

}  // namespace

QString SiteHeaderText(const QString& latitude, const std::string& northSouth,
                       const QString& longitude, const std::string& eastWest) {
    return FieldNumber(latitude) + QLatin1Char(' ') + QString::fromStdString(northSouth) +
           QLatin1Char(' ') + FieldNumber(longitude) + QLatin1Char(' ') +
           QString::fromStdString(eastWest);
}

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
