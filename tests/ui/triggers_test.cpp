// What recalculates and what clears: cmdOk, choosing, editing and leaving selectors, zooming.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest>

#include "window_fixture.h"

using palquin::frmMain;
using palquin::testing::Choose;
using palquin::testing::SampleFile;
using palquin::testing::WindowFixture;

namespace {

enum Row { kSatA, kSatB, kSatC, kSatE, kSatF, kSatG, kSatBShort };
const std::vector<std::string> kEntries = {
    "36;0;E;Sat A;a0;b0;c0", "13;0;E;Sat B;a;b;c", "140;0;E;Sat C;;;",  "75;0;E;Sat E;;;",
    "150;0;E;Sat F;;;",      "160;0;E;Sat G;;;",   "13;0;E;Sat B;a;b;",
};

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

class TriggersTest : public QObject {
    Q_OBJECT

  private slots:
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
            order << message.text.section(QLatin1Char(';'), 3, 3);
        }
        QCOMPARE(order, (QStringList{"Sat C", "Sat F", "Sat G"}));
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        QCOMPARE(AllTexts(w), once);
    }

    void choosingFromTheListClearsNothing() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        const QString slot2 = w.Label4[2]->text();
        QTest::keyClick(w.Combo1[0], Qt::Key_Down);  // moves through the list, as Qt provides
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("E 13.0"));
        QCOMPARE(w.Label4[2]->text(), slot2);
        QCOMPARE(w.Combo1[2]->currentText(), QString::fromStdString(kEntries[kSatB]));

        // Nor does the wheel choose anything.
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.Combo1[4], &wheel);
        QApplication::sendEvent(w.cmbNS, &wheel);
        QCOMPARE(w.Combo1[4]->currentIndex(), -1);
        QCOMPARE(w.cmbNS->currentText(), QStringLiteral("N"));
    }

    void deletingSelectorTextClears() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        Choose(w, 3, kSatE);
        const QString slot2 = w.Label4[2]->text();
        Delete(w.Combo1[3], 0, 100);  // one slot alone
        QCOMPARE(w.Label1[3]->text() + w.Label4[3]->text(), QString());
        QVERIFY(w.Links(3).isEmpty() && !w.Layout().Slot(3).marker.visible);
        QCOMPARE(w.Label4[2]->text(), slot2);

        Delete(w.Combo1[0], 0, 3);  // part of the central text: every slot
        for (int i = 0; i < frmMain::kSlots; ++i) {
            QCOMPARE(w.Combo1[i]->currentText() + w.Label1[i]->text() + w.Label4[i]->text(),
                     QString());
            QVERIFY(w.Links(i).isEmpty());
            const palquin::SlotDrawing& slot = w.Layout().Slot(i);
            QCOMPARE(slot.marker.visible, i == 0);
            QVERIFY(!slot.caption.visible && !slot.rotationLine.visible && !slot.crossX.visible &&
                    !slot.crossY.visible);
        }
        QVERIFY(!w.Label500[2]->text().isEmpty());  // panel boxes keep their last texts
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
        {
            const QSignalBlocker quiet(w.Combo1[3]->lineEdit());
            w.Combo1[3]->setEditText(QString());
        }
        Focus(w.Combo1[3]);
        Focus(w.sh);  // results and diagram items go, the links stay
        QCOMPARE(w.Label4[3]->text(), QString());
        QVERIFY(!w.Layout().Slot(3).marker.visible);
        QCOMPARE(w.Links(3), (QStringList{"a", "b", "c"}));

        {
            const QSignalBlocker quiet(w.Combo1[0]->lineEdit());
            w.Combo1[0]->setEditText(QString());
        }
        Focus(w.Combo1[0]);
        Focus(w.sh);  // the central marker stays visible, its caption goes
        QVERIFY(w.Layout().Slot(0).marker.visible && !w.Layout().Slot(0).caption.visible);
    }

    void zoomRecalculatesAndRebuildsTheGrid() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        Choose(w, 3, kSatC);
        fixture.Notifier().messages.clear();

        QTest::mouseClick(w.cmdMax, Qt::LeftButton);
        QTest::mouseClick(w.cmdMax, Qt::LeftButton);
        QCOMPARE(w.LblMashtab->text(), QStringLiteral("1/4"));
        QCOMPARE(w.Layout().Slot(2).marker.widthTw, 2000.0);  // 50 mm x 10 x 4
        QCOMPARE(w.Layout().Slot(2).crossX.widthTw, 500.0);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{2});  // slot 3 at each step
        const auto& lefts = w.Layout().VerticalGridLeftsTw();
        QCOMPARE(lefts[1] - lefts[0], 800.0);

        for (int step = 0; step < 16; ++step) {
            QTest::mouseClick(step < 4 ? w.cmdMax : w.cmdMin, Qt::LeftButton);
        }
        QCOMPARE(w.LblMashtab->text(), QStringLiteral("1/16"));
        QCOMPARE(w.Layout().Slot(2).marker.widthTw, 50.0 * 10 / 16);
    }
};

QTEST_MAIN(TriggersTest)
#include "triggers_test.moc"
