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
};

/// The main window. Elements carry their names as members and as objectNames ("Combo1_3" for
/// Combo1(3)). All state lives in the elements and in e0, u0, msh (the diagram model) and li
/// (the ticker).
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
    std::optional<double> e0() const { return e0_; }
    std::optional<double> u0() const { return u0_; }
    const LayoutModel& Layout() const { return layout_; }
    const AboutTicker& Ticker() const { return *ticker_; }
    AboutTicker& Ticker() { return *ticker_; }
    const std::vector<std::string>& SettingsLines() const { return settingsLines_; }  // List2
    const QStringList& Links(int slot) const { return List4[static_cast<size_t>(slot)]; }
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
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QFrame* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QFrame* Frame6 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* LblMashtab = nullptr;
    QLineEdit* sh = nullptr;
    QLineEdit* dl = nullptr;
    QLineEdit* fokus = nullptr;
    QComboBox* cmbNS = nullptr;
    QComboBox* cmbEW = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdMax = nullptr;
    QPushButton* cmdMin = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* Command1 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuTemplate = nullptr;
    QAction* mnuReport = nullptr;
    QAction* mnuDish = nullptr;
    std::array<QLabel*, kSlots> Label1{};
    std::array<QComboBox*, kSlots> Combo1{};
    std::array<QLabel*, kSlots> Label4{};
    std::array<QLineEdit*, kSlots> diam{};
    std::array<QLabel*, kPanelBoxes> Label500{};
    DiagramView* diagram = nullptr;
    CompassView* panelCompass = nullptr;  ///< Shape100, Line100, Line200, Line300 and letters

    // Triggers.
    void RecalculateAll();        ///< cmdOk
    void ZoomIn();                ///< cmdMax
    void ZoomOut();               ///< cmdMin
    bool ExportReport();          ///< Command1; false (and the user told) when not written
    void ExportReportFromMenu();  ///< mnuReport: the export, then where the file went
    /// The report file replaced by these lines; false (and the user told) when not written.
    bool WriteReport(const std::vector<std::string>& lines);
    void OpenLinksWindow(int slot);  ///< Label1(slot) clicked
    void PrintMainWindow();          ///< cmdPrint: banner, enlarged, printed, restored
    void PrintFromMenu();            ///< mnuPrint: the print dialog first, then as cmdPrint
    void OpenPictureWindow();        ///< Label4(0): the picture window, modal
    /// mnuTemplate: the print dialog first, then the 1:1 template of the layout as it stands.
    void PrintTemplateFromMenu();
    /// mnuDish: the dish's parameters; once changed, kept and every slot recalculated.
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
    CatalogueModel* catalogue_ = nullptr;     ///< the selectors' items and the report list (List1)
    std::vector<std::string> settingsLines_;  ///< List2
    std::array<QStringList, kSlots> List4;    ///< links of each slot
    AboutTicker* ticker_ = nullptr;           ///< List3, li, Timer1, Label9
    LayoutModel layout_;                      ///< msh, grid and the slots' diagram items
    std::optional<double> e0_;
    std::optional<double> u0_;
    DishSettings dish_;
    bool loadFailed_ = false;
    bool closingOnRequest_ = false;
    int resetDepth_ = 0;  ///< nested runs of the central reset change nothing more
};

}  // namespace palquin
