// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up baseline: an empty Qt window of the main window's size, with a one-menu bar and a
// fixed client of 757 x 602 pixels, started the same way as the program.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Dorvik - empty"));
    window.menuBar()->addMenu(QStringLiteral("Файл"));
    auto* client = new QWidget;
    client->setFixedSize(757, 602);
    window.setCentralWidget(client);
    window.show();
    return QApplication::exec();
}
