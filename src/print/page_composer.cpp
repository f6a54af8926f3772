// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/page_composer.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace palquin {

QRectF FitToArea(const QSizeF& sourceSize, const QRectF& area) {
    if (sourceSize.width() <= 0.0 || sourceSize.height() <= 0.0 || area.isEmpty()) {
        return QRectF(area.topLeft(), QSizeF(0.0, 0.0));
    }
    const double scale =
        std::min(area.width() / sourceSize.width(), area.height() / sourceSize.height());
    const QSizeF size = sourceSize * scale;
    return QRectF(area.left() + (area.width() - size.width()) / 2.0, area.top(), size.width(),
                  size.height());
}

void ComposeWidgetPage(QPainter& painter, QWidget& widget, const QRectF& area) {
    const QRectF target = FitToArea(QSizeF(widget.size()), area);
    if (target.isEmpty()) {
        return;
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / widget.width(), target.height() / widget.height());
    painter.setClipRect(QRect(QPoint(0, 0), widget.size()));
    widget.render(&painter, QPoint(), QRegion(),
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.restore();
}

}  // namespace palquin
