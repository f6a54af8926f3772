// RecalculateSlot through the window: texts, colours, links, the diagram and the lower panel.
// Site 55.75 N 37.6 E, focal length 600: a site in Moscow with satellites at 36 E (central),
// 13 E and 140 E (below the horizon), checked by hand.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "diagram/compass_view.h"
#include "window_fixture.h"

using palquin::frmMain;
using palquin::testing::Choose;
using palquin::testing::SampleFile;
using palquin::testing::WindowFixture;

namespace {

enum Row { kSatA, kSatB, kSatC, kShortTail, kLongTail, kWest, kNoPosition, kSevenSemicolons };
const std::vector<std::string> kEntries = {
    "36;0;E;Sat A;a0;b0;c0", "13;0;E;Sat B;a;b;c",     "140;0;E;<b>Sat</b> &lt;C;;;",
    "13;0;E;Sat B;a;b",      "13;0;E;Sat D;a;b;c;d;e", "5;0;W;Sat W;;;",
    "no position here",      "75;0;E;Sat E;x;y;z;w",
};

bool Near(double actual, double expected) {
    return std::abs(actual - expected) <= 0.01;  // twips
}

QColor SelectorColour(frmMain& w, int slot) {
    return w.Combo1[static_cast<size_t>(slot)]->lineEdit()->palette().color(QPalette::Text);
}

QStringList PanelTexts(frmMain& w) {
    QStringList texts;
    for (QLabel* box : w.Label500) {
        texts << box->text();
    }
    return texts;
}

}  // namespace

class RecalculationTest : public QObject {
    Q_OBJECT

  private slots:
    void centralThenExtraSlots() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("E 36.0"));
        QCOMPARE(w.Label4[0]->text(), QStringLiteral("Азимут:  181.935°\r\nУгол места:  26.463°\r\n"
                                                     "Поворот конв. 1.1°\r\n\r\nКликни здесь!"));
        QVERIFY(std::abs(*w.e0() - 181.935) < 5e-4 && std::abs(*w.u0() - 26.463) < 5e-4);
        QCOMPARE(w.Links(0), (QStringList{"a0", "b0", "c0"}));
        QCOMPARE(SelectorColour(w, 0), QColor(0, 0, 192));
        QCOMPARE(w.Label500[0]->text(), QStringLiteral("181.9°\r\n36;0;E;Sat A;a0;b0;c0"));
        QVERIFY(w.panelCompass->Layout().needle.visible);
        const palquin::SlotDrawing& central = w.Layout().Slot(0);
        QVERIFY(central.caption.visible && central.rotationLine.visible);
        QVERIFY(Near(central.marker.CenterXTw(), 5650) && Near(central.marker.CenterYTw(), 1567.5));

        const QString centralText = w.Label4[0]->text();
        Choose(w, 2, kSatB);
        QCOMPARE(w.Label1[2]->text(), QStringLiteral("E 13.0"));
        QCOMPARE(w.Label4[2]->text(),
                 QStringLiteral("Азимут:  208.981°\r\nУгол места:  22.773°\r\nГоризонталь:  "
                                "272.823 мм.\r\nВертикаль:  38.621 мм.\r\nПоворот конв. 15.8°"));
        QCOMPARE(w.Label4[0]->text(), centralText);
        QCOMPARE(w.Links(2), (QStringList{"a", "b", "c"}));
        QCOMPARE(w.Label500[2]->text(), QStringLiteral("13;0;E;Sat B;a;b;c"));
        // 13 E is west of 36 E and lower: right of and above the centre.
        const palquin::SlotDrawing& slot = w.Layout().Slot(2);
        QVERIFY(Near(slot.marker.leftTw, 8128.23) && Near(slot.marker.topTw, 931.29));
        QVERIFY(Near(slot.rotationLine.x1Tw, 8241.88) && Near(slot.rotationLine.y2Tw, 1662.34));
        QVERIFY(slot.crossX.visible && slot.crossY.visible && slot.caption.visible);
        QVERIFY(fixture.Notifier().messages.empty());

        // Slots 8 and 9 are calculated and drawn but have no panel box; the needle stays.
        const palquin::LineTw needle = w.panelCompass->Layout().needle;
        const QStringList panel = PanelTexts(w);
        for (int i : {8, 9}) {
            Choose(w, i, kSatB);
            QVERIFY(w.Label4[i]->text().endsWith(QStringLiteral("Поворот конв. 15.8°")));
            QVERIFY(w.Layout().Slot(i).marker.visible);
        }
        QCOMPARE(PanelTexts(w), panel);
        QCOMPARE(w.panelCompass->Layout().needle.x2Tw, needle.x2Tw);
        // A zoom places every slot again, the last one included.
        QTest::mouseClick(w.cmdMax, Qt::LeftButton);
        for (int i : {2, 8, 9}) {
            QCOMPARE(w.Layout().Slot(i).marker.widthTw, 1000.0);  // 50 mm x 10 x 2
        }
        QVERIFY(Near(w.Layout().Slot(9).marker.CenterXTw(), 5650 + 2 * 2728.23));
    }

    // Entry text is shown as written, markup and entities included.
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
        QCOMPARE(message.text, QStringLiteral("Для указанного места приема спутник "
                                              "140;0;E;<b>Sat</b> &lt;C;;; не виден!"));
        QCOMPARE(message.title, QStringLiteral("!!!!!"));
        QCOMPARE(message.icon, palquin::MessageIcon::Information);
        const std::unique_ptr<QMessageBox> box(
            palquin::BuildMessageBox(message.text, message.title, message.icon, &w));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(colourDuringMessage, QColor(0, 0, 192));
        QCOMPARE(SelectorColour(w, 3), QColor(255, 0, 0));
        QVERIFY(w.Label4[3]->text().startsWith(
            QStringLiteral("Азимут:  259.7°\r\nУгол места: -15.318°\r\nГоризонталь: ")));
        QCOMPARE(w.Label500[3]->text(), QString::fromStdString(kEntries[kSatC]));
        for (QLabel* label : {w.Label1[3], w.Label4[3], w.Label500[3]}) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        Choose(w, 3, kSatB);
        QCOMPARE(SelectorColour(w, 3), QColor(0, 0, 192));
    }

    void extraSlotTexts_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("focal");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("links");
        QTest::newRow("seventh ; stays inside link 3")
            << int(kSevenSemicolons) << "600" << QStringList{"Горизонталь:  422.058 мм."}
            << QStringList{"x", "y", "z;w"};
        QTest::newRow("west of an eastern site turns the same way as 355 E")
            << int(kWest) << "600"
            << QStringList{"Горизонталь:  432.417 мм.", "Поворот конв. 24.7°"}
            << QStringList{"", "", ""};
        QTest::newRow("thousands are grouped")
            << int(kSatB) << "6000" << QStringList{"Горизонталь:  2 728.233 мм."}
            << QStringList{"a", "b", "c"};
    }
    void extraSlotTexts() {
        QFETCH(int, row);
        QFETCH(QString, focal);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, links);
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        w.fokus->setText(focal);
        Choose(w, 0, kSatA);
        Choose(w, 5, row);
        for (const QString& line : lines) {
            QVERIFY2(w.Label4[5]->text().contains(line), qPrintable(w.Label4[5]->text()));
        }
        QCOMPARE(w.Links(5), links);
    }

    // Each failure keeps what was written before it and nothing after.
    void entriesThatFailPartWay_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("links");
        QTest::newRow("no position") << int(kNoPosition) << "55.75" << QString() << QStringList{};
        QTest::newRow("two ; in the tail") << int(kShortTail) << "55.75"
                                           << "E 13.0" << QStringList{"a"};
        QTest::newRow("five ; in the tail") << int(kLongTail) << "55.75"
                                            << "E 13.0" << QStringList{};
        QTest::newRow("latitude 0 north divides by zero") << int(kSatB) << "0"
                                                          << "E 13.0" << QStringList{"a", "b", "c"};
    }
    void entriesThatFailPartWay() {
        QFETCH(int, row);
        QFETCH(QString, latitude);
        QFETCH(QString, heading);
        QFETCH(QStringList, links);
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        w.sh->setText(latitude);
        Choose(w, 4, row);
        QCOMPARE(w.Label1[4]->text(), heading);
        QCOMPARE(w.Links(4), links);
        QCOMPARE(w.Label4[4]->text() + w.Label500[4]->text(), QString());
        QVERIFY(!w.Layout().Slot(4).marker.visible);
        QVERIFY(fixture.Notifier().messages.empty());
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
            QCOMPARE(w.Combo1[i]->currentText() + w.Label4[i]->text(), QString());
            QCOMPARE(w.Label1[i]->text(), i == 0 ? QStringLiteral("Центральная") : QString());
            QVERIFY(w.Links(i).isEmpty());
            QCOMPARE(w.Layout().Slot(i).marker.visible, i == 0);
        }
        QCOMPARE(*w.e0(), e0);
    }
};

QTEST_MAIN(RecalculationTest)
#include "recalculation_test.moc"
