#include "ui/notifier.h"

#include <QMessageBox>

namespace palquin {

void MessageBoxNotifier::Show(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(
        icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon, title,
        text, QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace palquin
