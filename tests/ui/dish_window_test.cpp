// SPDX-License-Identifier: GPL-3.0-or-later
// "Параметры зеркала…": the dialog, the settings it keeps, and the window with «Точная геометрия»
// on and off.
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include "common/window_fixture.h"
#include "ui/dish_dialog.h"

using namespace palquin::testing_support;

namespace palquin {

class DishWindowTest : public QObject {
    Q_OBJECT
  private slots:
    // The dialog gives what its fields say; a width or angle the model cannot take keeps it open.
    void dialogFields() {
        DishDialog dialog(DishSettings{});
        auto* type = Find<QComboBox>(dialog, "dishType");
        auto* width = Find<QLineEdit>(dialog, "dishWidth");
        auto* angle = Find<QLineEdit>(dialog, "offsetAngle");
        auto* precise = Find<QCheckBox>(dialog, "preciseGeometry");
        QCOMPARE(width->text(), "800");
        QCOMPARE(angle->text(), "24");
        QVERIFY(!precise->isChecked());

        width->setText("1200");
        precise->setChecked(true);
        type->setCurrentIndex(1);
        QVERIFY2(!angle->isEnabled(), "a prime-focus dish has no offset angle");
        std::optional<DishSettings> settings = dialog.Settings();
        QVERIFY(settings && settings->precise && settings->type == DishType::PrimeFocus);
        QCOMPARE(settings->widthMm, 1200.0);

        type->setCurrentIndex(0);
        for (const char* bad : {"0", "-5", "abc", "1e9"}) {
            width->setText(bad);
            QVERIFY2(!dialog.Settings(), bad);
        }
        width->setText("800");
        angle->setText("85");
        QVERIFY(!dialog.Settings());
        dialog.accept();
        QVERIFY2(dialog.result() != QDialog::Accepted, "a bad angle must keep the dialog open");
    }

    // Kept in a settings file of its own; a file with nonsense in it gives the defaults.
    void settingsRoundTrip() {
        QTemporaryDir dir;
        const std::filesystem::path file = dir.filePath("palquin.ini").toStdString();
        QVERIFY(SaveDishSettings({DishType::PrimeFocus, 1100.0, 20.0, true}, file));
        const DishSettings read = LoadDishSettings(file);
        QVERIFY(read.type == DishType::PrimeFocus && read.precise);
        QCOMPARE(read.widthMm, 1100.0);
        QCOMPARE(read.offsetAngleDeg, 20.0);

        // A file of its own: Qt keeps what it read of a settings file for the process's life.
        const std::filesystem::path mistyped = dir.filePath("mistyped.ini").toStdString();
        QFile nonsense(QString::fromStdString(mistyped.string()));
        QVERIFY(nonsense.open(QIODevice::WriteOnly));
        nonsense.write("[dish]\ntype=round\nwidthMm=-3\noffsetAngleDeg=nan\nprecise=maybe\n");
        nonsense.close();
        const DishSettings defaults = LoadDishSettings(mistyped);
        QVERIFY(defaults.type == DishType::Offset && !defaults.precise);
        QCOMPARE(defaults.widthMm, 800.0);
        QCOMPARE(defaults.offsetAngleDeg, 24.0);
    }

    // Off: the results label of 13 E is the window's own. On: the dish's place with its compass
    // and up/down words, the depth and the loss, the marker moved to where --layout --precise
    // puts it, the loss warned of in the diagram and the switch kept. Off again: as before.
    void switchOnAndOff() {
        WindowFixture fixture(SampleFile({"36;0;E;Eutelsat 36;;;", "13;0;E;Hot Bird;;;"}));
        MainWindow& window = fixture.Window();
        Choose(window, 0, 0);
        Choose(window, 2, 1);
        const QString plainLabel = TextOf(window, "Label4_2");
        QVERIFY2(plainLabel.contains("Горизонталь:  272.823 мм."),
                 qPrintable("Label4_2: " + plainLabel));
        const PointMm plainCentre = window.Layout().SlotMm(2)->centre;

        DishSettings on;
        on.precise = true;
        QVERIFY(SaveDishSettings(on, fixture.DishSettingsPath()));
        fixture.Open();
        MainWindow& precise = fixture.Window();
        Choose(precise, 0, 0);
        Choose(precise, 2, 1);
        // 13 E is west of 36 E: the dish puts it east and up, in the smaller type of seven lines.
        auto* results = Find<QLabel>(precise, "Label4", 2);
        const QStringList lines = results->text().split("\r\n");
        QVERIFY2(lines.size() == 7 && lines[2].endsWith(" мм. восток") &&
                     lines[3].endsWith(" мм. вверх") && results->font().pointSizeF() == 6.0,
                 qPrintable("Label4_2: " + results->text()));
        QVERIFY(precise.Layout().WarningLine().starts_with("E 13.0: потери \u2212"));

        // The same place as the command line gives for the same inputs.
        QProcess layout;
        layout.start(PALQUIN_EXECUTABLE, {"--layout", "--central", "36E", "--extra", "13E",
                                          "--latitude", "55.75", "--longitude", "37.6", "--focal",
                                          "600", "--dish-width", "800", "--precise", "--json"});
        QVERIFY(layout.waitForFinished(60000));
        const QJsonObject west =
            QJsonDocument::fromJson(layout.readAllStandardOutput())["converters"][1].toObject();
        const PointMm centre = precise.Layout().SlotMm(2)->centre;
        QVERIFY2(std::abs(centre.xMm - west["xMm"].toDouble()) < 0.051 &&
                     std::abs(-centre.yMm - west["yMm"].toDouble()) < 0.051,
                 qPrintable(QString("window %1, %2; --layout %3, %4")
                                .arg(centre.xMm)
                                .arg(-centre.yMm)
                                .arg(west["xMm"].toDouble())
                                .arg(west["yMm"].toDouble())));
        QVERIFY(std::abs(centre.xMm - plainCentre.xMm) > 1.0);

        // The seam stands in for the modal dialog.
        fixture.Open([](MainWindowSetup& setup) {
            setup.editDish = [](const DishSettings& current, QWidget*) {
                DishSettings changed = current;
                changed.precise = false;
                return std::optional(changed);
            };
        });
        MainWindow& again = fixture.Window();
        QVERIFY(again.Dish().precise);
        Choose(again, 0, 0);
        Choose(again, 2, 1);
        again.EditDish();
        COMPARE_TEXT(again, "Label4_2", plainLabel);
        QVERIFY2(Find<QLabel>(again, "Label4", 2)->font().pointSizeF() == 7.0, "Label4_2's type");
        QCOMPARE(again.Layout().WarningLine(), "");
        QCOMPARE(again.Layout().SlotMm(2)->centre.xMm, plainCentre.xMm);
        QVERIFY(!LoadDishSettings(fixture.DishSettingsPath()).precise);
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::DishWindowTest)
#include "dish_window_test.moc"
