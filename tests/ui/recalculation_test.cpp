// RecalculateSlot through the window: texts, colours, links, the diagram and the lower panel.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "diagram/compass_view.h"
#include "window_fixture.h"

using palquin::frmMain;
using palquin::testing::Choose;
using palquin::testing::SampleFile;
using palquin::testing::WindowFixture;

namespace {

enum Row { kSatA, kSatB, kSatC, kShortTail, kLongTail, kWest, kNoPosition, kSevenSemicolons };

const std::vector<std::string> kEntries = {
    "36;0;E;Sat A;a0;b0;c0",  "13;0;E;Sat B;a;b;c", "140;0;E;Sat C;;;", "13;0;E;Sat B;a;b",
    "13;0;E;Sat D;a;b;c;d;e", "5;0;W;Sat W;;;",     "no position here", "75;0;E;Sat E;x;y;z;w",
};

const QString kCentralResults = QStringLiteral(
    "Азимут:  181.935°\r\nУгол места:  26.463°\r\nПоворот конв. 1.1°\r\n\r\nКликни здесь!");
const QString kSlot2Results = QStringLiteral(
    "Азимут:  208.981°\r\nУгол места:  22.773°\r\nГоризонталь:  272.823 мм.\r\n"
    "Вертикаль:  38.621 мм.\r\nПоворот конв. 15.8°");

constexpr double kTwipTolerance = 0.01;

bool Near(double actual, double expected, double tolerance = kTwipTolerance) {
    return std::abs(actual - expected) <= tolerance;
}

QColor SelectorColour(frmMain& w, int slot) {
    return w.Combo1[static_cast<size_t>(slot)]->lineEdit()->palette().color(QPalette::Text);
}

}  // namespace

class RecalculationTest : public QObject {
    Q_OBJECT

  private slots:
    void centralSlot() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        QVERIFY(fixture.Notifier().messages.empty());
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("E 36.0"));
        QCOMPARE(w.Label4[0]->text(), kCentralResults);
        QVERIFY(Near(*w.e0(), 181.935, 5e-4));
        QVERIFY(Near(*w.u0(), 26.463, 5e-4));
        QCOMPARE(w.Links(0), (QStringList{"a0", "b0", "c0"}));
        QCOMPARE(SelectorColour(w, 0), QColor(0, 0, 192));
        QCOMPARE(w.Label500[0]->text(), QStringLiteral("181.9°\r\n36;0;E;Sat A;a0;b0;c0"));
        QVERIFY(w.panelCompass->Layout().needle.visible);
        const palquin::SlotDrawing& central = w.Layout().Slot(0);
        QVERIFY(central.marker.visible && central.caption.visible && central.rotationLine.visible);
        QCOMPARE(central.captionText, std::string("E 36.0"));
        QVERIFY(Near(central.marker.CenterXTw(), 5650) && Near(central.marker.CenterYTw(), 1567.5));
    }

    void extraSlotAfterTheCentralOne() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        QCOMPARE(w.Label1[2]->text(), QStringLiteral("E 13.0"));
        QCOMPARE(w.Label4[2]->text(), kSlot2Results);
        QCOMPARE(w.Label4[0]->text(), kCentralResults);
        QCOMPARE(w.Links(2), (QStringList{"a", "b", "c"}));
        QCOMPARE(w.Label500[2]->text(), QStringLiteral("13;0;E;Sat B;a;b;c"));
        // The marker sits right of and above the centre, as the worked layout says.
        const palquin::SlotDrawing& slot = w.Layout().Slot(2);
        QVERIFY2(
            Near(slot.marker.leftTw, 8128.23) && Near(slot.marker.topTw, 931.29),
            qPrintable(QStringLiteral("%1 %2").arg(slot.marker.leftTw).arg(slot.marker.topTw)));
        QVERIFY(Near(slot.rotationLine.x1Tw, 8241.88) && Near(slot.rotationLine.y2Tw, 1662.34));
        QVERIFY(slot.crossX.visible && slot.crossY.visible && slot.caption.visible);
    }

    void invisibleSatelliteIsAnnouncedThenRed() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        QColor colourDuringMessage;
        fixture.Notifier().onShow = [&](const auto&) {
            colourDuringMessage = SelectorColour(w, 3);
        };
        Choose(w, 3, kSatC);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        const auto& message = fixture.Notifier().messages[0];
        QCOMPARE(message.text,
                 QStringLiteral("Для указанного места приема спутник 140;0;E;Sat C;;; не виден!"));
        QCOMPARE(message.title, QStringLiteral("!!!!!"));
        QCOMPARE(message.icon, palquin::MessageIcon::Information);
        QCOMPARE(colourDuringMessage, QColor(0, 0, 192));
        QCOMPARE(SelectorColour(w, 3), QColor(255, 0, 0));
        QVERIFY(w.Label4[3]->text().startsWith(
            QStringLiteral("Азимут:  259.7°\r\nУгол места: -15.318°\r\nГоризонталь: ")));
        QVERIFY(w.Label4[3]->text().contains(QStringLiteral("Поворот конв.")));
        // Choosing a visible satellite turns the text dark blue again.
        Choose(w, 3, kSatB);
        QCOMPARE(SelectorColour(w, 3), QColor(0, 0, 192));
    }

    void entriesThatFailPartWay_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("links");
        QTest::newRow("no position") << int(kNoPosition) << QString() << QStringList{};
        QTest::newRow("two ; in the tail") << int(kShortTail) << "E 13.0" << QStringList{"a"};
        QTest::newRow("five ; in the tail") << int(kLongTail) << "E 13.0" << QStringList{};
    }
    void entriesThatFailPartWay() {
        QFETCH(int, row);
        QFETCH(QString, heading);
        QFETCH(QStringList, links);
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        const palquin::SlotDrawing before = w.Layout().Slot(4);
        Choose(w, 4, row);
        QCOMPARE(w.Label1[4]->text(), heading);
        QCOMPARE(w.Links(4), links);
        QCOMPARE(w.Label4[4]->text(), QString());
        QCOMPARE(w.Label500[4]->text(), QString());
        QCOMPARE(w.Layout().Slot(4).marker.visible, before.marker.visible);
    }

    void sevenSemicolonsKeepTheLastInsideLinkThree() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 1, kSevenSemicolons);
        QCOMPARE(w.Links(1), (QStringList{"x", "y", "z;w"}));
        QVERIFY(w.Label4[1]->text().contains(QStringLiteral("Горизонталь:  422.058 мм.")));
    }

    void rotationDoesNotDependOnHowThePositionIsWritten() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 5, kWest);
        QVERIFY2(w.Label4[5]->text().endsWith(QStringLiteral("Поворот конв. 24.7°")),
                 qPrintable(w.Label4[5]->text()));
        QVERIFY(w.Label4[5]->text().contains(QStringLiteral("Горизонталь:  432.417 мм.")));
    }

    void centralGuardEmptiesEverySlot() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        const double e0 = *w.e0();
        w.Combo1[0]->lineEdit()->selectAll();
        QTest::keyClick(w.Combo1[0], Qt::Key_Delete);
        Choose(w, 4, kSatB);
        for (int i = 0; i < frmMain::kSlots; ++i) {
            QCOMPARE(w.Combo1[i]->currentText(), QString());
            QCOMPARE(w.Label4[i]->text(), QString());
            QCOMPARE(w.Label1[i]->text(), i == 0 ? QStringLiteral("Центральная") : QString());
        }
        QCOMPARE(*w.e0(), e0);
        QVERIFY(fixture.Notifier().messages.empty());
        QVERIFY(w.Links(2).isEmpty());
        QVERIFY(!w.Layout().Slot(2).marker.visible && !w.Layout().Slot(2).rotationLine.visible);
        QVERIFY(w.Layout().Slot(0).marker.visible);
    }

    void slotNineHasNoPanelBox() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        const palquin::LineTw needle = w.panelCompass->Layout().needle;
        Choose(w, 9, kSatB);
        QCOMPARE(w.Label1[9]->text(), QStringLiteral("E 13.0"));
        QVERIFY(w.Label4[9]->text().endsWith(QStringLiteral("Поворот конв. 15.8°")));
        QVERIFY(w.Layout().Slot(9).marker.visible);
        QCOMPARE(w.panelCompass->Layout().needle.x2Tw, needle.x2Tw);
        for (QLabel* box : w.Label500) {
            QVERIFY(box == w.Label500[0] || box->text().isEmpty());
        }
    }

    void latitudeZeroNorthStopsAfterTheLinks() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        w.sh->setText(QStringLiteral("0"));
        Choose(w, 0, kSatA);
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("E 36.0"));
        QCOMPARE(w.Links(0), (QStringList{"a0", "b0", "c0"}));
        QCOMPARE(w.Label4[0]->text(), QString());
        QVERIFY(!w.e0().has_value());
        QVERIFY(!w.panelCompass->Layout().needle.visible);
        QVERIFY(fixture.Notifier().messages.empty());
    }

    void longFocalLengthGroupsThousands() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        w.fokus->setText(QStringLiteral("6000"));
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        QVERIFY2(w.Label4[2]->text().contains(QStringLiteral("Горизонталь:  2 728.233 мм.")),
                 qPrintable(w.Label4[2]->text()));
    }
};

QTEST_MAIN(RecalculationTest)
#include "recalculation_test.moc"
