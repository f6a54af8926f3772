#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Palquin"));
    palquin::frmMain window;
    window.show();
    return QApplication::exec();
}
