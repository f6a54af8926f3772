// SPDX-License-Identifier: GPL-3.0-or-later
// The slot recalculation, the triggers that run or clear it, and the change rules of the fields.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "catalogue/entry.h"
#include "core/numeric_value.h"
#include "diagram/compass_view.h"
#include "diagram/diagram_view.h"
#include "layout/slot.h"
#include "layout/slot_texts.h"
#include "text/text_codec.h"
#include "ui/catalogue_model.h"
#include "ui/field_rules.h"
#include "ui/main_window.h"
#include "ui/notifier.h"

namespace palquin {
namespace {

const QColor kVisibleColour(0, 0, 192);
const QColor kHiddenColour(255, 0, 0);

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
            slotHeadings[j]->setText(QString::fromStdString(SlotHeadingText(j, false, {})));
            resultLabels[j]->clear();
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
    slotHeadings[i]->setText(QString::fromStdString(SlotHeadingText(i, true, positionText)));

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
    layout_.SetComputedFrom(SiteHeaderText(NumericValue(latitudeField->text().toStdString()), ns,
                                           NumericValue(longitudeField->text().toStdString()), ew),
                            focalMm);

    if (!slot->pointing.visible) {
        notifier_->Show(QString::fromStdString(
                            HiddenSatelliteMessage(ShortenForDisplay(entryText).toStdString())),
                        QStringLiteral("!!!!!"), MessageIcon::Information);
        SetSelectorColour(i, kHiddenColour);
    } else {
        SetSelectorColour(i, kVisibleColour);
    }

    // The results as far as the figures go; the diagram takes the same steps.
    const ResultsText results =
        SlotResultsText(i, *slot, precise, central ? central->azimuthDeg : 0.0);
    if (results.pointSize) {
        QFont font = resultLabels[i]->font();
        font.setPointSizeF(*results.pointSize);
        resultLabels[i]->setFont(font);
    }
    resultLabels[i]->setText(QString::fromStdString(results.text));

    const double diameterMm = DiameterMm(i);
    if (i == 0) {
        centralAzimuthDeg_ = slot->pointing.azimuthDeg;
        centralElevationDeg_ = slot->pointing.elevationDeg;
        layout_.PlaceCentral(diameterMm, positionText);
        layout_.SetCentralAzimuth(slot->pointing.azimuthDeg);
    } else if (precise) {
        if (!slot->precise) {
            return;
        }
        // The dish's own geometry: the place in the front view and the loss's warning.
        layout_.PlaceExtraAt(i, diameterMm, {slot->precise->xFrontMm, -slot->precise->upMm},
                             positionText);
        layout_.SetSlotWarning(i, LossWarning(positionText, *slot));
    } else {
        if (!slot->offsets) {
            return;
        }
        layout_.PlaceExtraAt(i, diameterMm, slot->centreMm, positionText);
        layout_.SetSlotWarning(i, {});
    }

    if (!slot->rotationDeg) {
        return;
    }
    layout_.PlaceRotation(i, diameterMm, *slot->rotationDeg);
    UpdatePanel(i);
}

void MainWindow::UpdatePanel(int slot) {
    const std::optional<std::string> box =
        PanelBoxText(slot, centralAzimuthDeg_, slotSelectors[slot]->currentText().toStdString());
    if (!box) {
        return;  // slots 8 and 9 have no box; the needle stays as it was
    }
    panelBoxes[static_cast<size_t>(slot)]->setText(QString::fromStdString(*box));
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
    SetSelectorTextColour(slotSelectors[slot], colour);
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
