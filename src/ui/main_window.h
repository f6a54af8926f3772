#pragma once

#include <QMainWindow>

namespace palquin {

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};

}  // namespace palquin
