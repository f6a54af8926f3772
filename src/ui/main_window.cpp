// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <QTextDocument>
#include <algorithm>
#include <chrono>
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
}  // namespace

MainWindow::MainWindow(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent),
      setup_(std::move(setup)),
      notifier_(setup_.notifier),
      printer_(setup_.printer) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dorvik - Расчет мультифида v.1.1"));

    // satellite.txt is read on a second thread while the elements are built: a large catalogue
    // takes about as long to read as the window to build. Its paths are made absolute before the
    // folder becomes the current one.
    const std::shared_future<LoadResult> load =
        setup_.earlyLoad.valid() ? setup_.earlyLoad
                                 : StartCatalogueLoad(setup_.folder, setup_.catalogueFile);
    BuildMenu(menuBar());
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
    BuildSlotGroup(client, catalogue_, this);
    BuildDiagramGroup(client, &layout_);
    BuildTickerGroup(client);
    BuildPanel(client);
    NameControls();

    // Start-up, in order: the program's folder becomes the current one, so that links written
    // as relative document paths open from there.
    // The folder goes over as bytes: its name need not be valid in any encoding.
    std::error_code ec;
    std::filesystem::current_path(setup_.folder, ec);
    ticker_ = new AboutTicker(tickerLabel, this);
    printBanner->setText(QStringLiteral("Расчет мультифида выполнен программой Dorvik"));
    // The scale and the grid at 1 are the layout model's start state.
    longitudeCaption->setText(kDegree + QStringLiteral("    Долгота:"));
    focalLengthCaption->setText(kDegree + QStringLiteral("    Фокусное расстояние:"));
    for (int i = 0; i < kSlots; ++i) {
        diameterFields[i]->setToolTip(QStringLiteral("Диаметр конвертера (мм.)"));
    }
    LayOutSlots();
    ConnectRules();
    // While a large catalogue is still being read, the elements take their style now rather
    // than when the window is shown.
    if (load.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        ensurePolished();
    }
    LoadCatalogue(load.get());
    WatchSettings();

    client->setFixedSize(TwToPx(kClientWidthTw), TwToPx(kClientHeightTw));
    FitTo(QRect());

    // Before a logout the desktop asks for the data; the manager itself is not needed.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &MainWindow::CommitSessionData);
}

void MainWindow::FitTo(const QRect& available) {
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

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitToScreen();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The frame is known once the window manager has placed the window; it may also have gone
    // to another screen.
    FitToScreen();
}

void MainWindow::FitToScreen() {
    if (QScreen* shown = screen(); shown != nullptr && isVisible()) {
        FitTo(shown->availableGeometry());
    }
}

MainWindow::~MainWindow() {
    // QWidget's destructor still moves the focus; by then this is no MainWindow any more.
    disconnect(qApp, &QApplication::focusChanged, this, &MainWindow::OnFocusChanged);
}

void MainWindow::ConnectRules() {
    // Text composed by an input method would bypass the key filters: the filters also take
    // input-method commits, and the fields ask for plain key presses.
    for (QWidget* field :
         {static_cast<QWidget*>(latitudeField), static_cast<QWidget*>(longitudeField),
          static_cast<QWidget*>(focalLengthField),
          static_cast<QWidget*>(latitudeHemisphere->lineEdit()),
          static_cast<QWidget*>(longitudeHemisphere->lineEdit())}) {
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    // Every setting is one line of satellite.txt: no line break may get into one.
    auto* oneLine = new LineBreakDropper(this);
    for (QLineEdit* field : {latitudeField, longitudeField, focalLengthField,
                             latitudeHemisphere->lineEdit(), longitudeHemisphere->lineEdit()}) {
        field->setValidator(oneLine);
    }
    auto* numberFilter = new KeyFilter(KeyRule::Number, notifier_, this);
    for (QLineEdit* field : {latitudeField, longitudeField, focalLengthField}) {
        field->installEventFilter(numberFilter);
    }
    for (QLineEdit* field : {latitudeField, longitudeField}) {
        connect(field, &QLineEdit::textChanged, this,
                [this, field] { OnCoordinateChanged(field); });
    }
    auto* northSouth = new KeyFilter(KeyRule::NorthSouth, notifier_, this);
    auto* eastWest = new KeyFilter(KeyRule::EastWest, notifier_, this);
    latitudeHemisphere->installEventFilter(northSouth);
    latitudeHemisphere->lineEdit()->installEventFilter(northSouth);
    longitudeHemisphere->installEventFilter(eastWest);
    longitudeHemisphere->lineEdit()->installEventFilter(eastWest);
    // With a list open the keys go to the list, which would pick "S" for a typed "s".
    latitudeHemisphere->view()->installEventFilter(
        new KeyFilter(KeyRule::NorthSouth, notifier_, this, KeyFilter::Keys::PrintableOnly));
    longitudeHemisphere->view()->installEventFilter(
        new KeyFilter(KeyRule::EastWest, notifier_, this, KeyFilter::Keys::PrintableOnly));

    auto* diameterFilter = new KeyFilter(KeyRule::Diameter, notifier_, this);
    auto* satelliteFilter = new KeyFilter(KeyRule::Satellite, notifier_, this);
    for (int i = 0; i < kSlots; ++i) {
        diameterFields[i]->installEventFilter(diameterFilter);
        diameterFields[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
        diameterFields[i]->setValidator(oneLine);
        slotSelectors[i]->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
        connect(diameterFields[i], &QLineEdit::textChanged, this,
                [this, i] { OnDiameterChanged(i); });

        slotSelectors[i]->installEventFilter(satelliteFilter);
        slotSelectors[i]->lineEdit()->installEventFilter(satelliteFilter);
        slotSelectors[i]->installEventFilter(this);  // no wheel
        slotSelectors[i]->view()->installEventFilter(
            new KeyFilter(KeyRule::Satellite, notifier_, this, KeyFilter::Keys::PrintableOnly));
        // Choosing from the list sets the text without textEdited: it recalculates and clears
        // nothing. Edits by the user (Delete, cut) come through textEdited.
        connect(slotSelectors[i], &QComboBox::activated, this, [this, i] {
            slotSelectors[i]->lineEdit()->setCursorPosition(0);  // show where the entry starts
            RecalculateSlot(i);
        });
        connect(slotSelectors[i]->lineEdit(), &QLineEdit::textEdited, this,
                [this, i] { OnSelectorEdited(i); });
        // QComboBox takes an edited text that matches an entry as a choice when the focus
        // leaves; only a choice from the list may recalculate.
        disconnect(slotSelectors[i]->lineEdit(), &QLineEdit::editingFinished, slotSelectors[i],
                   nullptr);
    }

    latitudeHemisphere->installEventFilter(this);  // no wheel
    longitudeHemisphere->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::OnFocusChanged);

    connect(recalculateButton, &QPushButton::clicked, this, &MainWindow::RecalculateAll);
    connect(zoomInButton, &QPushButton::clicked, this, &MainWindow::ZoomIn);
    connect(zoomOutButton, &QPushButton::clicked, this, &MainWindow::ZoomOut);
    connect(reportButton, &QPushButton::clicked, this, &MainWindow::ExportReport);
    connect(printButton, &QPushButton::clicked, this, &MainWindow::PrintMainWindow);
    connect(printAction, &QAction::triggered, this, &MainWindow::PrintFromMenu);
    connect(templateAction, &QAction::triggered, this, &MainWindow::PrintTemplateFromMenu);
    connect(reportAction, &QAction::triggered, this, &MainWindow::ExportReportFromMenu);
    connect(dishAction, &QAction::triggered, this, &MainWindow::EditDish);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == resultLabels[0] && event->type() == QEvent::MouseButtonRelease &&
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
            QLabel* heading = slotHeadings[static_cast<size_t>(i)];
            if (watched == heading && mouse->button() == Qt::LeftButton &&
                heading->rect().contains(mouse->position().toPoint())) {
                OpenLinksWindow(i);
                break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::ExportReport() {
    // The hidden button's report keeps its old rule: the site taken as north and east.
    return WriteReport(BuildCatalogueReportLines(EncodeFileText(latitudeField->text()),
                                                 EncodeFileText(longitudeField->text()),
                                                 catalogue_->Text()));
}

bool MainWindow::WriteReport(const std::vector<std::string>& lines) {
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

void MainWindow::ExportReportFromMenu() {
    // The menu's report takes the site with its hemispheres, as the slots do.
    const std::string ns = latitudeHemisphere->currentText().toStdString();
    const std::string ew = longitudeHemisphere->currentText().toStdString();
    const SiteFields site{NumericValue(latitudeField->text().toStdString()), ns,
                          NumericValue(longitudeField->text().toStdString()), ew};
    if (WriteReport(BuildSiteReportLines(ToSite(site), catalogue_->Text()))) {
        notifier_->Show(QStringLiteral("Отчёт по каталогу записан в файл %1")
                            .arg(PathForDisplay(setup_.reportPath)),
                        kAppTitle, MessageIcon::Information);
    }
}

void MainWindow::OpenLinksWindow(int slot) {
    // Modal without a nested event loop: the main window takes no input until it closes.
    auto* window =
        new LinksDialog(slot, slotLinks_[static_cast<size_t>(slot)], setup_.linkOpener, this);
    window->show();
}

void MainWindow::SetSatellitesHint(const QString& plainText) {
    slotGroup->setToolTip(Qt::convertFromPlainText(plainText, Qt::WhiteSpaceNoWrap));
}

double MainWindow::OuterHeightTw() const {
    return client_->height() * kTwipsPerPixel + (kNormalOuterHeightTw - kClientHeightTw);
}

void MainWindow::SetOuterHeightTw(double outerTw) {
    const int clientPx = TwToPx(outerTw - (kNormalOuterHeightTw - kClientHeightTw));
    client_->setFixedSize(client_->width(), clientPx);
    if (isVisible() && screen() != nullptr) {
        FitToScreen();
    } else {
        FitTo(QRect());
    }
}

void MainWindow::PrintMainWindow() {
    printBanner->show();
    SetOuterHeightTw(kPrintOuterHeightTw);
    const PrintResult printed = printer_ != nullptr ? printer_->PrintWidget(*client_, windowTitle())
                                                    : PrintResult{false, QString()};
    if (!printed.ok) {
        ShowPrintFailure(notifier_, printed.reason);
    }
    SetOuterHeightTw(kNormalOuterHeightTw);
    printBanner->hide();
}

void MainWindow::PrintFromMenu() {
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

void MainWindow::PrintTemplateFromMenu() {
    PrintLayoutTemplate(layout_, centralAzimuthDeg_, printer_, notifier_, this);
}

void MainWindow::OpenPictureWindow() {
    // Modal without a nested event loop: the main window takes no input while it is open.
    // The site as the fields read now, signed: south and west negative.
    PictureAimSetup aim;
    const double latitudeDeg = NumericValue(latitudeField->text().toStdString());
    const double longitudeDeg = NumericValue(longitudeField->text().toStdString());
    aim.site = GeoPosition{
        latitudeHemisphere->currentText() == QStringLiteral("S") ? -latitudeDeg : latitudeDeg,
        longitudeHemisphere->currentText() == QStringLiteral("W") ? -longitudeDeg : longitudeDeg};
    aim.now = setup_.now;
    aim.zone = setup_.zone;
    auto* picture = new PictureDialog(centralAzimuthDeg_, slotSelectors[0]->currentText(), printer_,
                                      notifier_, this, aim);
    picture->setAttribute(Qt::WA_DeleteOnClose);
    picture->setWindowModality(Qt::ApplicationModal);
    picture->show();
}

}  // namespace palquin
