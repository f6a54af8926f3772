// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/links_window.h"

#include <QLabel>
#include <QMouseEvent>

#include "diagram/twips.h"
#include "ui/link_opener.h"

namespace palquin {

namespace {

const QColor kLinkColour(0, 0, 255);
const QColor kHoverColour(255, 255, 0);

// Link labels: left, width and height, and the three tops, twips.
constexpr double kLinkLeftTw = 120;
constexpr double kLinkWidthTw = 5775;
constexpr double kLinkHeightTw = 255;
constexpr double kLinkTopsTw[LinksDialog::kLinks] = {240, 600, 960};

// A label shows a few hundred characters at most; laying out a link of megabytes would freeze
// the window, so it shows the start of the text only. A click still opens the whole text.
constexpr qsizetype kShownCharacters = 1000;

QString Shown(const QString& text) {
    return text.size() <= kShownCharacters ? text : text.left(kShownCharacters);
}

void SetColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

LinksDialog::LinksDialog(int slot, const QStringList& links, LinkOpener* opener, QWidget* parent)
    : QDialog(parent), opener_(opener), slot_(slot) {
    setObjectName(QStringLiteral("http"));
    setWindowTitle(QStringLiteral("Ссылки"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::black);
    setPalette(background);
    setFixedSize(TwToPx(kClientWidthTw), TwToPx(kClientHeightTw));

    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setUnderline(true);

    for (int k = 0; k < kLinks; ++k) {
        const size_t at = static_cast<size_t>(k);
        texts_[at] = k < links.size() ? links[k] : QString();
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(k));
        label->setAccessibleName(QStringLiteral("Ссылка %1").arg(k + 1));
        label->setTextFormat(Qt::PlainText);  // a link such as "<b>x" is shown as it stands
        label->setText(Shown(texts_[at]));
        label->setFont(font);
        label->setCursor(Qt::PointingHandCursor);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        SetColour(label, kLinkColour);
        PlaceTw(label, kLinkLeftTw, kLinkTopsTw[k], kLinkWidthTw, kLinkHeightTw);
        linkLabels[at] = label;
    }
}

bool LinksDialog::eventFilter(QObject* watched, QEvent* event) {
    for (int k = 0; k < kLinks; ++k) {
        QLabel* label = linkLabels[static_cast<size_t>(k)];
        if (watched != label) {
            continue;
        }
        if (event->type() == QEvent::MouseMove) {
            Highlight(k);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            // A click is a press and a release of the left button on the same label.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                label->rect().contains(mouse->position().toPoint()) && opener_ != nullptr &&
                !texts_[static_cast<size_t>(k)].isEmpty()) {
                opener_->Open(texts_[static_cast<size_t>(k)]);
            }
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void LinksDialog::Highlight(int hovered) {
    // Nothing watches the background: the last label touched stays yellow.
    for (int k = 0; k < kLinks; ++k) {
        SetColour(linkLabels[static_cast<size_t>(k)], k == hovered ? kHoverColour : kLinkColour);
    }
}

}  // namespace palquin
