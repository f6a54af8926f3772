// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace palquin {

/// The application title, shown on message boxes that give no title of their own.
inline const QString kAppTitle = QStringLiteral("Palquin");

enum class MessageIcon { None, Information };

/// Shows a modal message with a single OK button and returns when the user closed it. Tests put
/// in a recorder so that nothing waits on a real box.
class Notifier {
  public:
    virtual ~Notifier() = default;
    virtual void Show(const QString& text, const QString& title, MessageIcon icon) = 0;
    /// As Show, with a second line under the text that says more (why a print failed, say).
    virtual void ShowDetailed(const QString& text, const QString& detail, const QString& title,
                              MessageIcon icon) {
        Show(detail.isEmpty() ? text : text + QStringLiteral("\n") + detail, title, icon);
    }
};

/// The box MessageBoxNotifier shows: text as written (a catalogue entry may hold "<b>"), one OK
/// button. The caller owns it.
QMessageBox* BuildMessageBox(const QString& text, const QString& title, MessageIcon icon,
                             QWidget* parent, const QString& detail = QString());

/// The real thing: a QMessageBox over the given parent window.
class MessageBoxNotifier : public Notifier {
  public:
    explicit MessageBoxNotifier(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Show(const QString& text, const QString& title, MessageIcon icon) override;
    void ShowDetailed(const QString& text, const QString& detail, const QString& title,
                      MessageIcon icon) override;

  private:
    QWidget* parent_;
};

}  // namespace palquin
