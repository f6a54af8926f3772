// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/flat_widgets.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <utility>

namespace palquin {
namespace {

constexpr int kGrey = 128;
constexpr int kTitleLeft = 6;     // the gap in the border line for the title, from the left
constexpr int kTitlePadding = 2;  // blank either side of the title in that gap
constexpr int kTitleSlack = 3;    // the title's box beyond its text

// A one-pixel border round the whole widget.
void DrawBorder(QWidget* widget, const QColor& colour) {
    QPainter painter(widget);
    painter.setPen(colour);
    painter.drawRect(widget->rect().adjusted(0, 0, -1, -1));
}

}  // namespace

FlatGroupBox::FlatGroupBox(const QString& title, const QColor& background, int titleHeight,
                           QWidget* parent)
    : QGroupBox(title, parent),
      background_(background),
      titleHeight_(titleHeight),
      titleFont_(font()) {
    setFont(QApplication::font());
}

void FlatGroupBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(titleFont_);
    const QFontMetrics metrics(titleFont_);
    const QRect box = rect().adjusted(0, titleHeight_, 0, 0);
    painter.fillRect(box, background_);
    QRect titleBox;
    QRect titleText;
    if (!title().isEmpty()) {
        // The title's box, kTitleLeft from the left edge, is 3 pixels wider than the text, which
        // is centred in it.
        titleText = QRect(kTitleLeft + kTitlePadding, 0,
                          metrics.size(Qt::TextShowMnemonic, title()).width() + kTitleSlack,
                          metrics.height());
        titleBox = titleText.adjusted(-kTitlePadding, 0, kTitlePadding, 0);
        painter.save();
        painter.setClipRegion(QRegion(rect()) - titleBox);
    }
    painter.setPen(QColor(kGrey, kGrey, kGrey));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (!titleBox.isNull()) {
        painter.restore();
        style()->drawItemText(&painter, titleText, Qt::AlignCenter | Qt::TextShowMnemonic,
                              palette(), isEnabled(), title(), QPalette::WindowText);
    }
}

FlatLabel::FlatLabel(const QString& text, const QColor& border, QWidget* parent)
    : QLabel(text, parent), border_(border) {
    setContentsMargins(1, 1, 1, 1);  // the text stays inside the border
}

void FlatLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    DrawBorder(this, border_);
}

FlatLineEdit::FlatLineEdit(const QString& text, const QColor& border, QWidget* parent)
    : QLineEdit(text, parent), border_(border) {
    setFrame(false);
    setTextMargins(1, 1, 1, 1);  // inside the border
}

void FlatLineEdit::paintEvent(QPaintEvent* event) {
    // The style's panel is a rounded box; the corners it leaves are filled first, and the border
    // goes over its edge.
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
    }
    QLineEdit::paintEvent(event);
    DrawBorder(this, border_);
}

StyleSheetOnShow::StyleSheetOnShow(QWidget* widget, QString styleSheet)
    : QObject(widget), widget_(widget), styleSheet_(std::move(styleSheet)) {
    widget->installEventFilter(this);
}

bool StyleSheetOnShow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && event->type() == QEvent::Show) {
        widget_->removeEventFilter(this);
        widget_->setStyleSheet(styleSheet_);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace palquin
