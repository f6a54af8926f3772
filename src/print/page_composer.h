// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QSizeF>

class QPainter;
class QWidget;

namespace palquin {

/// Where a source of sourceSize lands inside area when scaled to fit, aspect kept: as large as the
/// area allows, centred across, at the top. An empty source gives an empty rectangle at the
/// area's top left.
QRectF FitToArea(const QSizeF& sourceSize, const QRectF& area);

/// Draws the widget's whole area, as it stands, into area of the painter's device (device
/// pixels), scaled to fit with FitToArea. The widget paints itself onto the painter, so text and
/// lines come out at the device's resolution rather than as an enlarged screen image. (Onto a
/// QPrinter Qt still goes through a pixmap at the printer's resolution; a PDF writer or an
/// image gets the drawing itself.)
void ComposeWidgetPage(QPainter& painter, QWidget& widget, const QRectF& area);

}  // namespace palquin
