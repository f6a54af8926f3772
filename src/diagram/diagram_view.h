// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "diagram/layout_model.h"

namespace palquin {

/// Paints a LayoutModel: grid, fixed axes, markers, captions, rotation lines and crosshairs.
/// It computes nothing; call update() after the model changed. Twips become pixels at 15 twips
/// per device-independent pixel.
class DiagramView : public QWidget {
    Q_OBJECT
  public:
    explicit DiagramView(const LayoutModel* model, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const LayoutModel* model_;
};

}  // namespace palquin
