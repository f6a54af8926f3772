// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <cstdint>

class QLabel;

namespace palquin {

/// The about ticker at the bottom of the main window: every 4 s the next about line, then one
/// empty tick, then again from the first line (a 44 s cycle).
class AboutTicker : public QObject {
    Q_OBJECT
  public:
    static constexpr int kIntervalMs = 4000;

    /// Fills the lines, starts at the first and starts the timer; label shows them.
    AboutTicker(QLabel* label, QObject* parent);

    /// One tick: show the current line (empty past the last line), then advance, wrapping after 10.
    void Tick();

    std::int16_t Index() const { return li_; }
    const QStringList& Lines() const { return lines_; }
    QTimer& Timer() { return timer_; }

    static QStringList AboutLines();

  private:
    QLabel* label_;
    QStringList lines_;
    std::int16_t li_ = 0;
    QTimer timer_;
};

}  // namespace palquin
