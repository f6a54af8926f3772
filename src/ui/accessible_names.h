// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace palquin {

// Russian names by which a screen reader or an accessibility test finds the controls of a slot.
// Slot 0 is the central converter's cell; the others are counted 1 to 9 as the selectors are.

inline QString SelectorAccessibleName(int slot) {
    return slot == 0 ? QStringLiteral("Спутник центрального конвертера")
                     : QStringLiteral("Спутник ячейки %1").arg(slot);
}

inline QString DiameterAccessibleName(int slot) {
    return slot == 0 ? QStringLiteral("Диаметр центрального конвертера")
                     : QStringLiteral("Диаметр конвертера ячейки %1").arg(slot);
}

inline QString ResultsAccessibleName(int slot) {
    return QStringLiteral("Результаты ячейки %1").arg(slot);
}

inline QString HeadingAccessibleName(int slot) {
    return slot == 0 ? QStringLiteral("Ссылки центрального конвертера")
                     : QStringLiteral("Ссылки ячейки %1").arg(slot);
}

}  // namespace palquin
