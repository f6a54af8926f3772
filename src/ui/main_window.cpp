#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>
#include <cstdio>
#include <future>
#include <system_error>

#include "catalogue/settings_watchdog.h"
#include "core/numeric_value.h"
#include "diagram/compass_view.h"
#include "diagram/diagram_view.h"
#include "diagram/twips.h"
#include "layout/site.h"
#include "print/printer.h"
#include "report/report.h"
#include "text/text_codec.h"
#include "ui/catalogue_model.h"
#include "ui/field_rules.h"
#include "ui/links_window.h"
#include "ui/notifier.h"
#include "ui/picture_window.h"
#include "ui/print_failure.h"
#include "ui/satellite_selector.h"
#include "ui/template_menu.h"
#include "ui/ticker.h"

namespace palquin {
namespace {

const QString kDegree = QString(QChar(0x00B0));
const QString kLoadFailedMessage = QStringLiteral("Ошибка в процедуре загрузки!");

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

frmMain::frmMain(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent),
      setup_(std::move(setup)),
      notifier_(setup_.notifier),
      printer_(setup_.printer) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dorvik - Расчет мультифида v.1.1"));

    // satellite.txt is read on a second thread while the elements are built: a large catalogue
    // takes about as long to read as the window to build. Its paths are made absolute before the
    // folder becomes the current one.
    std::error_code absoluteError;
    std::future<LoadResult> pendingLoad =
        std::async(std::launch::async,
                   [folder = std::filesystem::absolute(setup_.folder, absoluteError),
                    file = setup_.catalogueFile.empty()
                               ? std::filesystem::path()
                               : std::filesystem::absolute(setup_.catalogueFile, absoluteError)] {
                       return file.empty() ? LoadSatelliteFile(folder) : LoadSatelliteFileAt(file);
                   });

    mnuFile = menuBar()->addMenu(QStringLiteral("Файл"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuPrint = mnuFile->addAction(QStringLiteral("печать"));
    mnuPrint->setObjectName(QStringLiteral("mnuPrint"));
    mnuTemplate = mnuFile->addAction(QStringLiteral("Шаблон 1:1"));
    mnuTemplate->setObjectName(QStringLiteral("mnuTemplate"));
    mnuReport = mnuFile->addAction(QStringLiteral("Отчёт по каталогу"));
    mnuReport->setObjectName(QStringLiteral("mnuReport"));
    mnuDish = mnuFile->addAction(QStringLiteral("Параметры зеркала…"));
    mnuDish->setObjectName(QStringLiteral("mnuDish"));
    dish_ = LoadDishSettings(setup_.dishSettingsFile);

    // The client keeps its fixed layout; where the screen is too small for it, it scrolls.
    clientScroll = new QScrollArea(this);
    clientScroll->setObjectName(QStringLiteral("clientScroll"));
    clientScroll->setFrameShape(QFrame::NoFrame);
    clientScroll->setWidgetResizable(false);
    auto* client = new QWidget;
    client_ = client;
    client->setObjectName(QStringLiteral("client"));
    clientScroll->setWidget(client);
    setCentralWidget(clientScroll);
    QFont font = client->font();
    font.setPointSizeF(8);
    client->setFont(font);

    catalogue_ = new CatalogueModel(this);
    BuildTopGroup(client);
    BuildSlotGroup(client);
    BuildDiagramGroup(client);
    BuildTickerGroup(client);
    BuildPanel(client);

    // Start-up, in order: the program's folder becomes the current one, so that links written
    // as relative document paths open from there.
    // The folder goes over as bytes: its name need not be valid in any encoding.
    std::error_code ec;
    std::filesystem::current_path(setup_.folder, ec);
    ticker_ = new AboutTicker(Label9, this);
    Label10->setText(QStringLiteral("Расчет мультифида выполнен программой Dorvik"));
    // msh and the grid at scale 1 are the layout model's start state.
    Label3->setText(kDegree + QStringLiteral("    Долгота:"));
    Label5->setText(kDegree + QStringLiteral("    Фокусное расстояние:"));
    for (int i = 0; i < kSlots; ++i) {
        diam[i]->setToolTip(QStringLiteral("Диаметр конвертера (мм.)"));
    }
    LayOutSlots();
    ConnectRules();
    LoadCatalogue(pendingLoad.get());
    WatchSettings();

    client->setFixedSize(TwToPx(kClientWidthTw), TwToPx(kClientHeightTw));
    FitTo(QRect());

    // Before a logout the desktop asks for the data; the manager itself is not needed.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmMain::CommitSessionData);
}

void frmMain::FitTo(const QRect& available) {
    const QSize natural(client_->width(), menuBar()->sizeHint().height() + client_->height());
    QSize size = natural;
    if (available.isValid()) {
        // The frame the window manager puts around the window is known once it is shown.
        const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize();
        const QSize room = available.size() - frame;
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, clientScroll);
        const bool tall = natural.height() > room.height();
        const bool wide = natural.width() + (tall ? bar : 0) > room.width();
        size = QSize(std::min(natural.width() + (tall ? bar : 0), room.width()),
                     std::min(natural.height() + (wide ? bar : 0), room.height()));
    }
    setFixedSize(size);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitToScreen();
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The frame is known once the window manager has placed the window; it may also have gone
    // to another screen.
    FitToScreen();
}

void frmMain::FitToScreen() {
    if (QScreen* shown = screen(); shown != nullptr && isVisible()) {
        FitTo(shown->availableGeometry());
    }
}

frmMain::~frmMain() {
    // QWidget's destructor still moves the focus; by then this is no frmMain any more.
    disconnect(qApp, &QApplication::focusChanged, this, &frmMain::OnFocusChanged);
}

void frmMain::BuildTopGroup(QWidget* client) {
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

void frmMain::BuildSlotGroup(QWidget* client) {
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

void frmMain::BuildDiagramGroup(QWidget* client) {
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

void frmMain::BuildTickerGroup(QWidget* client) {
    Frame5 = MakeGroup(client, "Frame5", QString(), QStringLiteral("white"), kFrame5);
    Frame5->setStyleSheet(QStringLiteral(
        "QGroupBox#Frame5 { background-color: white; border: 1px solid rgb(128,128,128); }"));
    Label9 = MakeLabel(Frame5, "Label9", QString(),
                       QStringLiteral("color: rgb(255,255,0); background-color: black;"));
    Label9->setAlignment(Qt::AlignCenter);
    PlaceTw(Label9, 60, 60, kFrame5[2] - 120, kFrame5[3] - 120);
}

void frmMain::BuildPanel(QWidget* client) {
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

void frmMain::LayOutSlots() {
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

void frmMain::ConnectRules() {
    // Text composed by an input method would bypass the key filters: the filters also take
    // input-method commits, and the fields ask for plain key presses.
    for (QWidget* field :
         {static_cast<QWidget*>(sh), static_cast<QWidget*>(dl), static_cast<QWidget*>(fokus),
          static_cast<QWidget*>(cmbNS->lineEdit()), static_cast<QWidget*>(cmbEW->lineEdit())}) {
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    // Every setting is one line of satellite.txt: no line break may get into one.
    auto* oneLine = new LineBreakDropper(this);
    for (QLineEdit* field : {sh, dl, fokus, cmbNS->lineEdit(), cmbEW->lineEdit()}) {
        field->setValidator(oneLine);
    }
    auto* numberFilter = new KeyFilter(KeyRule::Number, notifier_, this);
    for (QLineEdit* field : {sh, dl, fokus}) {
        field->installEventFilter(numberFilter);
    }
    for (QLineEdit* field : {sh, dl}) {
        connect(field, &QLineEdit::textChanged, this,
                [this, field] { OnCoordinateChanged(field); });
    }
    auto* northSouth = new KeyFilter(KeyRule::NorthSouth, notifier_, this);
    auto* eastWest = new KeyFilter(KeyRule::EastWest, notifier_, this);
    cmbNS->installEventFilter(northSouth);
    cmbNS->lineEdit()->installEventFilter(northSouth);
    cmbEW->installEventFilter(eastWest);
    cmbEW->lineEdit()->installEventFilter(eastWest);
    // With a list open the keys go to the list, which would pick "S" for a typed "s".
    cmbNS->view()->installEventFilter(
        new KeyFilter(KeyRule::NorthSouth, notifier_, this, KeyFilter::Keys::PrintableOnly));
    cmbEW->view()->installEventFilter(
        new KeyFilter(KeyRule::EastWest, notifier_, this, KeyFilter::Keys::PrintableOnly));

    auto* diameterFilter = new KeyFilter(KeyRule::Diameter, notifier_, this);
    auto* satelliteFilter = new KeyFilter(KeyRule::Satellite, notifier_, this);
    for (int i = 0; i < kSlots; ++i) {
        diam[i]->installEventFilter(diameterFilter);
        diam[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
        diam[i]->setValidator(oneLine);
        Combo1[i]->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
        connect(diam[i], &QLineEdit::textChanged, this, [this, i] { OnDiameterChanged(i); });

        Combo1[i]->installEventFilter(satelliteFilter);
        Combo1[i]->lineEdit()->installEventFilter(satelliteFilter);
        Combo1[i]->installEventFilter(this);  // no wheel
        Combo1[i]->view()->installEventFilter(
            new KeyFilter(KeyRule::Satellite, notifier_, this, KeyFilter::Keys::PrintableOnly));
        // Choosing from the list sets the text without textEdited: it recalculates and clears
        // nothing. Edits by the user (Delete, cut) come through textEdited.
        connect(Combo1[i], &QComboBox::activated, this, [this, i] {
            Combo1[i]->lineEdit()->setCursorPosition(0);  // show where the entry starts
            RecalculateSlot(i);
        });
        connect(Combo1[i]->lineEdit(), &QLineEdit::textEdited, this,
                [this, i] { OnSelectorEdited(i); });
        // QComboBox takes an edited text that matches an entry as a choice when the focus
        // leaves; only a choice from the list may recalculate.
        disconnect(Combo1[i]->lineEdit(), &QLineEdit::editingFinished, Combo1[i], nullptr);
    }

    cmbNS->installEventFilter(this);  // no wheel
    cmbEW->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &frmMain::OnFocusChanged);

    connect(cmdOk, &QPushButton::clicked, this, &frmMain::RecalculateAll);
    connect(cmdMax, &QPushButton::clicked, this, &frmMain::ZoomIn);
    connect(cmdMin, &QPushButton::clicked, this, &frmMain::ZoomOut);
    connect(Command1, &QPushButton::clicked, this, &frmMain::ExportReport);
    connect(cmdPrint, &QPushButton::clicked, this, &frmMain::PrintMainWindow);
    connect(mnuPrint, &QAction::triggered, this, &frmMain::PrintFromMenu);
    connect(mnuTemplate, &QAction::triggered, this, &frmMain::PrintTemplateFromMenu);
    connect(mnuReport, &QAction::triggered, this, &frmMain::ExportReportFromMenu);
    connect(mnuDish, &QAction::triggered, this, &frmMain::EditDish);
}

void frmMain::LoadCatalogue(LoadResult loaded) {
    if (loaded.status == LoadResult::Status::Unreadable) {
        loadFailed_ = true;
        notifier_->Show(kLoadFailedMessage, kAppTitle, MessageIcon::None);
    }
    settingsLines_ = loaded.catalogue.Settings();
    const FileEncoding encoding = loaded.catalogue.Encoding();
    catalogue_->SetCatalogue(std::move(loaded.catalogue));
    // A model reset makes every selector pick its first item; slots start empty.
    for (QComboBox* selector : Combo1) {
        const QSignalBlocker blockCombo(selector);
        const QSignalBlocker blockEdit(selector->lineEdit());
        selector->setCurrentIndex(-1);
        selector->setEditText(QString());
    }

    const SettingsTexts settings = SettingsFromLines(settingsLines_);
    sh->setText(DecodeFileText(settings[0], encoding));
    cmbNS->setCurrentIndex(-1);
    cmbNS->setEditText(DecodeFileText(settings[1], encoding));
    dl->setText(DecodeFileText(settings[2], encoding));
    cmbEW->setCurrentIndex(-1);
    cmbEW->setEditText(DecodeFileText(settings[3], encoding));
    fokus->setText(DecodeFileText(settings[4], encoding));
    Label1[0]->setText(QStringLiteral("Центральный"));
}

SettingsTexts frmMain::CurrentSettings() const {
    const FileEncoding encoding = catalogue_->Text().Encoding();
    return {
        EncodeFileText(sh->text(), encoding),    EncodeFileText(cmbNS->currentText(), encoding),
        EncodeFileText(dl->text(), encoding),    EncodeFileText(cmbEW->currentText(), encoding),
        EncodeFileText(fokus->text(), encoding),
    };
}

void frmMain::WatchSettings() {
    SettingsWatchdog* watchdog = setup_.watchdog;
    // A catalogue that could not be read is never written, not even by the watchdog.
    if (watchdog == nullptr || loadFailed_) {
        return;
    }
    watchdog->Arm(setup_.folder, setup_.catalogueFile, catalogue_->Text(), CurrentSettings());
    // The copy follows every change of the five fields, so that it is current whenever the
    // window's thread stops.
    const auto update = [this, watchdog] { watchdog->Update(CurrentSettings()); };
    for (QLineEdit* field : {sh, dl, fokus}) {
        connect(field, &QLineEdit::textChanged, this, update);
    }
    for (QComboBox* field : {cmbNS, cmbEW}) {
        connect(field, &QComboBox::editTextChanged, this, update);
        connect(field, &QComboBox::currentTextChanged, this, update);
    }
}

void frmMain::SaveSettings(bool quietly) {
    // A catalogue that could not be read at start is left alone rather than overwritten.
    if (loadFailed_) {
        return;
    }
    const SettingsTexts settings = CurrentSettings();
    // Through the watchdog, so that its save and this one never both run.
    SaveResult saved;
    if (setup_.watchdog != nullptr) {
        saved = setup_.watchdog->SaveFromWindow(settings);
    } else if (setup_.catalogueFile.empty()) {
        saved = SaveSatelliteFile(setup_.folder, settings, catalogue_->Text());
    } else {
        saved = SaveSatelliteFileAt(setup_.catalogueFile, settings, catalogue_->Text());
    }
    if (!saved.ok) {
        const QString message =
            QStringLiteral("Не удалось сохранить настройки: %1. Файл на диске остался прежним.")
                .arg(QString::fromStdString(saved.error));
        // Asked to end by the system (a logout, kill): nobody may be there to close a box.
        if (quietly) {
            std::fputs((message.toStdString() + "\n").c_str(), stderr);
        } else {
            notifier_->Show(message, kAppTitle, MessageIcon::None);
        }
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Asked to end by the system (a logout, kill): nobody may be there to close a box.
    SaveSettings(closingOnRequest_);
    event->accept();
}

void frmMain::CommitSessionData() {
    SaveSettings(true);
}

void frmMain::CloseOnRequest() {
    closingOnRequest_ = true;
    close();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label4[0] && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OpenPictureWindow();
        return true;
    }
    // The wheel would change a selector's satellite (or a hemisphere) without a choice from its
    // list; it is ignored there.
    if (event->type() == QEvent::Wheel && qobject_cast<QComboBox*>(watched) != nullptr) {
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        // A click: press and release of the left button over the same heading.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        for (int i = 0; i < kSlots; ++i) {
            QLabel* heading = Label1[static_cast<size_t>(i)];
            if (watched == heading && mouse->button() == Qt::LeftButton &&
                heading->rect().contains(mouse->position().toPoint())) {
                OpenLinksWindow(i);
                break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::OnFocusChanged(QWidget* old, QWidget* now) {
    // Only a move to another element of this window counts as leaving a selector: opening its
    // own list, a message box or another application taking the focus do not.
    if (old == nullptr || now == nullptr || now->window() != this) {
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        QComboBox* selector = Combo1[static_cast<size_t>(i)];
        const bool left = old == selector || selector->isAncestorOf(old);
        const bool entered = now == selector || selector->isAncestorOf(now);
        if (left && !entered) {
            OnSelectorFocusLost(i);
        }
    }
}

void frmMain::OnCoordinateChanged(QLineEdit* field) {
    if (!CoordinateInRange(NumericValue(field->text().toStdString()))) {
        notifier_->Show(kCoordinateRangeMessage, kAppTitle, MessageIcon::None);
        field->setText(QString());  // runs this rule again on the empty text
    }
}

void frmMain::OnDiameterChanged(int slot) {
    if (!DiameterInRange(NumericValue(diam[slot]->text().toStdString()))) {
        notifier_->Show(kDiameterRangeMessage, kAppTitle, MessageIcon::None);
        diam[slot]->setText(QStringLiteral("50"));  // runs this rule again on "50"
    }
    layout_.ResizeMarker(slot, DiameterMm(slot));
    diagram->update();
}

double frmMain::DiameterMm(int slot) const {
    return NumericValue(diam[slot]->text().toStdString());
}

bool frmMain::ExportReport() {
    // The hidden button's report keeps its old rule: the site taken as north and east.
    return WriteReport(BuildCatalogueReportLines(EncodeFileText(sh->text()),
                                                 EncodeFileText(dl->text()), catalogue_->Text()));
}

bool frmMain::WriteReport(const std::vector<std::string>& lines) {
    // The catalogue in use must never turn into a report, whatever name leads to it.
    const std::filesystem::path catalogueFile =
        setup_.catalogueFile.empty() ? setup_.folder / kSatelliteFileName : setup_.catalogueFile;
    std::error_code ec;
    if (std::filesystem::equivalent(setup_.reportPath, catalogueFile, ec)) {
        notifier_->Show(QStringLiteral("Отчёт не записан: файл %1 — это каталог спутников "
                                       "программы.")
                            .arg(PathForDisplay(setup_.reportPath)),
                        kAppTitle, MessageIcon::None);
        return false;
    }
    const WriteResult written = WriteReportFile(setup_.reportPath, ComposeReport(lines));
    if (!written.ok) {
        notifier_->Show(QStringLiteral("Не удалось записать отчёт: %1.")
                            .arg(QString::fromStdString(written.error)),
                        kAppTitle, MessageIcon::None);
    }
    return written.ok;
}

void frmMain::ExportReportFromMenu() {
    // The menu's report takes the site with its hemispheres, as the slots do.
    const std::string ns = cmbNS->currentText().toStdString();
    const std::string ew = cmbEW->currentText().toStdString();
    const SiteFields site{NumericValue(sh->text().toStdString()), ns,
                          NumericValue(dl->text().toStdString()), ew};
    if (WriteReport(BuildSiteReportLines(ToSite(site), catalogue_->Text()))) {
        notifier_->Show(QStringLiteral("Отчёт по каталогу записан в файл %1")
                            .arg(PathForDisplay(setup_.reportPath)),
                        kAppTitle, MessageIcon::Information);
    }
}

void frmMain::OpenLinksWindow(int slot) {
    linkSlot = static_cast<std::int16_t>(slot);
    // Modal without a nested event loop: the main window takes no input until it closes.
    auto* window = new http(List4[static_cast<size_t>(linkSlot)], setup_.linkOpener, this);
    window->show();
}

}  // namespace palquin

namespace palquin {

double frmMain::OuterHeightTw() const {
    return client_->height() * kTwipsPerPixel + (kNormalOuterHeightTw - kClientHeightTw);
}

void frmMain::SetOuterHeightTw(double outerTw) {
    const int clientPx = TwToPx(outerTw - (kNormalOuterHeightTw - kClientHeightTw));
    client_->setFixedSize(client_->width(), clientPx);
    if (isVisible() && screen() != nullptr) {
        FitToScreen();
    } else {
        FitTo(QRect());
    }
}

void frmMain::PrintMainWindow() {
    Label10->show();
    SetOuterHeightTw(kPrintOuterHeightTw);
    const PrintResult printed = printer_ != nullptr ? printer_->PrintWidget(*client_, windowTitle())
                                                    : PrintResult{false, QString()};
    if (!printed.ok) {
        ShowPrintFailure(notifier_, printed.reason);
    }
    SetOuterHeightTw(kNormalOuterHeightTw);
    Label10->hide();
}

void frmMain::PrintFromMenu() {
    if (printer_ != nullptr) {
        // The dialog would hang on a print server that never answers.
        const PrintResult ready = printer_->CheckBeforeDialog();
        if (!ready.ok) {
            ShowPrintFailure(notifier_, ready.reason);
            return;
        }
        // Cancel in the dialog changes nothing.
        if (!printer_->ChooseDestination(this)) {
            return;
        }
    }
    PrintMainWindow();
}

void frmMain::PrintTemplateFromMenu() {
    PrintLayoutTemplate(layout_, e0_, printer_, notifier_, this);
}

void frmMain::OpenPictureWindow() {
    // Modal without a nested event loop: the main window takes no input while it is open.
    // The site as the fields read now, signed: south and west negative.
    PictureAimSetup aim;
    const double latitudeDeg = NumericValue(sh->text().toStdString());
    const double longitudeDeg = NumericValue(dl->text().toStdString());
    aim.site =
        GeoPosition{cmbNS->currentText() == QStringLiteral("S") ? -latitudeDeg : latitudeDeg,
                    cmbEW->currentText() == QStringLiteral("W") ? -longitudeDeg : longitudeDeg};
    aim.now = setup_.now;
    aim.zone = setup_.zone;
    auto* picture = new frmpicture(e0_, Combo1[0]->currentText(), printer_, notifier_, this, aim);
    picture->setAttribute(Qt::WA_DeleteOnClose);
    picture->setWindowModality(Qt::ApplicationModal);
    picture->show();
}

void frmMain::EditDish() {
    std::optional<DishSettings> chosen;
    if (setup_.editDish) {
        chosen = setup_.editDish(dish_, this);
    } else {
        DishDialog dialog(dish_, this);
        if (dialog.exec() == QDialog::Accepted) {
            chosen = dialog.Settings();
        }
    }
    if (!chosen) {
        return;
    }
    dish_ = *chosen;
    if (!SaveDishSettings(dish_, setup_.dishSettingsFile)) {
        notifier_->Show(QStringLiteral("Параметры зеркала не сохранены: файл настроек недоступен "
                                       "для записи. До закрытия программы они действуют."),
                        kAppTitle, MessageIcon::None);
    }
    // The figures and the drawing change with the dish: every chosen slot is calculated again.
    RecalculateAll();
}

}  // namespace palquin
