// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QTimeZone>
#include <functional>
#include <optional>

#include "calc/geo.h"

class QLabel;
class QPushButton;

namespace palquin {

class CompassView;
class Notifier;
class Printer;

/// Where and when the aiming lines under the caption are for: the site as the main window's
/// fields read when the window opens, and the clock and time zone of the computer (a test hands
/// in its own, so nothing depends on today or on the machine's zone).
struct PictureAimSetup {
    std::optional<GeoPosition> site = std::nullopt;  ///< none: no aiming lines
    std::function<QDateTime()> now = {};             ///< empty: the system clock
    QTimeZone zone = QTimeZone::systemTimeZone();
};

/// "Часовой пояс: Europe/Moscow (UTC+03:00)": the zone and its offset at that moment.
QString TimeZoneTip(const QTimeZone& zone, const QDateTime& at);

/// The picture window: a compass with a needle towards the central satellite and a caption with
/// its azimuth and selector text, plus a tiny print button. It reads the central azimuth and the
/// selector text once, when it is made, and does not follow later changes. A click on the
/// background or on the caption closes it; the four letters take clicks and do nothing.
class PictureDialog : public QDialog {
    Q_OBJECT
  public:
    /// The client area, twips, without the strip of the aiming lines below it.
    static constexpr double kWidthTw = 4755.0;
    static constexpr double kHeightTw = 1980.0;

    /// centralAzimuthDeg is e0 (unset or 0: no central result, the compass stays empty).
    PictureDialog(std::optional<double> centralAzimuthDeg, const QString& centralEntryText,
                  Printer* printer, Notifier* notifier, QWidget* parent = nullptr,
                  const PictureAimSetup& aim = {});

    /// printButton: prints the window as it stands; a failure is reported and changes nothing.
    void Print();

    CompassView* compass = nullptr;  ///< the compass with its needle and the four letters
    QLabel* captionLabel = nullptr;
    /// The magnetic azimuth and the sun's time at the site today, in a strip below the compass
    /// and the caption by which the window grows; empty and hidden (no strip) without a central
    /// result or a site.
    QLabel* aimLabel = nullptr;
    QPushButton* printButton = nullptr;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void ShowAim(double trueAzimuthDeg, const PictureAimSetup& aim);

    Printer* printer_;
    Notifier* notifier_;
    bool pressed_ = false;  ///< a press on the background that a release turns into a click
};

}  // namespace palquin
