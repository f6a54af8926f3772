// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

#include "diagram/layout_model.h"

namespace palquin {

/// The compass drawing, in twips of the widget it is painted on: circle, cross lines, needle and
/// the four letters. The picture window and the main window's lower panel use it with their own
/// layouts.
struct CompassLayout {
    RectTw circle;  ///< circle inscribed in this box
    QColor circleColor;
    LineTw vertical;  ///< the cross
    LineTw horizontal;
    LineTw needle;  ///< visible only once there is a central azimuth
    QColor needleColor;
    RectTw letterN, letterS, letterW, letterE;  ///< 255 x 255 boxes
};

/// Lower panel (Frame6) layout of the main window.
CompassLayout PanelCompassLayout();
/// Picture window layout.
CompassLayout PictureCompassLayout();

/// Paints a CompassLayout. Transparent for mouse clicks on the drawing itself: they go on to the
/// parent window. The four letters take clicks and do nothing. Widgets that must stay clickable
/// where the view overlaps them (a print button) have to be stacked above it.
class CompassView : public QWidget {
    Q_OBJECT
  public:
    explicit CompassView(CompassLayout layout, QWidget* parent = nullptr);

    const CompassLayout& Layout() const { return layout_; }
    /// Shows the needle towards azimuthDeg (north up, east left).
    void PointNeedle(double azimuthDeg);
    void HideNeedle();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool OnLetter(const QPointF& pixel) const;

    CompassLayout layout_;
};

}  // namespace palquin
