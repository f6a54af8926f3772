// SPDX-License-Identifier: GPL-3.0-or-later
// The slot recalculation, the triggers that run or clear it, and the change rules of the fields.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

#include "calc/converter.h"
#include "calc/pointing.h"
#include "catalogue/entry.h"
#include "core/numeric_value.h"
#include "core/result_number.h"
#include "diagram/compass.h"
#include "diagram/compass_view.h"
#include "diagram/diagram_view.h"
#include "layout/slot.h"
#include "text/text_codec.h"
#include "ui/catalogue_model.h"
#include "ui/field_rules.h"
#include "ui/main_window.h"
#include "ui/notifier.h"
#include "ui/template_menu.h"

namespace palquin {
namespace {

const QString kDegree = QString(QChar(0x00B0));
const QString kLineEnd = QStringLiteral("\r\n");
const QColor kVisibleColour(0, 0, 192);
const QColor kHiddenColour(255, 0, 0);

QString Number(double value, NumberPattern pattern) {
    return QString::fromStdString(FormatResult(value, pattern));
}

// Whole millimetres, with the direction's word when the converter is not on the axis.
QString WholeMm(double signedMm, const QString& positive, const QString& negative) {
    const long long whole = std::llround(std::abs(signedMm));
    QString text = QString::number(whole) + QStringLiteral(" мм.");
    const QString& word = signedMm > 0.0 ? positive : negative;
    if (whole != 0 && !word.isEmpty()) {
        text += QLatin1Char(' ') + word;
    }
    return text;
}

// Seven lines of the dish's geometry need a smaller type than the window's five.
void SetResultsPointSize(QLabel* label, bool precise) {
    QFont font = label->font();
    font.setPointSizeF(precise ? 6.0 : 7.0);
    label->setFont(font);
}

// A loss as "−1.4 дБ", with the true minus sign.
QString LossText(double lossDb) {
    const double tenths = std::round(lossDb * 10.0) / 10.0;
    const QString figure = QString::number(std::abs(tenths), 'f', 1);
    return (tenths < 0.0 ? QString(QChar(0x2212)) : QString()) + figure + QStringLiteral(" дБ");
}

// Repaints the diagram however the recalculation ends.
class RepaintOnExit {
  public:
    explicit RepaintOnExit(QWidget* widget) : widget_(widget) {}
    ~RepaintOnExit() { widget_->update(); }
    RepaintOnExit(const RepaintOnExit&) = delete;
    RepaintOnExit& operator=(const RepaintOnExit&) = delete;

  private:
    QWidget* widget_;
};

}  // namespace

void MainWindow::RecalculateSlot(int i) {
    RepaintOnExit repaint(diagram);

    // Central guard: without a central satellite nothing can be placed; every slot is emptied.
    if (slotSelectors[0]->currentText().isEmpty()) {
        for (int j = 0; j < kSlots; ++j) {
            SetSelectorText(j, QString());
            slotHeadings[j]->clear();
            resultLabels[j]->clear();
            slotHeadings[0]->setText(QStringLiteral("Центральная"));
        }
        return;
    }

    // A long entry is shown shortened; the calculation and the links use the whole of it.
    QString entryText = slotSelectors[i]->currentText();
    const int row = slotSelectors[i]->currentIndex();
    if (row >= 0 && entryText == slotSelectors[i]->itemText(row)) {
        entryText = catalogue_->data(catalogue_->index(row), CatalogueModel::kEntryRole).toString();
    }
    const std::optional<EntryPosition> position = SplitPosition(entryText.toStdString());
    if (!position) {
        return;
    }
    const std::string positionText = position->PositionText();
    const QString heading = QString::fromStdString(positionText);
    slotHeadings[i]->setText(heading);

    const EntryLinks links = SplitLinks(position->tail);
    QStringList& slotLinks = slotLinks_[static_cast<size_t>(i)];
    for (int k = 0; k < links.KnownLinks(); ++k) {
        const QString link = QString::fromStdString(links.links[static_cast<size_t>(k)]);
        if (k < slotLinks.size()) {
            slotLinks[k] = link;
        } else {
            slotLinks.append(link);
        }
    }
    if (links.outcome != EntryLinks::Outcome::Complete) {
        return;
    }

    const std::string ns = latitudeHemisphere->currentText().toStdString();
    const std::string ew = longitudeHemisphere->currentText().toStdString();
    const SiteFields site{NumericValue(latitudeField->text().toStdString()), ns,
                          NumericValue(longitudeField->text().toStdString()), ew};
    const double focalMm = NumericValue(focalLengthField->text().toStdString());
    // Before the central slot is first calculated its values count as 0.
    const std::optional<CentralAim> central =
        i == 0 ? std::nullopt
               : std::optional(CentralAim{centralAzimuthDeg_.value_or(0.0),
                                          centralElevationDeg_.value_or(0.0)});
    const DishGeometry dish = dish_.Geometry(focalMm);
    const bool precise = i != 0 && dish_.precise;
    const std::optional<SlotResult> slot =
        CalculateSlot(site, positionText, focalMm, central, precise ? &dish : nullptr);
    if (!slot) {
        return;
    }
    layout_.SetComputedFrom(
        SiteHeaderText(latitudeField->text(), ns, longitudeField->text(), ew).toStdString(),
        focalMm);

    if (!slot->pointing.visible) {
        notifier_->Show(QStringLiteral("Для указанного места приема спутник ") +
                            ShortenForDisplay(entryText) + QStringLiteral(" не виден!"),
                        QStringLiteral("!!!!!"), MessageIcon::Information);
        SetSelectorColour(i, kHiddenColour);
    } else {
        SetSelectorColour(i, kVisibleColour);
    }

    const double az = slot->pointing.azimuthDeg;
    const double el = slot->pointing.elevationDeg;
    QString results = QStringLiteral("Азимут: ") + Number(az, NumberPattern::Grouped3) + kDegree +
                      kLineEnd + QStringLiteral("Угол места: ") +
                      Number(el, NumberPattern::Grouped3) + kDegree + kLineEnd;
    resultLabels[i]->setText(results);

    const double diameterMm = DiameterMm(i);
    if (i == 0) {
        centralAzimuthDeg_ = az;
        centralElevationDeg_ = el;
        layout_.PlaceCentral(diameterMm, positionText);
        layout_.SetCentralAzimuth(az);
    } else if (precise) {
        if (!slot->precise) {
            return;
        }
        // The dish's own geometry: the place in the front view, the depth and the loss.
        const ConverterPlace& place = *slot->precise;
        layout_.PlaceExtraAt(i, diameterMm, {place.xFrontMm, -place.upMm}, positionText);
        layout_.SetSlotWarning(i, LossWarning(positionText, *slot));
        const bool eastOnRight = EastOnRight(central->azimuthDeg);
        results += QStringLiteral("Горизонталь: ") +
                   WholeMm(place.xFrontMm,
                           eastOnRight ? QStringLiteral("восток") : QStringLiteral("запад"),
                           eastOnRight ? QStringLiteral("запад") : QStringLiteral("восток")) +
                   kLineEnd + QStringLiteral("Вертикаль: ") +
                   WholeMm(place.upMm, QStringLiteral("вверх"), QStringLiteral("вниз")) + kLineEnd +
                   QStringLiteral("Глубже: ") + WholeMm(place.depthMm, QString(), QString()) +
                   kLineEnd + QStringLiteral("Потери: ") + LossText(slot->lossDb) + kLineEnd;
        SetResultsPointSize(resultLabels[i], true);
        resultLabels[i]->setText(results);
    } else {
        if (!slot->offsets) {
            return;
        }
        const Offsets& offsets = *slot->offsets;
        layout_.PlaceExtraAt(i, diameterMm, slot->centreMm, positionText);
        layout_.SetSlotWarning(i, {});
        SetResultsPointSize(resultLabels[i], false);
        results += QStringLiteral("Горизонталь: ") +
                   Number(offsets.horizontalMm, NumberPattern::Grouped3) + QStringLiteral(" мм.") +
                   kLineEnd + QStringLiteral("Вертикаль: ") +
                   Number(offsets.verticalMm, NumberPattern::Grouped3) + QStringLiteral(" мм.") +
                   kLineEnd;
        resultLabels[i]->setText(results);
    }

    if (!slot->rotationDeg) {
        return;
    }
    layout_.PlaceRotation(i, diameterMm, *slot->rotationDeg);
    results += QStringLiteral("Поворот конв.") + Number(*slot->rotationDeg, NumberPattern::Plain1) +
               kDegree;
    if (i == 0) {
        results += kLineEnd + kLineEnd + QStringLiteral("Кликни здесь!");
    }
    resultLabels[i]->setText(results);

    UpdatePanel(i);
}

void MainWindow::UpdatePanel(int slot) {
    if (!centralAzimuthDeg_ || *centralAzimuthDeg_ == 0.0) {
        return;
    }
    if (slot == 0) {
        panelBoxes[0]->setText(QString::fromStdString(
            AzimuthCaption(*centralAzimuthDeg_, slotSelectors[0]->currentText().toStdString())));
    } else if (slot < kPanelBoxes) {
        panelBoxes[static_cast<size_t>(slot)]->setText(slotSelectors[slot]->currentText());
    } else {
        return;  // slots 8 and 9 have no box; the needle stays as it was
    }
    panelCompass->PointNeedle(*centralAzimuthDeg_);
}

void MainWindow::RecalculateAll() {
    for (int i = 0; i < kSlots; ++i) {
        if (!slotSelectors[i]->currentText().isEmpty()) {
            RecalculateSlot(i);
        }
    }
}

void MainWindow::ZoomIn() {
    if (layout_.ZoomIn()) {
        AfterZoomStep();
    }
}

void MainWindow::ZoomOut() {
    if (layout_.ZoomOut()) {
        AfterZoomStep();
    }
}

void MainWindow::AfterZoomStep() {
    // Every slot places its items again at the new scale, messages included.
    scaleLabel->setText(QString::fromStdString(layout_.ScaleLabel()));
    for (int i = 0; i < kSlots; ++i) {
        RecalculateSlot(i);
    }
    layout_.RedrawLayout();
    diagram->update();
}

void MainWindow::ClearSlot(int slot, bool keepLinks) {
    slotHeadings[slot]->clear();
    resultLabels[slot]->clear();
    layout_.HideSlot(slot);
    if (!keepLinks) {
        slotLinks_[static_cast<size_t>(slot)].clear();
    }
    diagram->update();
}

void MainWindow::ResetAllSlots() {
    // Emptying the selectors below changes their texts again; those nested runs end at once.
    if (resetDepth_ > 0) {
        return;
    }
    ++resetDepth_;
    for (int j = 0; j < kSlots; ++j) {
        ClearSlot(j, true);
        SetSelectorText(j, QString());
        slotLinks_[static_cast<size_t>(j)].clear();
    }
    layout_.ShowCentralMarker();
    diagram->update();
    --resetDepth_;
}

void MainWindow::OnSelectorEdited(int slot) {
    if (resetDepth_ > 0) {
        return;
    }
    if (slotSelectors[slot]->currentText().isEmpty()) {
        ClearSlot(slot, false);
    }
    if (slot == 0) {
        ResetAllSlots();
    }
}

void MainWindow::OnSelectorFocusLost(int slot) {
    if (slotSelectors[slot]->currentText().isEmpty()) {
        ClearSlot(slot, true);
    }
    if (slot == 0) {
        layout_.ShowCentralMarker();
        diagram->update();
    }
}

void MainWindow::SetSelectorText(int slot, const QString& text) {
    QComboBox* selector = slotSelectors[slot];
    if (selector->currentText() == text) {
        return;
    }
    {
        const QSignalBlocker block(selector);
        if (text.isEmpty()) {
            selector->setCurrentIndex(-1);
        }
        selector->setEditText(text);
    }
    OnSelectorEdited(slot);
}

void MainWindow::SetSelectorColour(int slot, const QColor& colour) {
    QPalette palette = slotSelectors[slot]->lineEdit()->palette();
    palette.setColor(QPalette::Text, colour);
    slotSelectors[slot]->lineEdit()->setPalette(palette);
}

void MainWindow::OnFocusChanged(QWidget* old, QWidget* now) {
    // Only a move to another element of this window counts as leaving a selector: opening its
    // own list, a message box or another application taking the focus do not.
    if (old == nullptr || now == nullptr || now->window() != this) {
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        QComboBox* selector = slotSelectors[static_cast<size_t>(i)];
        const bool left = old == selector || selector->isAncestorOf(old);
        const bool entered = now == selector || selector->isAncestorOf(now);
        if (left && !entered) {
            OnSelectorFocusLost(i);
        }
    }
}

void MainWindow::OnCoordinateChanged(QLineEdit* field) {
    if (!CoordinateInRange(NumericValue(field->text().toStdString()))) {
        notifier_->Show(kCoordinateRangeMessage, kAppTitle, MessageIcon::None);
        field->setText(QString());  // runs this rule again on the empty text
    }
}

void MainWindow::OnDiameterChanged(int slot) {
    if (!DiameterInRange(NumericValue(diameterFields[slot]->text().toStdString()))) {
        notifier_->Show(kDiameterRangeMessage, kAppTitle, MessageIcon::None);
        diameterFields[slot]->setText(QStringLiteral("50"));  // runs this rule again on "50"
    }
    layout_.ResizeMarker(slot, DiameterMm(slot));
    diagram->update();
}

double MainWindow::DiameterMm(int slot) const {
    return NumericValue(diameterFields[slot]->text().toStdString());
}

}  // namespace palquin
