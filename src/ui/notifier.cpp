// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notifier.h"

#include <QMessageBox>
#include <memory>

namespace palquin {

QMessageBox* BuildMessageBox(const QString& text, const QString& title, MessageIcon icon,
                             QWidget* parent, const QString& detail) {
    auto* box = new QMessageBox(
        icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon, title,
        QString(), QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setInformativeText(detail);
    return box;
}

void MessageBoxNotifier::Show(const QString& text, const QString& title, MessageIcon icon) {
    const std::unique_ptr<QMessageBox> box(BuildMessageBox(text, title, icon, parent_));
    box->exec();
}

void MessageBoxNotifier::ShowDetailed(const QString& text, const QString& detail,
                                      const QString& title, MessageIcon icon) {
    const std::unique_ptr<QMessageBox> box(BuildMessageBox(text, title, icon, parent_, detail));
    box->exec();
}

}  // namespace palquin
