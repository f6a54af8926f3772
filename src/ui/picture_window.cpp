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

frmpicture::frmpicture(std::optional<double> centralAzimuthDeg, const QString& centralEntryText,
                       Printer* printer, Notifier* notifier, QWidget* parent,
                       const PictureAimSetup& aim)
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
    PlaceTw(Label5, kCaptionLeftTw, kCaptionTopTw, kCaptionWidthTw, kCaptionHeightTw);

    // The aiming lines have a strip of their own below the compass and the caption, as wide as
    // the window and in the caption's colours; the window grows by it when they are shown, so
    // the printout of the window has them too.
    lblAim = new QLabel(this);
    lblAim->setObjectName(QStringLiteral("lblAim"));
    lblAim->setTextFormat(Qt::PlainText);
    lblAim->setWordWrap(true);
    lblAim->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAim->setStyleSheet(QStringLiteral("color: rgb(255,255,0); background: transparent;"));
    lblAim->setAttribute(Qt::WA_TransparentForMouseEvents);  // a click closes the window
    QFont aimFont = lblAim->font();
    aimFont.setFamily(Label5->font().family());
    lblAim->setFont(aimFont);
    lblAim->hide();

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
        ShowAim(*centralAzimuthDeg, aim);
    }
}

void frmpicture::ShowAim(double trueAzimuthDeg, const PictureAimSetup& aim) {
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
    // The zone's offset at noon of the local day: on a day the clocks change it is the one the
    // sun's time falls in, however early the window is opened.
    const QDateTime noon(now.toTimeZone(zone).date(), QTime(12, 0), zone);
    const std::chrono::sys_seconds utc{std::chrono::seconds{now.toSecsSinceEpoch()}};
    const std::chrono::minutes offset{zone.offsetFromUtc(noon) / 60};
    const PictureAimTexts texts = MakePictureAimTexts(*aim.site, trueAzimuthDeg, utc, offset);
    lblAim->setText(QString::fromStdString(texts.magnetic) + QLatin1Char('\n') +
                    QString::fromStdString(texts.sun));
    lblAim->setToolTip(TimeZoneTip(zone, noon));

    // As tall as the two lines need when wrapped to the strip's width, with a margin below.
    const int leftPx = TwToPx(kStripMarginTw);
    const int widthPx = TwToPx(kWidthTw - 2 * kStripMarginTw);
    const int topPx = TwToPx(kHeightTw);
    const int heightPx = lblAim->heightForWidth(widthPx);
    lblAim->setGeometry(leftPx, topPx, widthPx, heightPx);
    setFixedSize(TwToPx(kWidthTw), topPx + heightPx + TwToPx(kStripMarginTw));
    lblAim->show();
}

void frmpicture::Print() {
    const PrintResult printed =
        printer_ != nullptr ? printer_->PrintWidget(*this, windowTitle()) : PrintResult{};
    if (!printed.ok) {
        ShowPrintFailure(notifier_, printed.reason);
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
