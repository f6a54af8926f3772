#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace palquin {

class LayoutModel;
class Notifier;
class Printer;

inline const QString kNothingToPrintMessage =
    QStringLiteral("Печатать пока нечего: сначала выберите спутник центрального конвертера.");

/// What the window's fields say about the template's header.
struct TemplateSiteFields {
    QString latitude;  ///< the texts of the fields as typed
    QString northSouth;
    QString longitude;
    QString eastWest;
    QString focal;
};

/// "Шаблон 1:1": the 1:1 template of the layout as the diagram shows it now, printed after the
/// print dialog. Without a central converter the user is told that there is nothing to print
/// and no dialog opens; cancel in the dialog prints nothing; a failed print says so once.
/// centralAzimuthDeg decides which compass side lies right on paper.
void PrintLayoutTemplate(const LayoutModel& layout, const TemplateSiteFields& fields,
                         std::optional<double> centralAzimuthDeg, Printer* printer,
                         Notifier* notifier, QWidget* parent);

}  // namespace palquin
