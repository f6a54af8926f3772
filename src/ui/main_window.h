// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>
#include <QTimeZone>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/satellite_file.h"
#include "diagram/layout_model.h"
#include "ui/dish_dialog.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QAction;
class QMenu;

namespace palquin {

class AboutTicker;
class CatalogueModel;
class CompassView;
class DiagramView;
class LinkOpener;
class Notifier;
class Printer;
class SettingsWatchdog;

/// What the main window needs from outside; tests hand in a temporary folder and a recorder.
struct MainWindowSetup {
    std::filesystem::path folder;      ///< the program's folder, where satellite.txt lives
    Notifier* notifier = nullptr;      ///< message boxes
    std::filesystem::path reportPath;  ///< where the pointing report is written
    Printer* printer = nullptr;        ///< pages of the windows; none: every print fails
    LinkOpener* linkOpener = nullptr;  ///< opens the links of the links window; null: nothing
    /// The catalogue and settings file; empty: satellite.txt in folder.
    std::filesystem::path catalogueFile;
    /// Where the dish's parameters are kept; empty: the user's settings.
    std::filesystem::path dishSettingsFile;
    /// Asks the user for the dish's parameters; empty: the dish dialog, modal. Returns nothing
    /// when the user cancels.
    std::function<std::optional<DishSettings>(const DishSettings&, QWidget*)> editDish = {};
    /// The picture window's clock and time zone for the aiming lines; empty: the system's.
    std::function<QDateTime()> now = {};
    QTimeZone zone = QTimeZone::systemTimeZone();
    /// Keeps a copy of the settings to save when the window's thread is stuck; null: none.
    SettingsWatchdog* watchdog = nullptr;
    /// The catalogue's load (StartCatalogueLoad of folder and catalogueFile), started before Qt
    /// was; not valid: the window starts it.
    std::shared_future<LoadResult> earlyLoad = {};
};

/// The main window. Its members are named by role; each element carries its classic name as its
/// objectName ("Combo1_3" for the fourth slot selector), by which tests and accessibility tools
/// find it. All state lives in the elements, in the central pointing, in the layout model and in
/// the ticker.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kSlots = 10;
    static constexpr int kPanelBoxes = 8;
    /// The window's client area as laid out, twips.
    static constexpr double kClientWidthTw = 11355.0;
    static constexpr double kClientHeightTw = 9030.0;
    /// Outer heights, twips: title bar, menu and borders take the classic 555 twips above the
    /// client area. While printing, the window grows so that the lower panel is on the page.
    static constexpr double kNormalOuterHeightTw = 9585.0;
    static constexpr double kPrintOuterHeightTw = 11520.0;

    /// Builds the window and runs the start-up sequence (loading satellite.txt included); any
    /// message of the start-up is shown before the constructor returns.
    explicit MainWindow(MainWindowSetup setup, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Brings slot i up to date from its selector, the site fields and the focal length.
    void RecalculateSlot(int slot);

    // Window-level state, read by tests and the picture window.
    std::optional<double> CentralAzimuthDeg() const { return centralAzimuthDeg_; }
    std::optional<double> CentralElevationDeg() const { return centralElevationDeg_; }
    const LayoutModel& Layout() const { return layout_; }
    const AboutTicker& Ticker() const { return *ticker_; }
    AboutTicker& Ticker() { return *ticker_; }
    const std::vector<std::string>& SettingsLines() const { return settingsLines_; }
    const QStringList& Links(int slot) const { return slotLinks_[static_cast<size_t>(slot)]; }
    bool LoadFailed() const { return loadFailed_; }
    /// The outer height the client area stands for, twips.
    double OuterHeightTw() const;
    /// The client area with every element, laid out at its fixed size; it scrolls inside
    /// clientScroll when the window does not fit the screen.
    QWidget* Client() const { return client_; }
    QScrollArea* clientScroll = nullptr;

    /// Sizes the window to its client area and menu, or, where that is larger than available
    /// (the screen's work area, frame included), to what is available, with scroll bars for the
    /// rest.
    void FitTo(const QRect& available);

    // Elements.
    QGroupBox* slotGroup = nullptr;                   ///< Frame1
    QGroupBox* siteGroup = nullptr;                   ///< Frame2
    QFrame* rowDivider = nullptr;                     ///< Frame3
    QGroupBox* diagramGroup = nullptr;                ///< Frame4
    QGroupBox* tickerGroup = nullptr;                 ///< Frame5
    QFrame* panelFrame = nullptr;                     ///< Frame6
    QLabel* latitudeCaption = nullptr;                ///< Label2
    QLabel* longitudeCaption = nullptr;               ///< Label3
    QLabel* focalLengthCaption = nullptr;             ///< Label5
    QLabel* focalLengthUnit = nullptr;                ///< Label6
    QLabel* recalculateHint = nullptr;                ///< Label7
    QLabel* tickerLabel = nullptr;                    ///< Label9
    QLabel* printBanner = nullptr;                    ///< Label10
    QLabel* scaleLabel = nullptr;                     ///< LblMashtab
    QLineEdit* latitudeField = nullptr;               ///< sh
    QLineEdit* longitudeField = nullptr;              ///< dl
    QLineEdit* focalLengthField = nullptr;            ///< fokus
    QComboBox* latitudeHemisphere = nullptr;          ///< cmbNS
    QComboBox* longitudeHemisphere = nullptr;         ///< cmbEW
    QPushButton* recalculateButton = nullptr;         ///< cmdOk
    QPushButton* zoomInButton = nullptr;              ///< cmdMax
    QPushButton* zoomOutButton = nullptr;             ///< cmdMin
    QPushButton* printButton = nullptr;               ///< cmdPrint
    QPushButton* reportButton = nullptr;              ///< Command1, never shown
    QMenu* fileMenu = nullptr;                        ///< mnuFile
    QAction* printAction = nullptr;                   ///< mnuPrint
    QAction* templateAction = nullptr;                ///< mnuTemplate
    QAction* reportAction = nullptr;                  ///< mnuReport
    QAction* dishAction = nullptr;                    ///< mnuDish
    std::array<QLabel*, kSlots> slotHeadings{};       ///< Label1_i: a click opens the links
    std::array<QComboBox*, kSlots> slotSelectors{};   ///< Combo1_i
    std::array<QLabel*, kSlots> resultLabels{};       ///< Label4_i
    std::array<QLineEdit*, kSlots> diameterFields{};  ///< diam_i, mm
    std::array<QLabel*, kPanelBoxes> panelBoxes{};    ///< Label500_k
    DiagramView* diagram = nullptr;
    CompassView* panelCompass = nullptr;  ///< the lower panel's compass and letters

    // Triggers.
    void RecalculateAll();        ///< recalculateButton
    void ZoomIn();                ///< zoomInButton
    void ZoomOut();               ///< zoomOutButton
    bool ExportReport();          ///< reportButton; false (and the user told) when not written
    void ExportReportFromMenu();  ///< reportAction: the export, then where the file went
    /// The report file replaced by these lines; false (and the user told) when not written.
    bool WriteReport(const std::vector<std::string>& lines);
    void OpenLinksWindow(int slot);  ///< slotHeadings[slot] clicked
    void PrintMainWindow();          ///< printButton: banner, enlarged, printed, restored
    void PrintFromMenu();            ///< printAction: the print dialog first, then as printButton
    void OpenPictureWindow();        ///< resultLabels[0]: the picture window, modal
    /// templateAction: the print dialog first, then the 1:1 template of the layout as it stands.
    void PrintTemplateFromMenu();
    /// dishAction: the dish's parameters; once changed, kept and every slot recalculated.
    void EditDish();
    const DishSettings& Dish() const { return dish_; }

    /// Closes the window as the system asked (SIGTERM, SIGHUP): the save runs, but a failure is
    /// not shown in a box that would hold up the end.
    void CloseOnRequest();

    /// The desktop asks for the data to be saved before a logout (or a Windows logoff): the
    /// settings are saved as on closing, and the window stays open. A failure goes to the error
    /// output, not into a box that would hold up the logout.
    void CommitSessionData();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenu();
    void BuildTopGroup(QWidget* client);
    void BuildSlotGroup(QWidget* client);
    void BuildDiagramGroup(QWidget* client);
    void BuildTickerGroup(QWidget* client);
    void BuildPanel(QWidget* client);
    void LayOutSlots();
    void NameControls();  ///< the Russian accessible name of every control
    void LoadCatalogue(LoadResult loaded);
    void ConnectRules();
    void WatchSettings();
    SettingsTexts CurrentSettings() const;  ///< the five fields as the file stores them

    // Change rules.
    void OnCoordinateChanged(QLineEdit* field);
    void OnDiameterChanged(int slot);
    void OnSelectorEdited(int slot);
    void OnSelectorFocusLost(int slot);
    void OnFocusChanged(QWidget* old, QWidget* now);

    // Slot clearing.
    void ClearSlot(int slot, bool keepLinks);
    void ResetAllSlots();
    void SetSelectorText(int slot, const QString& text);
    void SetSelectorColour(int slot, const QColor& colour);

    void SetOuterHeightTw(double outerTw);
    void FitToScreen();  ///< FitTo the work area of the window's screen, once shown
    /// Writes the settings into the catalogue file; a failure is shown, or only written to the
    /// error output when nobody may be there to close a box.
    void SaveSettings(bool quietly);

    void AfterZoomStep();
    void UpdatePanel(int slot);
    double DiameterMm(int slot) const;

    QWidget* client_ = nullptr;
    MainWindowSetup setup_;
    Notifier* notifier_;
    Printer* printer_;
    CatalogueModel* catalogue_ = nullptr;        ///< the selectors' items and the report list
    std::vector<std::string> settingsLines_;     ///< the settings lines as read
    std::array<QStringList, kSlots> slotLinks_;  ///< links of each slot
    AboutTicker* ticker_ = nullptr;              ///< the about-text running in tickerLabel
    LayoutModel layout_;                         ///< scale, grid and the slots' diagram items
    std::optional<double> centralAzimuthDeg_;
    std::optional<double> centralElevationDeg_;
    DishSettings dish_;
    bool loadFailed_ = false;
    bool closingOnRequest_ = false;
    int resetDepth_ = 0;  ///< nested runs of the central reset change nothing more
};

}  // namespace palquin
