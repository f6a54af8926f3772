// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dish_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSettings>
#include <cmath>
#include <memory>

namespace palquin {
namespace {

constexpr double kMaxOffsetAngleDeg = 80.0;
constexpr double kMaxWidthMm = 10000.0;

std::unique_ptr<QSettings> OpenSettings(const std::filesystem::path& file) {
    if (file.empty()) {
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("palquin"), QStringLiteral("palquin"));
    }
    return std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
}

bool WidthOk(double mm) {
    return std::isfinite(mm) && mm > 0.0 && mm <= kMaxWidthMm;
}

bool AngleOk(double deg) {
    return std::isfinite(deg) && deg >= 0.0 && deg < kMaxOffsetAngleDeg;
}

// Digits with one optional point, whatever the locale, as the window's other fields.
std::optional<double> FieldNumber(const QLineEdit* field) {
    bool ok = false;
    const double value = QLocale::c().toDouble(field->text().trimmed(), &ok);
    return ok ? std::optional(value) : std::nullopt;
}

QString Plain(double value) {
    return QLocale::c().toString(value, 'g', 10);
}

}  // namespace

DishSettings LoadDishSettings(const std::filesystem::path& file) {
    const std::unique_ptr<QSettings> store = OpenSettings(file);
    DishSettings settings;
    store->beginGroup(QStringLiteral("dish"));
    if (store->value(QStringLiteral("type")).toString() == QStringLiteral("prime")) {
        settings.type = DishType::PrimeFocus;
    }
    bool ok = false;
    if (const double width = store->value(QStringLiteral("widthMm")).toDouble(&ok);
        ok && WidthOk(width)) {
        settings.widthMm = width;
    }
    if (const double angle = store->value(QStringLiteral("offsetAngleDeg")).toDouble(&ok);
        ok && AngleOk(angle)) {
        settings.offsetAngleDeg = angle;
    }
    // Only what a save writes turns it on: a mistyped file leaves the window's own figures.
    const QString precise = store->value(QStringLiteral("precise")).toString();
    settings.precise = precise == QStringLiteral("true") || precise == QStringLiteral("1");
    store->endGroup();
    return settings;
}

bool SaveDishSettings(const DishSettings& settings, const std::filesystem::path& file) {
    const std::unique_ptr<QSettings> store = OpenSettings(file);
    store->beginGroup(QStringLiteral("dish"));
    store->setValue(QStringLiteral("type"), settings.type == DishType::PrimeFocus
                                                ? QStringLiteral("prime")
                                                : QStringLiteral("offset"));
    store->setValue(QStringLiteral("widthMm"), settings.widthMm);
    store->setValue(QStringLiteral("offsetAngleDeg"), settings.offsetAngleDeg);
    store->setValue(QStringLiteral("precise"), settings.precise);
    store->endGroup();
    store->sync();
    return store->status() == QSettings::NoError;
}

DishDialog::DishDialog(const DishSettings& settings, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDish"));
    setWindowTitle(QStringLiteral("Параметры зеркала"));
    auto* form = new QFormLayout(this);

    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("dishType"));
    type_->addItem(QStringLiteral("офсетная"));
    type_->addItem(QStringLiteral("прямофокусная"));
    type_->setCurrentIndex(settings.type == DishType::PrimeFocus ? 1 : 0);
    type_->setAccessibleName(QStringLiteral("Тип антенны"));
    form->addRow(QStringLiteral("Тип антенны:"), type_);

    width_ = new QLineEdit(Plain(settings.widthMm), this);
    width_->setObjectName(QStringLiteral("dishWidth"));
    width_->setAccessibleName(QStringLiteral("Ширина зеркала, мм"));
    form->addRow(QStringLiteral("Ширина зеркала, мм:"), width_);

    angle_ = new QLineEdit(Plain(settings.offsetAngleDeg), this);
    angle_->setObjectName(QStringLiteral("offsetAngle"));
    angle_->setAccessibleName(QStringLiteral("Угол офсета, градусов"));
    form->addRow(QStringLiteral("Угол офсета, °:"), angle_);

    precise_ = new QCheckBox(QStringLiteral("Точная геометрия"), this);
    precise_->setObjectName(QStringLiteral("preciseGeometry"));
    precise_->setChecked(settings.precise);
    precise_->setToolTip(
        QStringLiteral("Места конвертеров по геометрии зеркала, насколько сдвинуть конвертер "
                       "глубже и ожидаемые потери. Фокусное расстояние читается как расстояние от "
                       "фокуса конвертера до центра зеркала."));
    form->addRow(precise_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &DishDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DishDialog::reject);
    connect(type_, &QComboBox::currentIndexChanged, this, &DishDialog::UpdateEnabled);
    UpdateEnabled();
}

std::optional<DishSettings> DishDialog::Settings() const {
    DishSettings settings;
    settings.type = type_->currentIndex() == 1 ? DishType::PrimeFocus : DishType::Offset;
    settings.precise = precise_->isChecked();
    const std::optional<double> width = FieldNumber(width_);
    if (!width || !WidthOk(*width)) {
        return std::nullopt;
    }
    settings.widthMm = *width;
    if (settings.type == DishType::Offset) {
        const std::optional<double> angle = FieldNumber(angle_);
        if (!angle || !AngleOk(*angle)) {
            return std::nullopt;
        }
        settings.offsetAngleDeg = *angle;
    }
    return settings;
}

void DishDialog::accept() {
    if (!Settings()) {
        // Said in the dialog itself and left open, so nothing typed is lost.
        width_->setStyleSheet(QStringLiteral("background-color: rgb(255,192,192);"));
        angle_->setStyleSheet(QStringLiteral("background-color: rgb(255,192,192);"));
        setWindowTitle(
            QStringLiteral("Параметры зеркала: ширина от 0 до 10000 мм, угол от 0 "
                           "до 80°"));
        return;
    }
    QDialog::accept();
}

void DishDialog::UpdateEnabled() {
    angle_->setEnabled(type_->currentIndex() == 0);
}

}  // namespace palquin
