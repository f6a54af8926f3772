// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <filesystem>

#include "calc/dish.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace palquin {

/// The user's dish, kept in the user's settings (never in satellite.txt). The focal length stays
/// the window's field; here it is read as the distance from the converter's focus to the
/// reflector's centre.
struct DishSettings {
    DishType type = DishGeometry{}.type;
    double widthMm = DishGeometry{}.widthMm;
    double offsetAngleDeg = DishGeometry{}.offsetAngleDeg;
    /// «Точная геометрия»: places, depth and loss from the dish's own geometry. Off: every
    /// figure, label and drawing as the window always had them.
    bool precise = false;

    DishGeometry Geometry(double focusToCentreMm) const {
        return {type, focusToCentreMm, widthMm, offsetAngleDeg};
    }
};

/// Reads the dish from the settings file (empty: the user's own, ~/.config/palquin/palquin.ini);
/// a missing or unreadable value keeps its default.
DishSettings LoadDishSettings(const std::filesystem::path& file = {});
/// Writes it there; false when the settings could not be written.
bool SaveDishSettings(const DishSettings& settings, const std::filesystem::path& file = {});

/// "Параметры зеркала": the dish type, the reflector's width, an offset dish's offset angle and
/// the switch «Точная геометрия». Accepts only values the model takes.
class DishDialog : public QDialog {
    Q_OBJECT
  public:
    explicit DishDialog(const DishSettings& settings, QWidget* parent = nullptr);

    /// What the fields say now; empty while a field holds no usable value.
    std::optional<DishSettings> Settings() const;

    void accept() override;

  private:
    void UpdateEnabled();

    QComboBox* type_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* angle_ = nullptr;
    QCheckBox* precise_ = nullptr;
};

}  // namespace palquin
