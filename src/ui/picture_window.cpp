#include "ui/picture_window.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "diagram/compass.h"
#include "diagram/compass_view.h"
#include "diagram/twips.h"
#include "print/printer.h"
#include "ui/notifier.h"
#include "ui/print_failure.h"

namespace palquin {

frmpicture::frmpicture(std::optional<double> centralAzimuthDeg, const QString& centralEntryText,
                       Printer* printer, Notifier* notifier, QWidget* parent)
    : QDialog(parent), printer_(printer), notifier_(notifier) {
    setObjectName(QStringLiteral("frmpicture"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(TwToPx(kWidthTw), TwToPx(kHeightTw));
    // The window-frame colour of the classic scheme.
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    compass = new CompassView(PictureCompassLayout(), this);
    compass->setObjectName(QStringLiteral("compass"));
    compass->move(0, 0);

    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setTextFormat(Qt::PlainText);  // a selector text is never markup
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label5->setStyleSheet(QStringLiteral("color: rgb(255,255,0); background: transparent;"));
    Label5->setAttribute(Qt::WA_TransparentForMouseEvents);  // its click closes the window
    PlaceTw(Label5, 2040, 120, 2565, 1755);

    Prt = new QPushButton(this);
    Prt->setObjectName(QStringLiteral("Prt"));
    Prt->setAccessibleName(QStringLiteral("Печать"));
    Prt->setAutoDefault(false);  // Enter must not print
    PlaceTw(Prt, 1800, 0, 200, 200);
    Prt->raise();  // above the compass, which would pass its clicks on to the window
    connect(Prt, &QPushButton::clicked, this, &frmpicture::Print);

    // No central result: the empty compass.
    if (centralAzimuthDeg && *centralAzimuthDeg != 0.0) {
        Label5->setText(QString::fromStdString(
            AzimuthCaption(*centralAzimuthDeg, centralEntryText.toStdString())));
        compass->PointNeedle(*centralAzimuthDeg);
    }
}

void frmpicture::Print() {
    if (printer_ == nullptr || !printer_->PrintWidget(*this, windowTitle()).ok) {
        ShowPrintFailure(notifier_);
    }
}

void frmpicture::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void frmpicture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        close();
    }
}

}  // namespace palquin
