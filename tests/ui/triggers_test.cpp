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

enum Row { kSatA, kSatB, kSatC, kSatE, kSatF, kSatG };
const std::vector<std::string> kEntries = {
    "36;0;E;Sat A;a0;b0;c0", "13;0;E;Sat B;a;b;c", "140;0;E;Sat C;;;",
    "75;0;E;Sat E;;;",       "150;0;E;Sat F;;;",   "160;0;E;Sat G;;;",
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

// Gives the selector the focus and then moves it on to the latitude field.
void LeaveSelector(frmMain& w, QWidget* selector) {
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    selector->setFocus();
    QTRY_VERIFY(selector->hasFocus());
    w.sh->setFocus();
    QTRY_VERIFY(w.sh->hasFocus());
}

}  // namespace

class TriggersTest : public QObject {
    Q_OBJECT

  private slots:
    void okWithNothingChosenChangesNothing() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        const QStringList before = AllTexts(w);
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        QCOMPARE(AllTexts(w), before);
        QVERIFY(fixture.Notifier().messages.empty());
    }

    void okRecalculatesFilledSlotsInOrderAndTwiceGivesTheSame() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatC);
        Choose(w, 5, kSatG);
        Choose(w, 2, kSatF);
        fixture.Notifier().messages.clear();
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        const QStringList once = AllTexts(w);
        QStringList order;
        for (const auto& message : fixture.Notifier().messages) {
            order << message.text.section(QLatin1Char(';'), 3, 3);
        }
        QCOMPARE(order, (QStringList{"Sat C", "Sat F", "Sat G"}));
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        QCOMPARE(AllTexts(w), once);
    }

    void siteEditsWaitForOk() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        const QStringList before = AllTexts(w);
        w.dl->setText(QStringLiteral("38"));
        w.fokus->setText(QStringLiteral("800"));
        QCOMPARE(AllTexts(w), before);
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        QVERIFY(AllTexts(w) != before);
    }

    void choosingFromTheListClearsNothing() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        const QString slot2 = w.Label4[2]->text();
        // The arrow key moves through the central list, as the toolkit provides.
        QTest::keyClick(w.Combo1[0], Qt::Key_Down);
        QCOMPARE(w.Combo1[0]->currentText(), QString::fromStdString(kEntries[kSatB]));
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("E 13.0"));
        QCOMPARE(w.Label4[2]->text(), slot2);
        QCOMPARE(w.Combo1[2]->currentText(), QString::fromStdString(kEntries[kSatB]));
    }

    void partialDeletionOfTheCentralTextResetsAllSlots() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        Choose(w, 3, kSatE);
        w.Combo1[0]->lineEdit()->setSelection(0, 3);
        QTest::keyClick(w.Combo1[0], Qt::Key_Delete);
        for (int i = 0; i < frmMain::kSlots; ++i) {
            QCOMPARE(w.Combo1[i]->currentText(), QString());
            QCOMPARE(w.Label1[i]->text(), QString());
            QCOMPARE(w.Label4[i]->text(), QString());
            QVERIFY(w.Links(i).isEmpty());
            const palquin::SlotDrawing& slot = w.Layout().Slot(i);
            QCOMPARE(slot.marker.visible, i == 0);
            QVERIFY(!slot.caption.visible && !slot.rotationLine.visible);
            QVERIFY(!slot.crossX.visible && !slot.crossY.visible);
        }
        // The panel boxes and selector colours keep what was last written.
        QVERIFY(!w.Label500[2]->text().isEmpty());
    }

    void emptyingOneSlotClearsItAlone() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        Choose(w, 3, kSatB);
        const QString slot2 = w.Label4[2]->text();
        w.Combo1[3]->lineEdit()->selectAll();
        QTest::keyClick(w.Combo1[3], Qt::Key_Delete);
        QCOMPARE(w.Label1[3]->text(), QString());
        QCOMPARE(w.Label4[3]->text(), QString());
        QVERIFY(w.Links(3).isEmpty());
        QVERIFY(!w.Layout().Slot(3).marker.visible);
        QCOMPARE(w.Label4[2]->text(), slot2);
        QVERIFY(w.Layout().Slot(2).marker.visible);
    }

    void leavingAnEmptySelectorKeepsItsLinks() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 3, kSatB);
        {
            const QSignalBlocker quiet(w.Combo1[3]->lineEdit());
            w.Combo1[3]->setEditText(QString());
        }
        LeaveSelector(w, w.Combo1[3]);
        QCOMPARE(w.Label4[3]->text(), QString());
        QVERIFY(!w.Layout().Slot(3).marker.visible);
        QCOMPARE(w.Links(3), (QStringList{"a", "b", "c"}));

        // Leaving a filled selector changes nothing.
        const QString central = w.Label4[0]->text();
        LeaveSelector(w, w.Combo1[0]);
        QCOMPARE(w.Label4[0]->text(), central);
    }

    void centralMarkerComesBackAfterLeavingTheCentralSelector() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        {
            const QSignalBlocker quiet(w.Combo1[0]->lineEdit());
            w.Combo1[0]->setEditText(QString());
        }
        LeaveSelector(w, w.Combo1[0]);
        QVERIFY(w.Layout().Slot(0).marker.visible);
        QVERIFY(!w.Layout().Slot(0).caption.visible);
        QCOMPARE(w.Links(0), (QStringList{"a0", "b0", "c0"}));
    }

    void onlyAMoveToAnotherElementLeavesASelector() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.Combo1[0]->setFocus();
        QTRY_VERIFY(w.Combo1[0]->hasFocus());

        // Its own list opening and closing is no focus loss.
        w.Combo1[0]->showPopup();
        w.Combo1[0]->hidePopup();
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("Центральный"));

        // Nor is a message box taking the focus for a refused key.
        QDialog box(&w);
        auto* button = new QPushButton(QStringLiteral("OK"), &box);
        fixture.Notifier().onShow = [&](const auto&) {
            box.show();
            QVERIFY(QTest::qWaitForWindowActive(&box));
            button->setFocus();
            QTRY_VERIFY(button->hasFocus());
            box.hide();
        };
        QTest::keyClick(w.Combo1[0], Qt::Key_A);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QCOMPARE(w.Label1[0]->text(), QStringLiteral("Центральный"));

        // Moving on to another field is.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.Combo1[0]->setFocus();
        QTRY_VERIFY(w.Combo1[0]->hasFocus());
        w.sh->setFocus();
        QTRY_COMPARE(w.Label1[0]->text(), QString());
        QVERIFY(w.Layout().Slot(0).marker.visible);
    }

    void theWheelChoosesNothing() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, kSatA);
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.Combo1[4], &wheel);
        QApplication::sendEvent(w.cmbNS, &wheel);
        QCOMPARE(w.Combo1[4]->currentIndex(), -1);
        QCOMPARE(w.Label1[4]->text(), QString());
        QCOMPARE(w.cmbNS->currentText(), QStringLiteral("N"));
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
        QCOMPARE(fixture.Notifier().messages.size(), size_t{2});  // slot 3 each step
        const auto& lefts = w.Layout().VerticalGridLeftsTw();
        QCOMPARE(lefts[1] - lefts[0], 800.0);

        for (int step = 0; step < 4; ++step) {
            QTest::mouseClick(w.cmdMax, Qt::LeftButton);
        }
        QCOMPARE(w.LblMashtab->text(), QStringLiteral("1/32"));
        QCOMPARE(w.Layout().VerticalGridLeftsTw().size(), size_t{2});

        for (int step = 0; step < 12; ++step) {
            QTest::mouseClick(w.cmdMin, Qt::LeftButton);
        }
        QCOMPARE(w.LblMashtab->text(), QStringLiteral("1/16"));
        QCOMPARE(w.Layout().VerticalGridLeftsTw().size(), size_t{888});
        QCOMPARE(w.Layout().HorizontalGridTopsTw().size(), size_t{217});
        QCOMPARE(w.Layout().Slot(2).marker.widthTw, 50.0 * 10 / 16);
    }
};

QTEST_MAIN(TriggersTest)
#include "triggers_test.moc"
