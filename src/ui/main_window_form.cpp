// The main window's form: its elements, where they stand (twips) and their objectNames.
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "diagram/compass_view.h"
#include "diagram/diagram_view.h"
#include "diagram/twips.h"
#include "ui/accessible_names.h"
#include "ui/catalogue_model.h"
#include "ui/main_window.h"
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
// Tops inside Frame1 of heading, selector, results label and diameter field, per row.
constexpr double kUpperRowTw[] = {360, 720, 1080, 1920};
constexpr double kLowerRowTw[] = {2400, 2760, 3120, 3940};

// Compass panel boxes (Label500): columns and the two rows, twips inside Frame6.
constexpr double kBoxColumnsTw[] = {1920, 3960, 6000, 8040};
constexpr double kBoxRowsTw[] = {240, 1080};
constexpr double kBoxWidthTw = 1995;
constexpr double kBoxHeightTw = 855;

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QString GroupStyle(const QString& name, const QString& background) {
    return QStringLiteral(
               "QGroupBox#%1 { background-color: %2; border: 1px solid rgb(128,128,128);"
               " margin-top: 7px; }"
               "QGroupBox#%1::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }")
        .arg(name, background);
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption,
                     const QString& background, const double (&rectTw)[4]) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(QLatin1String(name));
    group->setStyleSheet(GroupStyle(QLatin1String(name), background));
    PlaceTw(group, rectTw[0], rectTw[1], rectTw[2], rectTw[3]);
    return group;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QString& style) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setStyleSheet(style);
    return label;
}

}  // namespace

void MainWindow::BuildTopGroup(QWidget* client) {
    Frame2 = MakeGroup(client, "Frame2",
                       QStringLiteral("Координаты места (указываются в градусах, минуты  и "
                                      "секунды необходимо перевести в десятичную систему "
                                      "счисления)"),
                       QStringLiteral("rgb(192,192,255)"), kFrame2);
    const QString plain = QStringLiteral("color: black; background-color: rgb(192,192,255);");

    // One row: label, latitude, N/S, label, longitude, E/W, label, focal length, label.
    auto field = [this](const char* name, double leftTw) {
        auto* edit = new QLineEdit(Frame2);
        edit->setObjectName(QLatin1String(name));
        PlaceTw(edit, leftTw, 360, 900, kSelectorHeightTw);
        return edit;
    };
    auto hemisphere = [this](const char* name, const QStringList& letters, double leftTw) {
        auto* selector = new QComboBox(Frame2);
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
        QLabel* made = MakeLabel(Frame2, name, text, plain);
        PlaceTw(made, leftTw, 390, widthTw, 255);
        return made;
    };
    Label2 = label("Label2", QStringLiteral("Широта:"), 120, 840);
    sh = field("sh", 960);
    cmbNS = hemisphere("cmbNS", {QStringLiteral("N"), QStringLiteral("S")}, 1890);
    Label3 = label("Label3", QString(), 2520, 1260);
    dl = field("dl", 3780);
    cmbEW = hemisphere("cmbEW", {QStringLiteral("E"), QStringLiteral("W")}, 4710);
    Label5 = label("Label5", QString(), 5340, 2640);
    fokus = field("fokus", 7980);
    Label6 = label("Label6", QStringLiteral("мм."), 8910, 450);

    Label7 = MakeLabel(Frame2, "Label7",
                       QStringLiteral("Изменил координаты места, фокус или направление "
                                      "центрального конвертера, нажми эту кнопку -->"),
                       QStringLiteral("color: rgb(255,0,0); background-color: rgb(192,192,255);"));
    PlaceTw(Label7, 120, 750, 9900, 255);
    cmdOk = new QPushButton(QStringLiteral("Ok"), Frame2);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setToolTip(QStringLiteral("Пересчет"));
    PlaceTw(cmdOk, 10050, 690, 735, 345);
}

void MainWindow::BuildSlotGroup(QWidget* client) {
    Frame1 = MakeGroup(client, "Frame1",
                       QStringLiteral("Координаты спутников (левый верхний бокс - центральный "
                                      "конвертер)"),
                       QStringLiteral("white"), kFrame1);
    Frame3 = new QFrame(Frame1);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setStyleSheet(QStringLiteral("background-color: white;"));
    PlaceTw(Frame3, 120, 2235, 10875, 90);

    const QString boxed = QStringLiteral(
        "color: rgb(128,0,0); background-color: rgb(224,224,224); border: 1px solid black;");
    for (int i = 0; i < kSlots; ++i) {
        Label1[i] = MakeLabel(Frame1, "", QString(), boxed);
        Label1[i]->setObjectName(Indexed("Label1", i));
        Label1[i]->setAlignment(Qt::AlignCenter);
        Label1[i]->setTextFormat(Qt::PlainText);  // parts of a catalogue entry, shown as written
        Label1[i]->installEventFilter(this);

        Combo1[i] = new SatelliteSelector(Frame1);
        Combo1[i]->setObjectName(Indexed("Combo1", i));
        Combo1[i]->setEditable(true);
        Combo1[i]->setFocusPolicy(Qt::StrongFocus);
        Combo1[i]->setInsertPolicy(QComboBox::NoInsert);
        Combo1[i]->setCompleter(nullptr);
        // Measuring 30,000 entries for a size hint would cost more than the whole start-up.
        Combo1[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        Combo1[i]->setMinimumContentsLength(1);
        Combo1[i]->setModel(catalogue_);
        if (auto* list = qobject_cast<QListView*>(Combo1[i]->view())) {
            list->setUniformItemSizes(true);
        }
        Combo1[i]->setCurrentIndex(-1);

        Label4[i] = MakeLabel(Frame1, "", QString(), boxed);
        Label4[i]->setObjectName(Indexed("Label4", i));
        Label4[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Label4[i]->setTextFormat(Qt::PlainText);
        // Five result lines must fit the cell's width beside the diameter field.
        QFont results = Label4[i]->font();
        results.setPointSizeF(7);
        Label4[i]->setFont(results);
        Label4[i]->installEventFilter(this);

        diam[i] = new QLineEdit(QStringLiteral("50"), Frame1);
        diam[i]->setObjectName(Indexed("diam", i));
        diam[i]->setStyleSheet(
            QStringLiteral("color: black; background-color: rgb(255,192,192); border: 1px solid "
                           "rgb(128,128,128);"));
        SetSelectorColour(i, QColor(0, 0, 192));
    }
}

void MainWindow::BuildDiagramGroup(QWidget* client) {
    Frame4 = MakeGroup(client, "Frame4",
                       QStringLiteral("Расположение конвертеров (вид от хвоста, одно деление=20 "
                                      "мм.)"),
                       QStringLiteral("rgb(192,192,255)"), kFrame4);
    Frame4->setToolTip(QString::fromUtf8(kFrontViewText));
    diagram = new DiagramView(&layout_, Frame4);
    diagram->setObjectName(QStringLiteral("diagram"));
    PlaceTw(diagram, 0, 0, LayoutModel::kFrameWidthTw, LayoutModel::kFrameHeightTw);

    LblMashtab = MakeLabel(Frame4, "LblMashtab", layout_.ScaleLabel().c_str(),
                           QStringLiteral("color: rgb(0,0,128);"));
    LblMashtab->setAlignment(Qt::AlignCenter);
    PlaceTw(LblMashtab, 10560, 2400, 550, 230);

    cmdMin = new QPushButton(QStringLiteral("-"), Frame4);
    cmdMin->setObjectName(QStringLiteral("cmdMin"));
    cmdMin->setToolTip(QStringLiteral("Уменьшить"));
    PlaceTw(cmdMin, 10560, 2670, 255, 195);
    cmdMax = new QPushButton(QStringLiteral("+"), Frame4);
    cmdMax->setObjectName(QStringLiteral("cmdMax"));
    cmdMax->setToolTip(QStringLiteral("Увеличить"));
    PlaceTw(cmdMax, 10870, 2670, 255, 195);
    cmdPrint = new QPushButton(QStringLiteral("Print"), Frame4);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setToolTip(QStringLiteral("Печать формы"));
    PlaceTw(cmdPrint, 10630, 130, 495, 255);
    for (QPushButton* button : {cmdMin, cmdMax, cmdPrint}) {
        button->setStyleSheet(QStringLiteral("padding: 0px;"));
    }

    Label10 = MakeLabel(Frame4, "Label10", QString(),
                        QStringLiteral("color: rgb(0,192,0); background: transparent;"));
    QFont banner(QStringLiteral("Courier New"));
    banner.setPointSize(36);
    banner.setBold(true);
    Label10->setFont(banner);
    Label10->setAlignment(Qt::AlignCenter);
    Label10->setWordWrap(true);
    Label10->setAttribute(Qt::WA_TransparentForMouseEvents);
    PlaceTw(Label10, 240, 840, 10695, 1575);
    Label10->hide();

    // The export button exists but is never shown.
    Command1 = new QPushButton(QStringLiteral("Command1"), Frame4);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->hide();
}

void MainWindow::BuildTickerGroup(QWidget* client) {
    Frame5 = MakeGroup(client, "Frame5", QString(), QStringLiteral("white"), kFrame5);
    Frame5->setStyleSheet(QStringLiteral(
        "QGroupBox#Frame5 { background-color: white; border: 1px solid rgb(128,128,128); }"));
    Label9 = MakeLabel(Frame5, "Label9", QString(),
                       QStringLiteral("color: rgb(255,255,0); background-color: black;"));
    Label9->setAlignment(Qt::AlignCenter);
    PlaceTw(Label9, 60, 60, kFrame5[2] - 120, kFrame5[3] - 120);
}

void MainWindow::BuildPanel(QWidget* client) {
    Frame6 = new QFrame(client);
    Frame6->setObjectName(QStringLiteral("Frame6"));
    Frame6->setStyleSheet(QStringLiteral("QFrame#Frame6 { background-color: white; }"));
    PlaceTw(Frame6, kFrame6[0], kFrame6[1], kFrame6[2], kFrame6[3]);
    panelCompass = new CompassView(PanelCompassLayout(), Frame6);
    panelCompass->setObjectName(QStringLiteral("panelCompass"));
    PlaceTw(panelCompass, 0, 0, kFrame6[2], kFrame6[3]);
    for (int k = 0; k < kPanelBoxes; ++k) {
        Label500[k] = MakeLabel(Frame6, "", QString(),
                                QStringLiteral("color: black; border: 1px solid black;"));
        Label500[k]->setObjectName(Indexed("Label500", k));
        Label500[k]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Label500[k]->setTextFormat(Qt::PlainText);  // whole catalogue entries, as written
        Label500[k]->setWordWrap(true);
        QFont boxFont = Label500[k]->font();
        boxFont.setPointSizeF(7);
        Label500[k]->setFont(boxFont);
        PlaceTw(Label500[k], kBoxColumnsTw[k / 2], kBoxRowsTw[k % 2], kBoxWidthTw, kBoxHeightTw);
    }
}

void MainWindow::LayOutSlots() {
    const double columnTw = (kFrame1[2] - 240.0) / 5.0;
    for (int i = 0; i < kSlots; ++i) {
        const bool upper = i < 5;
        const double* tops = upper ? kUpperRowTw : kLowerRowTw;
        const double leftTw = kSlotLeftTw + columnTw * (i % 5);
        PlaceTw(Label1[i], leftTw, tops[0], columnTw, kSelectorHeightTw);
        PlaceTw(Combo1[i], leftTw, tops[1], columnTw, kSelectorHeightTw);
        PlaceTw(Label4[i], leftTw, tops[2], columnTw, kResultsHeightTw);
        PlaceTw(diam[i], leftTw + columnTw - kDiameterWidthTw - 50.0, tops[3], kDiameterWidthTw,
                kDiameterHeightTw);
        diam[i]->raise();
    }
}

void MainWindow::NameControls() {
    // A screen reader would otherwise call a field by its group's long title, and a button by
    // its sign.
    const auto name = [](QWidget* widget, const QString& text) { widget->setAccessibleName(text); };
    name(sh, QStringLiteral("Широта"));
    name(cmbNS, QStringLiteral("Полушарие широты"));
    name(dl, QStringLiteral("Долгота"));
    name(cmbEW, QStringLiteral("Полушарие долготы"));
    name(fokus, QStringLiteral("Фокусное расстояние"));
    name(cmdOk, QStringLiteral("Пересчитать"));
    name(cmdMax, QStringLiteral("Увеличить"));
    name(cmdMin, QStringLiteral("Уменьшить"));
    name(cmdPrint, QStringLiteral("Печать окна"));
    name(Command1, QStringLiteral("Отчёт по каталогу"));
    name(LblMashtab, QStringLiteral("Масштаб"));
    name(diagram, QStringLiteral("Расположение конвертеров"));
    name(Label9, QStringLiteral("Бегущая строка"));
    name(Label10, QStringLiteral("Надпись для печати"));
    name(panelCompass, QStringLiteral("Компас направлений"));
    for (int i = 0; i < kSlots; ++i) {
        name(Label1[i], HeadingAccessibleName(i));
        name(Combo1[i], SelectorAccessibleName(i));
        name(Label4[i], ResultsAccessibleName(i));
        name(diam[i], DiameterAccessibleName(i));
    }
    for (int k = 0; k < kPanelBoxes; ++k) {
        name(Label500[k], QStringLiteral("Спутник направления %1").arg(k + 1));
    }
}

}  // namespace palquin
