#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QPushButton;

namespace palquin {

class CompassView;
class Notifier;
class Printer;

/// The picture window: a compass with a needle towards the central satellite and a caption with
/// its azimuth and selector text, plus a tiny print button. It reads the central azimuth and the
/// selector text once, when it is made, and does not follow later changes. A click on the
/// background or on the caption closes it; the four letters take clicks and do nothing.
class frmpicture : public QDialog {
    Q_OBJECT
  public:
    /// The client area, twips.
    static constexpr double kWidthTw = 4755.0;
    static constexpr double kHeightTw = 1980.0;

    /// centralAzimuthDeg is e0 (unset or 0: no central result, the compass stays empty).
    frmpicture(std::optional<double> centralAzimuthDeg, const QString& centralEntryText,
               Printer* printer, Notifier* notifier, QWidget* parent = nullptr);

    /// Prt: prints the window as it stands; a failure is reported and changes nothing.
    void Print();

    CompassView* compass = nullptr;  ///< Shape1, Line1, Line2, Line3 and the four letters
    QLabel* Label5 = nullptr;
    QPushButton* Prt = nullptr;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Printer* printer_;
    Notifier* notifier_;
    bool pressed_ = false;  ///< a press on the background that a release turns into a click
};

}  // namespace palquin
