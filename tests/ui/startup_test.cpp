// Start-up of the main window against a temporary folder, and the save when it closes.
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "ui/field_rules.h"
#include "ui/ticker.h"
#include "window_fixture.h"

using palquin::frmMain;
using palquin::testing::WindowFixture;

namespace {

const std::string kSettings = "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void missingFileStartsFromDefaultCatalogue() {
        WindowFixture fixture;
        frmMain& w = fixture.Window();
        QVERIFY(fixture.Notifier().messages.empty());
        QVERIFY(fixture.FileBytes().find("------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600") !=
                std::string::npos);
        QVERIFY(w.Combo1[0]->count() >= 20);
        for (QComboBox* selector : w.Combo1) {
            QCOMPARE(selector->count(), w.Combo1[0]->count());
            QCOMPARE(selector->currentIndex(), -1);
            QCOMPARE(selector->currentText(), QString());
        }
        QCOMPARE(w.sh->text(), QStringLiteral("55.75"));
        QCOMPARE(w.cmbNS->currentText(), QStringLiteral("N"));
        QCOMPARE(w.dl->text(), QStringLiteral("37.6"));
        QCOMPARE(w.cmbEW->currentText(), QStringLiteral("E"));
        QCOMPARE(w.fokus->text(), QStringLiteral("600"));
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("Центральный"));
        QVERIFY(!w.e0().has_value());
    }

    void emptyFileGivesEmptyCatalogueAndFields() {
        WindowFixture fixture("");
        frmMain& w = fixture.Window();
        QCOMPARE(w.Combo1[9]->count(), 0);
        QCOMPARE(w.sh->text(), QString());
        QCOMPARE(w.fokus->text(), QString());
        w.fokus->setText(QStringLiteral("900"));
        fixture.Close();
        QCOMPARE(fixture.FileBytes(), std::string("------------------\r\n\r\n\r\n\r\n\r\n900\r\n"));
    }

    void outOfRangeLatitudeIsReportedBeforeTheWindowShows() {
        WindowFixture fixture(
            "13;0;E;Hot Bird;;;\r\n------------------\r\n200\r\nN\r\n37.6\r\nE\r\n600\r\n");
        frmMain& w = fixture.Window();
        QVERIFY(!w.isVisible());
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QCOMPARE(fixture.Notifier().messages[0].text,
                 QStringLiteral("Диапазон координат: от 0° до 180°!"));
        QCOMPARE(fixture.Notifier().messages[0].title, QStringLiteral("Palquin"));
        QCOMPARE(w.sh->text(), QString());
        QCOMPARE(w.dl->text(), QStringLiteral("37.6"));
        fixture.Close();
        QCOMPARE(fixture.FileBytes(), std::string("13;0;E;Hot Bird;;;\r\n------------------\r\n\r\n"
                                                  "N\r\n37.6\r\nE\r\n600\r\n"));
    }

    void fileWithoutSeparatorGainsOne() {
        WindowFixture fixture("1;0;E;a;;;\r\n2;0;E;b;;;");
        frmMain& w = fixture.Window();
        QCOMPARE(w.Combo1[0]->count(), 2);
        QVERIFY(w.SettingsLines().empty());
        QCOMPARE(w.sh->text(), QString());
        w.sh->setText(QStringLiteral("50"));
        fixture.Close();
        QCOMPARE(fixture.FileBytes(),
                 std::string(
                     "1;0;E;a;;;\r\n2;0;E;b;;;\r\n------------------\r\n50\r\n\r\n\r\n\r\n\r\n"));
    }

    void linesAfterTheFifthSettingAreDropped() {
        WindowFixture fixture("1;0;E;a;;;\r\n" + kSettings + "extra\r\n------------------\r\n");
        QCOMPARE(fixture.Window().SettingsLines().size(), size_t{7});
        QCOMPARE(fixture.Window().fokus->text(), QStringLiteral("600"));
        fixture.Close();
        QCOMPARE(fixture.FileBytes(), "1;0;E;a;;;\r\n" + kSettings);
    }

    void unreadableFileIsReportedAndLeftAlone() {
        WindowFixture fixture(static_cast<const char*>(nullptr));
        fixture.Close();
        QDir folder(QString::fromStdString(fixture.FolderPath()));
        QVERIFY(folder.remove(QStringLiteral("satellite.txt")));
        QVERIFY(folder.mkdir(QStringLiteral("satellite.txt")));
        fixture.Notifier().messages.clear();
        fixture.Open();
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QCOMPARE(fixture.Notifier().messages[0].text,
                 QStringLiteral("Ошибка в процедуре загрузки!"));
        QCOMPARE(fixture.Window().Combo1[0]->count(), 0);
        fixture.Close();
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("satellite.txt"))).isDir());
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
    }

    void saveKeepsEveryCatalogueByte() {
        // Windows-1251 "Экспресс", a UTF-8 line as a Linux editor writes it, a blank line and a
        // line that ends in a lone LF.
        const std::string file =
            "80;0;E;\xDD\xEA\xF1\xEF\xF0\xE5\xF1\xF1 80;;;\r\n"
            "75;0;E;\xD0\x90\xD0\x91\xD0\xA1-2;;;\r\n"
            "\r\n"
            "13;0;E;lf;;;\n" +
            kSettings;
        WindowFixture fixture(file);
        frmMain& w = fixture.Window();
        QCOMPARE(w.Combo1[0]->count(), 4);
        QCOMPARE(w.Combo1[0]->itemText(0), QStringLiteral("80;0;E;Экспресс 80;;;"));
        QCOMPARE(w.Combo1[0]->itemText(1), QStringLiteral("75;0;E;АБС-2;;;"));
        QCOMPARE(w.Combo1[0]->itemText(2), QString());
        fixture.Close();
        std::string expected = file;
        expected.replace(expected.find(";;;\n"), 4, ";;;\r\n");
        QCOMPARE(fixture.FileBytes(), expected);
    }

    void catalogueEditedOrRemovedWhileRunning() {
        WindowFixture fixture("1;0;E;a;;;\r\n" + kSettings);
        fixture.WriteFile("1;0;E;a;;;\r\n2;0;E;added in an editor;;;\r\n" + kSettings);
        fixture.Window().fokus->setText(QStringLiteral("700"));
        fixture.Close();
        QVERIFY(fixture.FileBytes().find("added in an editor") != std::string::npos);
        QVERIFY(fixture.FileBytes().find("\r\n700\r\n") != std::string::npos);

        fixture.Open();
        QVERIFY(QFile::remove(QString::fromStdString(fixture.FolderPath() + "/satellite.txt")));
        fixture.Close();
        QCOMPARE(fixture.FileBytes(),
                 "1;0;E;a;;;\r\n2;0;E;added in an editor;;;\r\n------------------\r\n55.75\r\nN\r\n"
                 "37.6\r\nE\r\n700\r\n");
    }

    void failedSaveIsReported() {
        WindowFixture fixture("1;0;E;a;;;\r\n" + kSettings);
        QVERIFY(QDir(QString::fromStdString(fixture.FolderPath())).removeRecursively());
        fixture.Close();
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QVERIFY(fixture.Notifier().messages[0].text.startsWith(
            QStringLiteral("Не удалось сохранить настройки")));
        QCOMPARE(fixture.Notifier().messages[0].title, QStringLiteral("Palquin"));
    }

    void elementsCarryTheirTextsAndColours() {
        WindowFixture fixture("");
        frmMain& w = fixture.Window();
        QCOMPARE(w.windowTitle(), QStringLiteral("Dorvik - Расчет мультифида v.1.1"));
        QCOMPARE(w.mnuFile->title(), QStringLiteral("Файл"));
        QCOMPARE(w.mnuPrint->text(), QStringLiteral("печать"));
        QCOMPARE(w.Label3->text(), QStringLiteral("°    Долгота:"));
        QCOMPARE(w.Label5->text(), QStringLiteral("°    Фокусное расстояние:"));
        QCOMPARE(w.Frame2->title(),
                 QStringLiteral("Координаты места (указываются в градусах, минуты  и секунды "
                                "необходимо перевести в десятичную систему счисления)"));
        QCOMPARE(w.Frame4->title(),
                 QStringLiteral("Расположение конвертеров (вид от хвоста, одно деление=20 мм.)"));
        QCOMPARE(w.cmdOk->toolTip(), QStringLiteral("Пересчет"));
        QCOMPARE(w.cmdMax->toolTip(), QStringLiteral("Увеличить"));
        QCOMPARE(w.cmdMin->toolTip(), QStringLiteral("Уменьшить"));
        QCOMPARE(w.cmdPrint->text(), QStringLiteral("Print"));
        QCOMPARE(w.LblMashtab->text(), QStringLiteral("1x1"));
        QVERIFY(w.Label10->isHidden());
        QVERIFY(w.Command1->isHidden());
        QVERIFY(!w.Label10->text().isEmpty());
        QVERIFY(w.Label7->styleSheet().contains(QStringLiteral("rgb(255,0,0)")));
        QVERIFY(w.Label9->styleSheet().contains(QStringLiteral("rgb(255,255,0)")));
        QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("Combo1_3")), w.Combo1[3]);
        QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("diam_7")), w.diam[7]);
        for (int i = 0; i < frmMain::kSlots; ++i) {
            QCOMPARE(w.diam[i]->text(), QStringLiteral("50"));
            QCOMPARE(w.diam[i]->toolTip(), QStringLiteral("Диаметр конвертера (мм.)"));
            QCOMPARE(w.Combo1[i]->lineEdit()->palette().color(QPalette::Text), QColor(0, 0, 192));
        }
        // Menu actions never end the program.
        w.mnuPrint->trigger();
        QVERIFY(fixture.Notifier().messages.empty());
    }

    void slotCellsFollowTheColumnRule() {
        WindowFixture fixture("");
        frmMain& w = fixture.Window();
        const int column = (w.Frame1->width() * 15 - 240) / 5 / 15;  // 2175 twips
        QCOMPARE(column, 145);
        for (int i = 0; i < frmMain::kSlots; ++i) {
            const int left = 8 + column * (i % 5);  // 120 twips
            QCOMPARE(w.Label1[i]->x(), left);
            QCOMPARE(w.Combo1[i]->x(), left);
            QCOMPARE(w.Label4[i]->x(), left);
            QCOMPARE(w.Label1[i]->width(), column);
            QCOMPARE(w.Label1[i]->height(), w.Combo1[i]->height());
            QCOMPARE(w.Label4[i]->height(), 72);  // 1080 twips
            QCOMPARE(w.Label1[i]->y(), i < 5 ? 24 : 160);
            QCOMPARE(w.Combo1[i]->y(), i < 5 ? 48 : 184);
            QCOMPARE(w.Label4[i]->y(), i < 5 ? 72 : 208);
            QCOMPARE(w.diam[i]->y(), i < 5 ? 128 : 263);
            QCOMPARE(w.diam[i]->geometry().right() + 1, left + column - 3);  // 50 twips inside
        }
        QCOMPARE(w.Frame6->y(), 600);  // starts 30 twips above the client area's lower edge
        QCOMPARE(w.centralWidget()->height(), 602);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
