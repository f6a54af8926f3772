// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/diagram_view.h"

#include <QPainter>
#include <QVector>

#include "diagram/twips.h"

namespace palquin {
namespace {

const QColor kGridColor(128, 128, 255);
const QColor kAxisColor(0, 255, 0);
const QColor kMarkerFill(255, 255, 128);
const QColor kMarkerOutline(0, 0, 0);
const QColor kCaptionColor(255, 0, 0);
const QColor kRotationColor(255, 0, 255);
const QColor kCrossColor(0, 255, 0);
const QColor kCollisionColor(255, 0, 0);
const QColor kFrameBackground(192, 192, 255);
const QColor kSideWordColor(0, 0, 128);  // the scale label's
// The compass words sit just above the horizontal axis at the frame's two edges, twips.
const QRectF kSideWordsTw(150.0, LayoutModel::kHorizontalAxisTopTw - 270.0,
                          LayoutModel::kFrameWidthTw - 300.0, 255.0);
// The collision warning's line at the bottom left of the frame, twips.
const QRectF kCollisionLineTw(150.0, LayoutModel::kFrameHeightTw - 285.0, 9900.0, 255.0);

}  // namespace

DiagramView::DiagramView(const LayoutModel* model, QWidget* parent)
    : QWidget(parent), model_(model) {
    // The zoom and print buttons lie on top of the drawing; clicks belong to them or the frame.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    resize(qRound(LayoutModel::kFrameWidthTw / kTwipsPerPixel),
           qRound(LayoutModel::kFrameHeightTw / kTwipsPerPixel));
}

void DiagramView::paintEvent(QPaintEvent* /*event*/) {
    if (model_ == nullptr) {
        return;
    }
    QPainter painter(this);
    // Draw in twips so that fractional positions are kept until the device rounds them.
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    painter.setPen(Qt::NoPen);

    // Grid: up to a thousand thin rectangles at 1/16, so batch them into one call per family.
    QVector<QRectF> grid;
    grid.reserve(static_cast<qsizetype>(model_->VerticalGridLeftsTw().size() +
                                        model_->HorizontalGridTopsTw().size()));
    for (double left : model_->VerticalGridLeftsTw()) {
        grid.append(QRectF(left, LayoutModel::kVerticalLineTopTw, LayoutModel::kLineThicknessTw,
                           LayoutModel::kVerticalLineHeightTw));
    }
    for (double top : model_->HorizontalGridTopsTw()) {
        grid.append(QRectF(LayoutModel::kHorizontalLineLeftTw, top,
                           LayoutModel::kHorizontalLineWidthTw, LayoutModel::kLineThicknessTw));
    }
    painter.setBrush(kGridColor);
    painter.drawRects(grid.constData(), static_cast<int>(grid.size()));

    painter.setBrush(kAxisColor);
    painter.drawRect(QRectF(LayoutModel::kVerticalAxisLeftTw, LayoutModel::kVerticalLineTopTw,
                            LayoutModel::kLineThicknessTw, LayoutModel::kVerticalLineHeightTw));
    painter.drawRect(QRectF(LayoutModel::kHorizontalLineLeftTw, LayoutModel::kHorizontalAxisTopTw,
                            LayoutModel::kHorizontalLineWidthTw, LayoutModel::kLineThicknessTw));

    for (int i = 0; i < LayoutModel::kSlots; ++i) {
        const SlotDrawing& slot = model_->Slot(i);
        if (slot.marker.visible && slot.marker.widthTw > 0.0 && slot.marker.heightTw > 0.0) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            // One pixel on screen and as wide on paper, where a hairline would all but vanish; two
            // for a body that overlaps another.
            painter.setPen(model_->Colliding(i) ? QPen(kCollisionColor, 2 * kTwipsPerPixel)
                                                : QPen(kMarkerOutline, kTwipsPerPixel));
            painter.setBrush(kMarkerFill);
            painter.drawEllipse(ToQRect(slot.marker));
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        if (slot.caption.visible) {
            // Text is laid out in pixels: a point-sized font under the twips transform would
            // shrink to nothing.
            painter.save();
            painter.resetTransform();
            painter.setPen(kCaptionColor);
            painter.drawText(ToPixels(slot.caption), Qt::AlignCenter | Qt::TextWordWrap,
                             QString::fromStdString(slot.captionText));
            painter.restore();
        }
        if (slot.rotationLine.visible) {
            const LineTw& line = slot.rotationLine;
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(kRotationColor, kTwipsPerPixel));
            painter.drawLine(QLineF(line.x1Tw, line.y1Tw, line.x2Tw, line.y2Tw));
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(kCrossColor);
        if (slot.crossX.visible) {
            painter.drawRect(ToQRect(slot.crossX));
        }
        if (slot.crossY.visible) {
            painter.drawRect(ToQRect(slot.crossY));
        }
    }

    if (const std::optional<LayoutModel::EdgeWords> words = model_->SideWords()) {
        painter.save();
        painter.resetTransform();
        painter.setPen(kSideWordColor);
        const QRectF area(kSideWordsTw.left() / kTwipsPerPixel, kSideWordsTw.top() / kTwipsPerPixel,
                          kSideWordsTw.width() / kTwipsPerPixel,
                          kSideWordsTw.height() / kTwipsPerPixel);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(words->left));
        painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(words->right));
        painter.restore();
    }

    if (const std::string warnings = model_->WarningLine(); !warnings.empty()) {
        // One line above the collision warning's, in the same red.
        painter.save();
        painter.resetTransform();
        const QRectF area(kCollisionLineTw.left() / kTwipsPerPixel,
                          (kCollisionLineTw.top() - kCollisionLineTw.height()) / kTwipsPerPixel,
                          kCollisionLineTw.width() / kTwipsPerPixel,
                          kCollisionLineTw.height() / kTwipsPerPixel);
        const QString text = QString::fromStdString(warnings);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        painter.fillRect(painter.boundingRect(area, flags, text).adjusted(-2, 0, 2, 0),
                         kFrameBackground);
        painter.setPen(kCollisionColor);
        painter.drawText(area, flags, text);
        painter.restore();
    }

    if (!model_->CollisionLine().empty()) {
        // On the frame's own colour, so the grid lines do not cross the letters.
        painter.resetTransform();
        const QString text = QString::fromStdString(model_->CollisionLine());
        const QRectF area(
            kCollisionLineTw.left() / kTwipsPerPixel, kCollisionLineTw.top() / kTwipsPerPixel,
            kCollisionLineTw.width() / kTwipsPerPixel, kCollisionLineTw.height() / kTwipsPerPixel);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        const QRectF used = painter.boundingRect(area, flags, text).adjusted(-2, 0, 2, 0);
        painter.fillRect(used, kFrameBackground);
        painter.setPen(kCollisionColor);
        painter.drawText(area, flags, text);
    }
}

}  // namespace palquin
