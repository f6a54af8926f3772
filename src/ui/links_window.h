// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>

class QLabel;

namespace palquin {

class LinkOpener;

/// The links window: the three links of one slot as clickable lines on black. Created on
/// opening, filled from the slot's link list, deleted on closing.
class LinksDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kLinks = 3;
    /// Client area, twips.
    static constexpr double kClientWidthTw = 6060.0;
    static constexpr double kClientHeightTw = 1425.0;

    /// slot: the slot (0 to 9) whose links these are; links: its link list, items past its end
    /// give empty lines. opener may be null: a click then opens nothing.
    LinksDialog(int slot, const QStringList& links, LinkOpener* opener, QWidget* parent = nullptr);

    /// The slot whose links the window shows.
    int Slot() const { return slot_; }

    /// The whole text of link k, as handed to the opener (the label may show it shortened).
    const QString& LinkText(int k) const { return texts_[static_cast<size_t>(k)]; }

    std::array<QLabel*, kLinks> linkLabels{};

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Highlight(int hovered);

    std::array<QString, kLinks> texts_;
    LinkOpener* opener_;
    int slot_;
};

}  // namespace palquin
