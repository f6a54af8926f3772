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
#include "ui/main_window_form.h"

namespace palquin {

class AboutTicker;
class CatalogueModel;
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

/// The main window. Its elements are its form's, private: others find them by their objectName
/// ("Combo1_3" for the fourth slot selector), as tests and accessibility tools do. All state lives
/// in the elements, in the central pointing, in the layout model and in the ticker.
class MainWindow : public QMainWindow, private MainWindowForm {
    Q_OBJECT
  public:
    using MainWindowForm::kPanelBoxes;
    using MainWindowForm::kSlots;
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
    /// The satellites group's tool tip, shown as written: a file's path may look like markup.
    void SetSatellitesHint(const QString& plainText);
    /// The outer height the client area stands for, twips.
    double OuterHeightTw() const;
    /// The client area with every element, laid out at its fixed size; it scrolls inside
    /// clientScroll when the window does not fit the screen.
    QWidget* Client() const { return client_; }

    /// Sizes the window to its client area and menu, or, where that is larger than available
    /// (the screen's work area, frame included), to what is available, with scroll bars for the
    /// rest.
    void FitTo(const QRect& available);

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
