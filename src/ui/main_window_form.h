// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "layout/slot_texts.h"

class QAbstractItemModel;
class QAction;
class QColor;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QObject;
class QPushButton;
class QScrollArea;
class QWidget;

namespace palquin {

class CompassView;
class DiagramView;
class LayoutModel;

/// The main window's elements: built, placed at their fixed places (twips) and named. Each
/// element carries its classic name as its objectName ("Combo1_3" for the fourth slot
/// selector), by which tests and accessibility tools find it. The window owns its form privately;
/// the form holds no state of its own beyond the elements.
struct MainWindowForm {
    static constexpr int kSlots = 10;
    static constexpr int kPanelBoxes = kPanelBoxCount;

    QScrollArea* clientScroll = nullptr;    ///< the client area, scrolled where the screen is small
    QGroupBox* slotGroup = nullptr;         ///< Frame1
    QGroupBox* siteGroup = nullptr;         ///< Frame2
    QFrame* rowDivider = nullptr;           ///< Frame3
    QGroupBox* diagramGroup = nullptr;      ///< Frame4
    QGroupBox* tickerGroup = nullptr;       ///< Frame5
    QFrame* panelFrame = nullptr;           ///< Frame6
    QLabel* latitudeCaption = nullptr;      ///< Label2
    QLabel* longitudeCaption = nullptr;     ///< Label3
    QLabel* focalLengthCaption = nullptr;   ///< Label5
    QLabel* focalLengthUnit = nullptr;      ///< Label6
    QLabel* recalculateHint = nullptr;      ///< Label7
    QLabel* tickerLabel = nullptr;          ///< Label9
    QLabel* printBanner = nullptr;          ///< Label10
    QLabel* scaleLabel = nullptr;           ///< LblMashtab
    QLineEdit* latitudeField = nullptr;     ///< sh
    QLineEdit* longitudeField = nullptr;    ///< dl
    QLineEdit* focalLengthField = nullptr;  ///< fokus
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

    void BuildMenu(QMenuBar* bar);
    void BuildTopGroup(QWidget* client);
    /// The selectors list catalogue; clicks watches the headings and the results for clicks.
    void BuildSlotGroup(QWidget* client, QAbstractItemModel* catalogue, QObject* clicks);
    void BuildDiagramGroup(QWidget* client, const LayoutModel* layout);
    void BuildTickerGroup(QWidget* client);
    void BuildPanel(QWidget* client);
    void LayOutSlots();
    void NameControls();  ///< the Russian accessible name of every control
};

/// The colour of the text in a selector's line.
void SetSelectorTextColour(QComboBox* selector, const QColor& colour);

}  // namespace palquin
