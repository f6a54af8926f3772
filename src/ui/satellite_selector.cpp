// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/satellite_selector.h"

#include <QAbstractItemView>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "ui/catalogue_model.h"

namespace palquin {

namespace {
// Candidates measured in pixels: the longest lines by byte count. A catalogue of a million
// entries is not measured whole; the widest shown text is among the longest lines.
constexpr size_t kMeasuredRows = 64;
}  // namespace

int SatelliteSelector::PopupWidth() const {
    const QAbstractItemView* list = view();
    const QFontMetrics metrics(list->font());
    int textPx = 0;
    if (const auto* catalogue = qobject_cast<const CatalogueModel*>(model())) {
        for (const size_t row : catalogue->LongestRows(kMeasuredRows)) {
            textPx =
                std::max(textPx, metrics.horizontalAdvance(
                                     catalogue->index(static_cast<int>(row)).data().toString()));
        }
    } else {
        for (int row = 0; row < count(); ++row) {
            textPx = std::max(textPx, metrics.horizontalAdvance(itemText(row)));
        }
    }
    // Item margins, the list's frame and a scroll bar that may appear.
    const int margins = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) +
                        2 * list->frameWidth() + 8;
    const int scrollPx = list->verticalScrollBar()->sizeHint().width();
    int wanted = std::max(width(), textPx + margins + scrollPx);
    if (const QScreen* shown = screen()) {
        wanted = std::min(wanted, shown->availableGeometry().width());
    }
    return std::max(wanted, width());
}

void SatelliteSelector::showPopup() {
    QComboBox::showPopup();
    // The list is placed under the selector and as wide as it; widen it, keeping it on screen.
    QWidget* popup = view()->window();
    const int wanted = PopupWidth();
    if (popup == this || popup->width() >= wanted) {
        return;
    }
    QRect placed = popup->geometry();
    placed.setWidth(wanted);
    if (const QScreen* shown = screen()) {
        const QRect room = shown->availableGeometry();
        if (placed.right() > room.right()) {
            placed.moveRight(room.right());
        }
        if (placed.left() < room.left()) {
            placed.moveLeft(room.left());
        }
    }
    popup->setGeometry(placed);
}

}  // namespace palquin
