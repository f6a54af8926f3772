#include "ui/main_window.h"

namespace palquin {

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Dorvik - Расчет мультифида v.1.1"));
}

}  // namespace palquin
