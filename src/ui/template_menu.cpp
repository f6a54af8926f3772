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

void PrintLayoutTemplate(const LayoutModel& layout, const TemplateSiteFields& fields,
                         std::optional<double> centralAzimuthDeg, Printer* printer,
                         Notifier* notifier, QWidget* parent) {
    const QString site = FieldNumber(fields.latitude) + QLatin1Char(' ') + fields.northSouth +
                         QLatin1Char(' ') + FieldNumber(fields.longitude) + QLatin1Char(' ') +
                         fields.eastWest;
    const std::optional<TemplateInput> input =
        TemplateFromLayout(layout, site.toStdString(), NumericValue(fields.focal.toStdString()),
                           centralAzimuthDeg.value_or(180.0));
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
