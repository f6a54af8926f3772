// The slot recalculation through the window and what runs or clears it: a site in Moscow
// (55.75 N 37.6 E, focal length 600) with satellites at 36 E (central), 13 E and 140 E (below the
// horizon), checked by hand.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest>

#include "diagram/compass_view.h"
#include "window_fixture.h"

using namespace palquin;
using namespace palquin::testing;

namespace {

enum Row { kSatA, kSatB, kSatC, kShortTail, kLongTail, kNoPosition, kSatF, kSatG, kSatBShort };
const std::vector<std::string> kEntries = {
    "36;0;E;Sat A;a0;b0;c0", "13;0;E;Sat B;a;b;c",     "140;0;E;<b>Sat</b> &lt;C;;;",
    "13;0;E;Sat B;a;b",      "13;0;E;Sat D;a;b;c;d;e", "no position here",
    "150;0;E;Sat F;;;",      "160;0;E;Sat G;;;",       "13;0;E;Sat B;a;b;",
};

bool Near(double actual, double expected) {
    return std::abs(actual - expected) <= 0.01;  // twips
}

QColor SelectorColour(frmMain& w, int slot) {
    return w.Combo1[static_cast<size_t>(slot)]->lineEdit()->palette().color(QPalette::Text);
}

QStringList AllTexts(frmMain& w) {
    QStringList texts;
    for (int i = 0; i < frmMain::kSlots; ++i) {
        texts << w.Label1[i]->text() << w.Label4[i]->text() << w.Combo1[i]->currentText();
    }
    for (QLabel* box : w.Label500) {
        texts << box->text();
    }
    return texts;
}

void Focus(QWidget* widget) {
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
}

void Delete(QComboBox* selector, int from, int length) {
    selector->lineEdit()->setSelection(from, length);
    QTest::keyClick(selector, Qt::Key_Delete);
}

}  // namespace

class RecalculationTest : public QObject {
    Q_OBJECT

  private slots:
    void slotsFromTheCentreToTheLast() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        QCOMPARE(w.Label4[0]->text(), QStringLiteral("Азимут:  181.935°\r\nУгол места:  26.463°\r\n"
                                                     "Поворот конв. 1.1°\r\n\r\nКликни здесь!"));
        QCOMPARE(w.Label500[0]->text(), QStringLiteral("181.9°\r\n36;0;E;Sat A;a0;b0;c0"));
        QVERIFY(w.panelCompass->Layout().needle.visible);
        const SlotDrawing& central = w.Layout().Slot(0);
        QVERIFY(central.caption.visible && central.rotationLine.visible);
        QVERIFY(Near(central.marker.CenterXTw(), 5650) && Near(central.marker.CenterYTw(), 1567.5));

        Choose(w, 2, kSatB);
        QCOMPARE(w.Label4[2]->text(),
                 QStringLiteral("Азимут:  208.981°\r\nУгол места:  22.773°\r\nГоризонталь:  "
                                "272.823 мм.\r\nВертикаль:  38.621 мм.\r\nПоворот конв. 15.8°"));
        QCOMPARE(w.Label500[2]->text(), QString::fromStdString(kEntries[kSatB]));
        // 13 E is west of 36 E and lower: right of and above the centre.
        const SlotDrawing& slot = w.Layout().Slot(2);
        QVERIFY(Near(slot.marker.leftTw, 8128.23) && Near(slot.marker.topTw, 931.29));
        QVERIFY(Near(slot.rotationLine.x1Tw, 8241.88) && Near(slot.rotationLine.y2Tw, 1662.34));

        // Slots 8 and 9 are calculated and drawn but have no panel box; the needle stays.
        const double needle = w.panelCompass->Layout().needle.x2Tw;
        const QStringList texts = AllTexts(w);
        for (int i : {8, 9}) {
            Choose(w, i, kSatB);
            QCOMPARE(w.Label4[i]->text(), w.Label4[2]->text());
        }
        QCOMPARE(AllTexts(w).mid(3 * frmMain::kSlots), texts.mid(3 * frmMain::kSlots));  // panel
        QCOMPARE(w.panelCompass->Layout().needle.x2Tw, needle);
        // A zoom places every slot again, the last one included, and rebuilds the grid.
        QTest::mouseClick(w.cmdMax, Qt::LeftButton);
        QCOMPARE(w.LblMashtab->text(), QStringLiteral("1/2"));
        QCOMPARE(w.Layout().VerticalGridLeftsTw()[1] - w.Layout().VerticalGridLeftsTw()[0], 400.0);
        for (int i : {2, 8, 9}) {
            QCOMPARE(w.Layout().Slot(i).marker.widthTw, 1000.0);  // 50 mm x 10 x 2
        }
        QVERIFY(Near(w.Layout().Slot(9).marker.CenterXTw(), 5650 + 2 * 2728.23));
    }

    // The entry is shown as written, markup and entities included.
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
        const std::unique_ptr<QMessageBox> box(
            BuildMessageBox(message.text, message.title, message.icon, &w));
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(colourDuringMessage, QColor(0, 0, 192));
        QCOMPARE(SelectorColour(w, 3), QColor(255, 0, 0));
        QVERIFY(w.Label4[3]->text().startsWith(QStringLiteral("Азимут:  259.7°\r\nУгол места: -")));
        QCOMPARE(w.Label500[3]->text(), QString::fromStdString(kEntries[kSatC]));
        for (QLabel* label : {w.Label1[3], w.Label4[3], w.Label500[3]}) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        Choose(w, 3, kSatB);
        QCOMPARE(SelectorColour(w, 3), QColor(0, 0, 192));
    }

    // Each failure keeps what was written before it and nothing after.
    void entriesThatFailPartWay() {
        const struct {
            int row;
            QString latitude, heading;
            QStringList links;
        } cases[] = {
            {kNoPosition, "55.75", "", {}},
            {kShortTail, "55.75", "E 13.0", {"a"}},
            {kLongTail, "55.75", "E 13.0", {}},
            {kSatB, "0", "E 13.0", {"a", "b", "c"}},  // latitude 0 north divides by zero
        };
        for (const auto& c : cases) {
            WindowFixture fixture(SampleFile(kEntries));
            frmMain& w = fixture.Window();
            Choose(w, 0, kSatA);
            w.sh->setText(c.latitude);
            Choose(w, 4, c.row);
            QCOMPARE(w.Label1[4]->text(), c.heading);
            QCOMPARE(w.Links(4), c.links);
            QCOMPARE(w.Label4[4]->text() + w.Label500[4]->text(), QString());
            QVERIFY(!w.Layout().Slot(4).marker.visible);
            QVERIFY(fixture.Notifier().messages.empty());
        }
    }

    void okRecalculatesFilledSlotsInOrder() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        QStringList before = AllTexts(w);
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        QCOMPARE(AllTexts(w), before);  // nothing chosen, nothing changes

        Choose(w, 0, kSatC);
        Choose(w, 5, kSatG);
        Choose(w, 2, kSatF);
        fixture.Notifier().messages.clear();
        before = AllTexts(w);
        w.dl->setText(QStringLiteral("38"));
        w.fokus->setText(QStringLiteral("800"));
        QCOMPARE(AllTexts(w), before);  // site edits wait for the button

        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        const QStringList once = AllTexts(w);
        QVERIFY(once != before);
        QStringList order;
        for (const auto& message : fixture.Notifier().messages) {
            order << message.text.section(QLatin1Char(' '), 5, 5).section(QLatin1Char(';'), 0, 0);
        }
        QCOMPARE(order, (QStringList{"140", "150", "160"}));
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        QCOMPARE(AllTexts(w), once);
    }

    void listKeysDeletionsAndTheWheel() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        Choose(w, 3, kSatB);
        const QString slot2 = w.Label4[2]->text();
        QTest::keyClick(w.Combo1[0], Qt::Key_Down);  // moves through the list: clears nothing
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("E 13.0"));
        QCOMPARE(w.Label4[2]->text(), slot2);
        // Nor does the wheel choose anything.
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.Combo1[4], &wheel);
        QApplication::sendEvent(w.cmbNS, &wheel);
        QCOMPARE(w.Combo1[4]->currentIndex(), -1);
        QCOMPARE(w.cmbNS->currentText(), QStringLiteral("N"));

        Delete(w.Combo1[3], 0, 100);  // one slot alone
        QCOMPARE(w.Label1[3]->text() + w.Label4[3]->text(), QString());
        QVERIFY(w.Links(3).isEmpty() && !w.Layout().Slot(3).marker.visible);
        QCOMPARE(w.Label4[2]->text(), slot2);
        QVERIFY(w.Layout().Slot(2).crossY.visible);

        Delete(w.Combo1[0], 0, 3);  // part of the central text: every slot
        for (int i = 0; i < frmMain::kSlots; ++i) {
            QCOMPARE(w.Combo1[i]->currentText() + w.Label1[i]->text() + w.Label4[i]->text(),
                     QString());
            QVERIFY(w.Links(i).isEmpty());
            const SlotDrawing& slot = w.Layout().Slot(i);
            QCOMPARE(slot.marker.visible, i == 0);
            QVERIFY(!slot.caption.visible && !slot.rotationLine.visible && !slot.crossX.visible &&
                    !slot.crossY.visible);
        }
        QVERIFY(!w.Label500[2]->text().isEmpty());  // panel boxes keep their last texts

        // Without a central satellite a choice elsewhere empties every slot again.
        Choose(w, 4, kSatB);
        QCOMPARE(w.Combo1[4]->currentText() + w.Label1[4]->text(), QString());
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("Центральная"));
    }

    void leavingASelector() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Focus(w.Combo1[0]);
        // Its own list opening and closing, or a message box for a refused key, is no leaving.
        w.Combo1[0]->showPopup();
        w.Combo1[0]->hidePopup();
        QDialog box(&w);
        auto* button = new QPushButton(QStringLiteral("OK"), &box);
        fixture.Notifier().onShow = [&](const auto&) {
            box.show();
            QVERIFY(QTest::qWaitForWindowActive(&box));
            Focus(button);
            box.hide();
        };
        QTest::keyClick(w.Combo1[0], Qt::Key_A);
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("Центральный"));
        fixture.Notifier().onShow = nullptr;

        Choose(w, 0, kSatA);
        Choose(w, 3, kSatB);
        // Edited into another entry's exact text: leaving is no choice from the list.
        const QString results = w.Label4[3]->text();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Focus(w.Combo1[3]);
        Delete(w.Combo1[3], static_cast<int>(kEntries[kSatB].size()) - 1, 1);
        QCOMPARE(w.Combo1[3]->currentText(), QString::fromStdString(kEntries[kSatBShort]));
        Focus(w.sh);
        QCOMPARE(w.Links(3), (QStringList{"a", "b", "c"}));
        QCOMPARE(w.Label4[3]->text(), results);
        // Left empty: results and diagram items go, the links stay; the central marker stays.
        for (int i : {3, 0}) {
            w.Combo1[i]->lineEdit()->blockSignals(true);
            w.Combo1[i]->setEditText(QString());
            w.Combo1[i]->lineEdit()->blockSignals(false);
            Focus(w.Combo1[i]);
            Focus(w.sh);
        }
        QCOMPARE(w.Label4[3]->text(), QString());
        QVERIFY(!w.Layout().Slot(3).marker.visible);
        QCOMPARE(w.Links(3), (QStringList{"a", "b", "c"}));
        QVERIFY(w.Layout().Slot(0).marker.visible && !w.Layout().Slot(0).caption.visible);
    }
};

QTEST_MAIN(RecalculationTest)
#include "recalculation_test.moc"
