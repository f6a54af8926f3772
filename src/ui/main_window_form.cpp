// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's form: its elements, where they stand (twips) and their objectNames.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>

#include "diagram/compass_view.h"
#include "diagram/diagram_view.h"
#include "diagram/twips.h"
#include "ui/accessible_names.h"
#include "ui/main_window_form.h"
#include "ui/flat_widgets.h"
#include "ui/satellite_selector.h"

namespace palquin {
namespace {

// Groups and the slot grid, twips inside the client area (left, top, width, height).
constexpr double kFrame2[] = {120, 60, 11115, 1080};
constexpr double kFrame1[] = {120, 1200, 11115, 4380};
constexpr double kFrame4[] = {120, 5640, LayoutModel::kFrameWidthTw, LayoutModel::kFrameHeightTw};
constexpr double kFrame5[] = {120, 8580, 11175, 405};
constexpr double kFrame6[] = {120, 9000, 11175, 2055};

constexpr double kSlotLeftTw = 120;        // first cell of each row
constexpr double kSelectorHeightTw = 315;  // headings take the selector's height
constexpr double kResultsHeightTw = 1080;
constexpr double kDiameterWidthTw = 495;
constexpr double kDiameterHeightTw = 240;
// Tops inside slotGroup of heading, selector, results label and diameter field, per row.
constexpr double kUpperRowTw[] = {360, 720, 1080, 1920};
constexpr double kLowerRowTw[] = {2400, 2760, 3120, 3940};

// Compass panel boxes (panelBoxes): columns and the two rows, twips inside panelFrame.
constexpr double kBoxColumnsTw[] = {1920, 3960, 6000, 8040};
constexpr double kBoxRowsTw[] = {240, 1080};
constexpr double kBoxWidthTw = 1995;
constexpr double kBoxHeightTw = 855;

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// Colours go through palettes and the flat frames paint themselves: a single style sheet would
// start Qt's style sheet engine, which costs more start-up time than building the whole form.
// Pixels from the top of a titled group to its border line.
constexpr int kGroupTitleHeight = 7;

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption,
                     const QColor& background, const double (&rectTw)[4],
                     int titleHeight = kGroupTitleHeight) {
    auto* group = new FlatGroupBox(caption, background, titleHeight, parent);
    group->setObjectName(QLatin1String(name));
    PlaceTw(group, rectTw[0], rectTw[1], rectTw[2], rectTw[3]);
    return group;
}

/// How a label looks: its text's colour, and where given its background and a one-pixel border.
struct Look {
    QColor text;
    QColor background = QColor();
    QColor border = QColor();
};

void Colour(QWidget* widget, const Look& look) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, look.text);
    palette.setColor(QPalette::Text, look.text);
    if (look.background.isValid()) {
        palette.setColor(QPalette::Window, look.background);
        palette.setColor(QPalette::Base, look.background);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const Look& look) {
    QLabel* label =
        look.border.isValid() ? new FlatLabel(text, look.border, parent) : new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    Colour(label, look);
    return label;
}

}  // namespace

void MainWindowForm::BuildMenu(QMenuBar* bar) {
    fileMenu = bar->addMenu(QStringLiteral("Файл"));
    fileMenu->setObjectName(QStringLiteral("mnuFile"));
    printAction = fileMenu->addAction(QStringLiteral("печать"));
    printAction->setObjectName(QStringLiteral("mnuPrint"));
    templateAction = fileMenu->addAction(QStringLiteral("Шаблон 1:1"));
    templateAction->setObjectName(QStringLiteral("mnuTemplate"));
    reportAction = fileMenu->addAction(QStringLiteral("Отчёт по каталогу"));
    reportAction->setObjectName(QStringLiteral("mnuReport"));
    dishAction = fileMenu->addAction(QStringLiteral("Параметры зеркала…"));
    dishAction->setObjectName(QStringLiteral("mnuDish"));
}

void MainWindowForm::BuildTopGroup(QWidget* client) {
    siteGroup = MakeGroup(client, "Frame2",
                          QStringLiteral("Координаты места (указываются в градусах, минуты  и "
                                         "секунды необходимо перевести в десятичную систему "
                                         "счисления)"),
                          QColor(192, 192, 255), kFrame2);
    const Look plain{Qt::black, QColor(192, 192, 255)};

    // One row: label, latitude, N/S, label, longitude, E/W, label, focal length, label.
    auto field = [this](const char* name, double leftTw) {
        auto* edit = new QLineEdit(siteGroup);
        edit->setObjectName(QLatin1String(name));
        PlaceTw(edit, leftTw, 360, 900, kSelectorHeightTw);
        return edit;
    };
    auto hemisphere = [this](const char* name, const QStringList& letters, double leftTw) {
        auto* selector = new QComboBox(siteGroup);
        selector->setObjectName(QLatin1String(name));
        selector->setEditable(true);
        selector->addItems(letters);
        selector->setInsertPolicy(QComboBox::NoInsert);
        selector->setCompleter(nullptr);
        selector->setFocusPolicy(Qt::StrongFocus);
        PlaceTw(selector, leftTw, 360, 600, kSelectorHeightTw);
        return selector;
    };
    auto label = [this, &plain](const char* name, const QString& text, double leftTw,
                                double widthTw) {
        QLabel* made = MakeLabel(siteGroup, name, text, plain);
        PlaceTw(made, leftTw, 390, widthTw, 255);
        return made;
    };
    latitudeCaption = label("Label2", QStringLiteral("Широта:"), 120, 840);
    latitudeField = field("sh", 960);
    latitudeHemisphere = hemisphere("cmbNS", {QStringLiteral("N"), QStringLiteral("S")}, 1890);
    longitudeCaption = label("Label3", QString(), 2520, 1260);
    longitudeField = field("dl", 3780);
    longitudeHemisphere = hemisphere("cmbEW", {QStringLiteral("E"), QStringLiteral("W")}, 4710);
    focalLengthCaption = label("Label5", QString(), 5340, 2640);
    focalLengthField = field("fokus", 7980);
    focalLengthUnit = label("Label6", QStringLiteral("мм."), 8910, 450);

    recalculateHint = MakeLabel(siteGroup, "Label7",
                                QStringLiteral("Изменил координаты места, фокус или направление "
                                               "центрального конвертера, нажми эту кнопку -->"),
                                Look{QColor(255, 0, 0), QColor(192, 192, 255)});
    PlaceTw(recalculateHint, 120, 750, 9900, 255);
    recalculateButton = new QPushButton(QStringLiteral("Ok"), siteGroup);
    recalculateButton->setObjectName(QStringLiteral("cmdOk"));
    recalculateButton->setToolTip(QStringLiteral("Пересчет"));
    PlaceTw(recalculateButton, 10050, 690, 735, 345);
}

void MainWindowForm::BuildSlotGroup(QWidget* client, QAbstractItemModel* catalogue,
                                    QObject* clicks) {
    slotGroup = MakeGroup(client, "Frame1",
                          QStringLiteral("Координаты спутников (левый верхний бокс - центральный "
                                         "конвертер)"),
                          QColor(Qt::white), kFrame1);
    rowDivider = new QFrame(slotGroup);
    rowDivider->setObjectName(QStringLiteral("Frame3"));
    Colour(rowDivider, Look{Qt::black, Qt::white});
    PlaceTw(rowDivider, 120, 2235, 10875, 90);

    const Look boxed{QColor(128, 0, 0), QColor(224, 224, 224), Qt::black};
    for (int i = 0; i < kSlots; ++i) {
        slotHeadings[i] = MakeLabel(slotGroup, "", QString(), boxed);
        slotHeadings[i]->setObjectName(Indexed("Label1", i));
        slotHeadings[i]->setAlignment(Qt::AlignCenter);
        slotHeadings[i]->setTextFormat(
            Qt::PlainText);  // parts of a catalogue entry, shown as written
        slotHeadings[i]->installEventFilter(clicks);

        slotSelectors[i] = new SatelliteSelector(slotGroup);
        slotSelectors[i]->setObjectName(Indexed("Combo1", i));
        slotSelectors[i]->setEditable(true);
        slotSelectors[i]->setFocusPolicy(Qt::StrongFocus);
        slotSelectors[i]->setInsertPolicy(QComboBox::NoInsert);
        slotSelectors[i]->setCompleter(nullptr);
        // Measuring 30,000 entries for a size hint would cost more than the whole start-up.
        slotSelectors[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        slotSelectors[i]->setMinimumContentsLength(1);
        slotSelectors[i]->setModel(catalogue);
        if (auto* list = qobject_cast<QListView*>(slotSelectors[i]->view())) {
            list->setUniformItemSizes(true);
        }
        slotSelectors[i]->setCurrentIndex(-1);

        resultLabels[i] = MakeLabel(slotGroup, "", QString(), boxed);
        resultLabels[i]->setObjectName(Indexed("Label4", i));
        resultLabels[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        resultLabels[i]->setTextFormat(Qt::PlainText);
        // Five result lines must fit the cell's width beside the diameter field.
        QFont results = resultLabels[i]->font();
        results.setPointSizeF(7);
        resultLabels[i]->setFont(results);
        resultLabels[i]->installEventFilter(clicks);

        diameterFields[i] =
            new FlatLineEdit(QStringLiteral("50"), QColor(128, 128, 128), slotGroup);
        diameterFields[i]->setObjectName(Indexed("diam", i));
        Colour(diameterFields[i], Look{Qt::black, QColor(255, 192, 192)});
        SetSelectorTextColour(slotSelectors[i], QColor(0, 0, 192));
    }
}

void MainWindowForm::BuildDiagramGroup(QWidget* client, const LayoutModel* layout) {
    diagramGroup =
        MakeGroup(client, "Frame4",
                  QStringLiteral("Расположение конвертеров (вид от хвоста, одно деление=20 "
                                 "мм.)"),
                  QColor(192, 192, 255), kFrame4);
    diagramGroup->setToolTip(QString::fromUtf8(kFrontViewText));
    diagram = new DiagramView(layout, diagramGroup);
    diagram->setObjectName(QStringLiteral("diagram"));
    PlaceTw(diagram, 0, 0, LayoutModel::kFrameWidthTw, LayoutModel::kFrameHeightTw);

    scaleLabel = MakeLabel(diagramGroup, "LblMashtab", layout->ScaleLabel().c_str(),
                           Look{QColor(0, 0, 128)});
    scaleLabel->setAlignment(Qt::AlignCenter);
    PlaceTw(scaleLabel, 10560, 2400, 550, 230);

    zoomOutButton = new QPushButton(QStringLiteral("-"), diagramGroup);
    zoomOutButton->setObjectName(QStringLiteral("cmdMin"));
    zoomOutButton->setToolTip(QStringLiteral("Уменьшить"));
    PlaceTw(zoomOutButton, 10560, 2670, 255, 195);
    zoomInButton = new QPushButton(QStringLiteral("+"), diagramGroup);
    zoomInButton->setObjectName(QStringLiteral("cmdMax"));
    zoomInButton->setToolTip(QStringLiteral("Увеличить"));
    PlaceTw(zoomInButton, 10870, 2670, 255, 195);
    printButton = new QPushButton(QStringLiteral("Print"), diagramGroup);
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    printButton->setToolTip(QStringLiteral("Печать формы"));
    PlaceTw(printButton, 10630, 130, 495, 255);

    printBanner = MakeLabel(diagramGroup, "Label10", QString(), Look{QColor(0, 192, 0)});
    QFont banner(QStringLiteral("Courier New"));
    banner.setPointSize(36);
    banner.setBold(true);
    printBanner->setFont(banner);
    printBanner->setAlignment(Qt::AlignCenter);
    printBanner->setWordWrap(true);
    printBanner->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Rendered onto a PDF page (printing is the only time it shows), the label draws its text
    // only under a style sheet; set on first show, it costs the start-up nothing.
    new StyleSheetOnShow(printBanner,
                         QStringLiteral("color: rgb(0,192,0); background: transparent;"));
    PlaceTw(printBanner, 240, 840, 10695, 1575);
    printBanner->hide();

    // The export button exists but is never shown.
    reportButton = new QPushButton(QStringLiteral("Command1"), diagramGroup);
    reportButton->setObjectName(QStringLiteral("Command1"));
    reportButton->hide();
}

void MainWindowForm::BuildTickerGroup(QWidget* client) {
    tickerGroup = MakeGroup(client, "Frame5", QString(), QColor(Qt::white), kFrame5, 0);
    tickerLabel = MakeLabel(tickerGroup, "Label9", QString(), Look{QColor(255, 255, 0), Qt::black});
    tickerLabel->setAlignment(Qt::AlignCenter);
    PlaceTw(tickerLabel, 60, 60, kFrame5[2] - 120, kFrame5[3] - 120);
}

void MainWindowForm::BuildPanel(QWidget* client) {
    panelFrame = new QFrame(client);
    panelFrame->setObjectName(QStringLiteral("Frame6"));
    Colour(panelFrame, Look{Qt::black, Qt::white});
    PlaceTw(panelFrame, kFrame6[0], kFrame6[1], kFrame6[2], kFrame6[3]);
    panelCompass = new CompassView(PanelCompassLayout(), panelFrame);
    panelCompass->setObjectName(QStringLiteral("panelCompass"));
    PlaceTw(panelCompass, 0, 0, kFrame6[2], kFrame6[3]);
    for (int k = 0; k < kPanelBoxes; ++k) {
        panelBoxes[k] = MakeLabel(panelFrame, "", QString(), Look{Qt::black, QColor(), Qt::black});
        panelBoxes[k]->setObjectName(Indexed("Label500", k));
        panelBoxes[k]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        panelBoxes[k]->setTextFormat(Qt::PlainText);  // whole catalogue entries, as written
        panelBoxes[k]->setWordWrap(true);
        QFont boxFont = panelBoxes[k]->font();
        boxFont.setPointSizeF(7);
        panelBoxes[k]->setFont(boxFont);
        PlaceTw(panelBoxes[k], kBoxColumnsTw[k / 2], kBoxRowsTw[k % 2], kBoxWidthTw, kBoxHeightTw);
    }
}

void MainWindowForm::LayOutSlots() {
    const double columnTw = (kFrame1[2] - 240.0) / 5.0;
    for (int i = 0; i < kSlots; ++i) {
        const bool upper = i < 5;
        const double* tops = upper ? kUpperRowTw : kLowerRowTw;
        const double leftTw = kSlotLeftTw + columnTw * (i % 5);
        PlaceTw(slotHeadings[i], leftTw, tops[0], columnTw, kSelectorHeightTw);
        PlaceTw(slotSelectors[i], leftTw, tops[1], columnTw, kSelectorHeightTw);
        PlaceTw(resultLabels[i], leftTw, tops[2], columnTw, kResultsHeightTw);
        PlaceTw(diameterFields[i], leftTw + columnTw - kDiameterWidthTw - 50.0, tops[3],
                kDiameterWidthTw, kDiameterHeightTw);
        diameterFields[i]->raise();
    }
}

void MainWindowForm::NameControls() {
    // A screen reader would otherwise call a field by its group's long title, and a button by
    // its sign.
    const auto name = [](QWidget* widget, const QString& text) { widget->setAccessibleName(text); };
    name(latitudeField, QStringLiteral("Широта"));
    name(latitudeHemisphere, QStringLiteral("Полушарие широты"));
    name(longitudeField, QStringLiteral("Долгота"));
    name(longitudeHemisphere, QStringLiteral("Полушарие долготы"));
    name(focalLengthField, QStringLiteral("Фокусное расстояние"));
    name(recalculateButton, QStringLiteral("Пересчитать"));
    name(zoomInButton, QStringLiteral("Увеличить"));
    name(zoomOutButton, QStringLiteral("Уменьшить"));
    name(printButton, QStringLiteral("Печать окна"));
    name(reportButton, QStringLiteral("Отчёт по каталогу"));
    name(scaleLabel, QStringLiteral("Масштаб"));
    name(diagram, QStringLiteral("Расположение конвертеров"));
    name(tickerLabel, QStringLiteral("Бегущая строка"));
    name(printBanner, QStringLiteral("Надпись для печати"));
    name(panelCompass, QStringLiteral("Компас направлений"));
    for (int i = 0; i < kSlots; ++i) {
        name(slotHeadings[i], HeadingAccessibleName(i));
        name(slotSelectors[i], SelectorAccessibleName(i));
        name(resultLabels[i], ResultsAccessibleName(i));
        name(diameterFields[i], DiameterAccessibleName(i));
    }
    for (int k = 0; k < kPanelBoxes; ++k) {
        name(panelBoxes[k], QStringLiteral("Спутник направления %1").arg(k + 1));
    }
}

void SetSelectorTextColour(QComboBox* selector, const QColor& colour) {
    QPalette palette = selector->lineEdit()->palette();
    palette.setColor(QPalette::Text, colour);
    selector->lineEdit()->setPalette(palette);
}

}  // namespace palquin
