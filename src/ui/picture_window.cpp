// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picture_window.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <chrono>
#include <cmath>

#include "diagram/compass.h"
#include "diagram/compass_view.h"
#include "diagram/twips.h"
#include "layout/aim_texts.h"
#include "print/printer.h"
#include "text/local_noon.h"
#include "ui/notifier.h"
#include "ui/print_failure.h"

namespace palquin {

namespace {

// The caption's box, twips.
constexpr double kCaptionLeftTw = 2040.0;
constexpr double kCaptionTopTw = 120.0;
constexpr double kCaptionWidthTw = 2565.0;
constexpr double kCaptionHeightTw = 1755.0;
// Left and right of the aiming lines' strip, and below it.
constexpr double kStripMarginTw = 120.0;

}  // namespace

QString TimeZoneTip(const QTimeZone& zone, const QDateTime& at) {
    const int offsetMin = zone.offsetFromUtc(at) / 60;
    const int magnitude = offsetMin < 0 ? -offsetMin : offsetMin;
    QString name = QString::fromUtf8(zone.id());
    if (name.isEmpty()) {
        name = zone.abbreviation(at);
    }
    return QStringLiteral("Часовой пояс: %1 (UTC%2%3:%4)")
        .arg(name, offsetMin < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
        .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

PictureDialog::PictureDialog(std::optional<double> centralAzimuthDeg,
                             const QString& centralEntryText, Printer* printer, Notifier* notifier,
                             QWidget* parent, const PictureAimSetup& aim)
    : QDialog(parent), printer_(printer), notifier_(notifier) {
    setObjectName(QStringLiteral("frmpicture"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(TwToPx(kWidthTw), TwToPx(kHeightTw));
    // Black behind the compass and the caption, so the yellow and green lines stand out.
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    compass = new CompassView(PictureCompassLayout(), this);
    compass->setObjectName(QStringLiteral("compass"));
    compass->setAccessibleName(QStringLiteral("Компас"));
    compass->move(0, 0);

    captionLabel = new QLabel(this);
    captionLabel->setObjectName(QStringLiteral("Label5"));
    captionLabel->setAccessibleName(QStringLiteral("Азимут центрального спутника"));
    captionLabel->setTextFormat(Qt::PlainText);  // a selector text is never markup
    captionLabel->setWordWrap(true);
    captionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    captionLabel->setStyleSheet(QStringLiteral("color: rgb(255,255,0); background: transparent;"));
    captionLabel->setAttribute(Qt::WA_TransparentForMouseEvents);  // its click closes the window
    PlaceTw(captionLabel, kCaptionLeftTw, kCaptionTopTw, kCaptionWidthTw, kCaptionHeightTw);

    // The aiming lines have a strip of their own below the compass and the caption, as wide as
    // the window and in the caption's colours; the window grows by it when they are shown, so
    // the printout of the window has them too.
    aimLabel = new QLabel(this);
    aimLabel->setObjectName(QStringLiteral("lblAim"));
    aimLabel->setAccessibleName(QStringLiteral("Наведение по компасу и солнцу"));
    aimLabel->setTextFormat(Qt::PlainText);
    aimLabel->setWordWrap(true);
    aimLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    aimLabel->setStyleSheet(QStringLiteral("color: rgb(255,255,0); background: transparent;"));
    aimLabel->setAttribute(Qt::WA_TransparentForMouseEvents);  // a click closes the window
    QFont aimFont = aimLabel->font();
    aimFont.setFamily(captionLabel->font().family());
    aimLabel->setFont(aimFont);
    aimLabel->hide();

    printButton = new QPushButton(this);
    printButton->setObjectName(QStringLiteral("Prt"));
    printButton->setAccessibleName(QStringLiteral("Печать"));
    printButton->setAutoDefault(false);  // Enter must not print
    PlaceTw(printButton, 1800, 0, 200, 200);
    printButton->raise();  // above the compass, which would pass its clicks on to the window
    connect(printButton, &QPushButton::clicked, this, &PictureDialog::Print);

    // No central result: the empty compass.
    if (centralAzimuthDeg && *centralAzimuthDeg != 0.0) {
        captionLabel->setText(QString::fromStdString(
            AzimuthCaption(*centralAzimuthDeg, centralEntryText.toStdString())));
        compass->PointNeedle(*centralAzimuthDeg);
        ShowAim(*centralAzimuthDeg, aim);
    }
}

void PictureDialog::ShowAim(double trueAzimuthDeg, const PictureAimSetup& aim) {
    // The latitude field takes up to 180: a place off the globe gets no lines.
    if (!aim.site || !std::isfinite(aim.site->latitudeDeg) ||
        std::abs(aim.site->latitudeDeg) > 90.0 || !std::isfinite(aim.site->longitudeDeg) ||
        std::abs(aim.site->longitudeDeg) > 360.0) {
        return;
    }
    const QDateTime now = aim.now ? aim.now() : QDateTime::currentDateTimeUtc();
    if (!now.isValid()) {
        return;
    }
    const QTimeZone zone = aim.zone.isValid() ? aim.zone : QTimeZone::utc();
    // The zone's offset at noon of the local day, however early the window is opened.
    const QDate today = now.toTimeZone(zone).date();
    const QDateTime noon = LocalNoon(today, zone);
    const std::chrono::sys_seconds utc{std::chrono::seconds{now.toSecsSinceEpoch()}};
    const std::chrono::minutes offset = UtcOffsetAtNoon(today, zone);
    const PictureAimTexts texts = MakePictureAimTexts(*aim.site, trueAzimuthDeg, utc, offset);
    aimLabel->setText(QString::fromStdString(texts.magnetic) + QLatin1Char('\n') +
                      QString::fromStdString(texts.sun));
    aimLabel->setToolTip(TimeZoneTip(zone, noon));

    // As tall as the two lines need when wrapped to the strip's width, with a margin below.
    const int leftPx = TwToPx(kStripMarginTw);
    const int widthPx = TwToPx(kWidthTw - 2 * kStripMarginTw);
    const int topPx = TwToPx(kHeightTw);
    const int heightPx = aimLabel->heightForWidth(widthPx);
    aimLabel->setGeometry(leftPx, topPx, widthPx, heightPx);
    setFixedSize(TwToPx(kWidthTw), topPx + heightPx + TwToPx(kStripMarginTw));
    aimLabel->show();
}

void PictureDialog::Print() {
    const PrintResult printed =
        printer_ != nullptr ? printer_->PrintWidget(*this, windowTitle()) : PrintResult{};
    if (!printed.ok) {
        ShowPrintFailure(notifier_, printed.reason);
    }
}

void PictureDialog::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void PictureDialog::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        close();
    }
}

}  // namespace palquin
