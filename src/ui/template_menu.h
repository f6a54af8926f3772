// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace palquin {

class LayoutModel;
class Notifier;
class Printer;

inline const QString kNothingToPrintMessage =
    QStringLiteral("Печатать пока нечего: сначала выберите спутник центрального конвертера.");

/// "Шаблон 1:1": the 1:1 template of the layout as the diagram shows it now, with the site and
/// focal length it was calculated from (not what the fields say since), printed after the print
/// dialog. Without a central converter the user is told that there is nothing to print and no
/// dialog opens; cancel in the dialog prints nothing; a failed print says so once.
/// centralAzimuthDeg decides which compass side lies right on paper.
void PrintLayoutTemplate(const LayoutModel& layout, std::optional<double> centralAzimuthDeg,
                         Printer* printer, Notifier* notifier, QWidget* parent);

}  // namespace palquin
