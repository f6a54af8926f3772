// The slot recalculation and the triggers that run or clear it.
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

void frmMain::RecalculateSlot(int i) {
    RepaintOnExit repaint(diagram);

    // Central guard: without a central satellite nothing can be placed; every slot is emptied.
    if (Combo1[0]->currentText().isEmpty()) {
        for (int j = 0; j < kSlots; ++j) {
            SetSelectorText(j, QString());
            Label1[j]->clear();
            Label4[j]->clear();
            Label1[0]->setText(QStringLiteral("Центральная"));
        }
        return;
    }

    // A long entry is shown shortened; the calculation and the links use the whole of it.
    QString entryText = Combo1[i]->currentText();
    const int row = Combo1[i]->currentIndex();
    if (row >= 0 && entryText == Combo1[i]->itemText(row)) {
        entryText = catalogue_->data(catalogue_->index(row), CatalogueModel::kEntryRole).toString();
    }
    const std::optional<EntryPosition> position = SplitPosition(entryText.toStdString());
    if (!position) {
        return;
    }
    const std::string positionText = position->PositionText();
    const QString heading = QString::fromStdString(positionText);
    Label1[i]->setText(heading);

    const EntryLinks links = SplitLinks(position->tail);
    QStringList& slotLinks = List4[static_cast<size_t>(i)];
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

    const std::string ns = cmbNS->currentText().toStdString();
    const std::string ew = cmbEW->currentText().toStdString();
    const SiteFields site{NumericValue(sh->text().toStdString()), ns,
                          NumericValue(dl->text().toStdString()), ew};
    const double focalMm = NumericValue(fokus->text().toStdString());
    // Unset central values count as 0, as the offsets have always done.
    const std::optional<CentralAim> central =
        i == 0 ? std::nullopt : std::optional(CentralAim{e0_.value_or(0.0), u0_.value_or(0.0)});
    const DishGeometry dish = dish_.Geometry(focalMm);
    const bool precise = i != 0 && dish_.precise;
    const std::optional<SlotResult> slot =
        CalculateSlot(site, positionText, focalMm, central, precise ? &dish : nullptr);
    if (!slot) {
        return;
    }
    layout_.SetComputedFrom(SiteHeaderText(sh->text(), ns, dl->text(), ew).toStdString(), focalMm);

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
    Label4[i]->setText(results);

    const double diameterMm = DiameterMm(i);
    if (i == 0) {
        e0_ = az;
        u0_ = el;
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
        SetResultsPointSize(Label4[i], true);
        Label4[i]->setText(results);
    } else {
        if (!slot->offsets) {
            return;
        }
        const Offsets& offsets = *slot->offsets;
        layout_.PlaceExtraAt(i, diameterMm, slot->centreMm, positionText);
        layout_.SetSlotWarning(i, {});
        SetResultsPointSize(Label4[i], false);
        results += QStringLiteral("Горизонталь: ") +
                   Number(offsets.horizontalMm, NumberPattern::Grouped3) + QStringLiteral(" мм.") +
                   kLineEnd + QStringLiteral("Вертикаль: ") +
                   Number(offsets.verticalMm, NumberPattern::Grouped3) + QStringLiteral(" мм.") +
                   kLineEnd;
        Label4[i]->setText(results);
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
    Label4[i]->setText(results);

    UpdatePanel(i);
}

void frmMain::UpdatePanel(int slot) {
    if (!e0_ || *e0_ == 0.0) {
        return;
    }
    if (slot == 0) {
        Label500[0]->setText(
            QString::fromStdString(AzimuthCaption(*e0_, Combo1[0]->currentText().toStdString())));
    } else if (slot < kPanelBoxes) {
        Label500[static_cast<size_t>(slot)]->setText(Combo1[slot]->currentText());
    } else {
        return;  // slots 8 and 9 have no box; the needle stays as it was
    }
    panelCompass->PointNeedle(*e0_);
}

void frmMain::RecalculateAll() {
    for (int i = 0; i < kSlots; ++i) {
        if (!Combo1[i]->currentText().isEmpty()) {
            RecalculateSlot(i);
        }
    }
}

void frmMain::ZoomIn() {
    if (layout_.ZoomIn()) {
        AfterZoomStep();
    }
}

void frmMain::ZoomOut() {
    if (layout_.ZoomOut()) {
        AfterZoomStep();
    }
}

void frmMain::AfterZoomStep() {
    // Every slot places its items again at the new scale, messages included.
    LblMashtab->setText(QString::fromStdString(layout_.ScaleLabel()));
    for (int i = 0; i < kSlots; ++i) {
        RecalculateSlot(i);
    }
    layout_.RedrawLayout();
    diagram->update();
}

void frmMain::ClearSlot(int slot, bool keepLinks) {
    Label1[slot]->clear();
    Label4[slot]->clear();
    layout_.HideSlot(slot);
    if (!keepLinks) {
        List4[static_cast<size_t>(slot)].clear();
    }
    diagram->update();
}

void frmMain::ResetAllSlots() {
    // Emptying the selectors below changes their texts again; those nested runs end at once.
    if (resetDepth_ > 0) {
        return;
    }
    ++resetDepth_;
    for (int j = 0; j < kSlots; ++j) {
        ClearSlot(j, true);
        SetSelectorText(j, QString());
        List4[static_cast<size_t>(j)].clear();
    }
    layout_.ShowCentralMarker();
    diagram->update();
    --resetDepth_;
}

void frmMain::OnSelectorEdited(int slot) {
    if (resetDepth_ > 0) {
        return;
    }
    if (Combo1[slot]->currentText().isEmpty()) {
        ClearSlot(slot, false);
    }
    if (slot == 0) {
        ResetAllSlots();
    }
}

void frmMain::OnSelectorFocusLost(int slot) {
    if (Combo1[slot]->currentText().isEmpty()) {
        ClearSlot(slot, true);
    }
    if (slot == 0) {
        layout_.ShowCentralMarker();
        diagram->update();
    }
}

void frmMain::SetSelectorText(int slot, const QString& text) {
    QComboBox* selector = Combo1[slot];
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

void frmMain::SetSelectorColour(int slot, const QColor& colour) {
    QPalette palette = Combo1[slot]->lineEdit()->palette();
    palette.setColor(QPalette::Text, colour);
    Combo1[slot]->lineEdit()->setPalette(palette);
}

}  // namespace palquin
