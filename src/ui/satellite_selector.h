// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

namespace palquin {

/// A satellite selector whose open list is as wide as its longest entry (at most the screen's
/// width), while the closed selector keeps the size the layout gave it.
class SatelliteSelector : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;

    void showPopup() override;

    /// The width the open list takes for the current items on the current screen, pixels.
    int PopupWidth() const;
};

}  // namespace palquin
