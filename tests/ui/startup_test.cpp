// Start-up of the main window against a temporary folder, its look, its ticker, and the save
// when it closes.
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "ui/ticker.h"
#include "window_fixture.h"

using namespace palquin;
using namespace palquin::testing;

namespace {

const std::string kSettings = "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";

QString Texts(frmMain& w) {
    return QStringList{w.sh->text(), w.cmbNS->currentText(), w.dl->text(), w.cmbEW->currentText(),
                       w.fokus->text()}
        .join(QLatin1Char('|'));
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void missingFileStartsFromDefaultCatalogue() {
        WindowFixture fixture;
        frmMain& w = fixture.Window();
        QVERIFY(fixture.Notifier().messages.empty());
        QVERIFY(fixture.FileBytes().ends_with(kSettings));
        for (QComboBox* selector : w.Combo1) {
            QVERIFY(selector->count() > 0 && selector->count() == w.Combo1[0]->count());
            QCOMPARE(selector->currentText(), QString());
        }
        QCOMPARE(Texts(w), QStringLiteral("55.75|N|37.6|E|600"));
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("Центральный"));
    }

    // A latitude above 180 is refused while the settings are restored, before the window shows,
    // and the emptied field is what gets saved.
    void refusedSettingAtStart() {
        WindowFixture fixture("13;0;E;a;;;\r\n------------------\r\n200\r\nN\r\n37.6\r\nE\r\n600");
        QVERIFY(!fixture.Window().isVisible());
        QCOMPARE(Texts(fixture.Window()), QStringLiteral("|N|37.6|E|600"));
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        fixture.Close();
        QCOMPARE(fixture.FileBytes(),
                 "13;0;E;a;;;\r\n------------------\r\n\r\nN\r\n37.6\r\nE\r\n600\r\n");
    }

    // A folder where the file should be: reported, no catalogue, and left alone at the close.
    void unreadableFileIsReportedAndLeftAlone() {
        WindowFixture fixture("");
        fixture.Close();
        QDir folder(QString::fromStdString(fixture.FolderPath()));
        QVERIFY(folder.remove(QStringLiteral("satellite.txt")));
        QVERIFY(folder.mkdir(QStringLiteral("satellite.txt")));
        fixture.Open();
        QCOMPARE(fixture.Window().Combo1[0]->count(), 0);
        fixture.Close();
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("satellite.txt"))).isDir());
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QCOMPARE(fixture.Notifier().messages[0].text,
                 QStringLiteral("Ошибка в процедуре загрузки!"));
    }

    // Windows-1251 "Экспресс", a UTF-8 line, a blank line and a lone LF come back as they were
    // read, the LF as CR LF.
    void saveKeepsEveryCatalogueByte() {
        const std::string file =
            "80;0;E;\xDD\xEA\xF1\xEF\xF0\xE5\xF1\xF1;;;\r\n"
            "75;0;E;\xD0\x90\xD0\x91;;;\r\n\r\n13;0;E;lf;;;\n" +
            kSettings;
        WindowFixture fixture(file);
        QCOMPARE(fixture.Window().Combo1[0]->count(), 4);
        fixture.Close();
        std::string expected = file;
        expected.replace(expected.find(";;;\n"), 4, ";;;\r\n");
        QCOMPARE(fixture.FileBytes(), expected);
    }

    void failedSaveIsReported() {
        WindowFixture fixture("1;0;E;a;;;\r\n" + kSettings);
        QVERIFY(QDir(QString::fromStdString(fixture.FolderPath())).removeRecursively());
        fixture.Close();
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QVERIFY(fixture.Notifier().messages[0].text.startsWith(
            QStringLiteral("Не удалось сохранить настройки")));
    }

    void windowAsLaidOut() {
        WindowFixture fixture("");
        frmMain& w = fixture.Window();
        QCOMPARE(w.windowTitle(), QStringLiteral("Dorvik - Расчет мультифида v.1.1"));
        // Cells of 2175 twips (145 px) from 120 twips, two rows.
        for (int i = 0; i < frmMain::kSlots; ++i) {
            const int left = 8 + 145 * (i % 5);
            const int top = i < 5 ? 24 : 160;
            QCOMPARE(w.Label1[i]->geometry(), QRect(left, top, 145, w.Combo1[i]->height()));
            QCOMPARE(w.Combo1[i]->pos(), QPoint(left, top + 24));
            QCOMPARE(w.Label4[i]->geometry(), QRect(left, top + 48, 145, 72));
            QCOMPARE(w.diam[i]->geometry().right() + 1, left + 145 - 3);  // 50 twips inside
        }
        QCOMPARE(w.Frame6->y(), 600);  // 30 twips above the client area's lower edge
        QCOMPARE(w.centralWidget()->height(), 602);
        // Panel boxes of 1995 x 855 twips: even ones in the top row, odd ones below.
        QCOMPARE(w.Label500[3]->geometry(), QRect(264, 72, 133, 57));
        QCOMPARE(w.Label500[6]->geometry(), QRect(536, 16, 133, 57));
    }

    void colours() {
        WindowFixture fixture("");
        frmMain& w = fixture.Window();
        w.Ticker().Tick();
        const QImage image = w.centralWidget()->grab().toImage();
        const auto at = [&](QWidget* widget, QPoint inside) {
            return image.pixelColor(widget->mapTo(w.centralWidget(), inside));
        };
        for (QGroupBox* group : {w.Frame2, w.Frame4, w.Frame1, w.Frame5}) {
            const bool lilac = group == w.Frame2 || group == w.Frame4;
            QCOMPARE(at(group, QPoint(group->width() - 3, group->height() / 2)),
                     lilac ? QColor(192, 192, 255) : QColor(Qt::white));
        }
        QCOMPARE(at(w.Label1[4], QPoint(3, 3)), QColor(224, 224, 224));
        QCOMPARE(at(w.diam[7], QPoint(w.diam[7]->width() - 4, 4)), QColor(255, 192, 192));
        QCOMPARE(at(w.Label9, QPoint(1, 1)), QColor(Qt::black));
        int yellow = 0;
        for (int x = 0; x < w.Label9->width(); ++x) {
            yellow += at(w.Label9, QPoint(x, w.Label9->height() / 2)) == QColor(255, 255, 0);
        }
        QVERIFY(yellow > 0);
    }

    // Empty for the first tick period, ten lines, one empty tick, again; the timer drives it.
    void tickerCycle() {
        WindowFixture fixture("");
        AboutTicker& ticker = fixture.Window().Ticker();
        QLabel* label = fixture.Window().Label9;
        QCOMPARE(label->text(), QString());
        for (int tick = 0; tick < 22; ++tick) {
            ticker.Tick();
            QCOMPARE(label->text(), tick % 11 < 10 ? ticker.Lines().at(tick % 11) : QString());
        }
        ticker.Timer().setInterval(1);
        QTRY_VERIFY(ticker.Index() > 0);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
