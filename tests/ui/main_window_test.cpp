// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up and save, look, field rules and slot recalculation. A site in Moscow
// with satellites at 36 E (central), 13 E and 140 E (below the horizon), checked by hand. The
// texts of a slot are checked in tests/layout; here, that the window shows them and acts on them.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest>

#include "common/window_fixture.h"
#include "diagram/compass_view.h"
#include "ui/ticker.h"

using namespace palquin;
using namespace palquin::testing_support;

namespace {

enum Row { kSatA, kSatB, kSatC, kShortTail, kNoPosition, kSatF, kSatG, kSatBShort };
const std::vector<std::string> kEntries = {
    "36;0;E;Sat A;a0;b0;c0",
    "13;0;E;Sat B;a;b;c",
    "140;0;E;<b>Sat</b> &lt;C;;;",
    "13;0;E;Sat B;a;b",
    "no position here",
    "150;0;E;Sat F, a name that needs a list wider than its selector;;;",
    "160;0;E;Sat G;;;",
    "13;0;E;Sat B;a;b;"};
const std::string kFile = SampleFile(kEntries);

const QString kFormatBox = QStringLiteral("Формат поля: ###.##!|!!!!!!!!");
const QString kChooseBox = QStringLiteral("Выберите значение из списка!|!!!!!!!!");
const QString kRangeBox = QStringLiteral("Диапазон координат: от 0° до 180°!|Palquin");
const QString kDiameterBox = QStringLiteral("Размер диаметра от 0 до 100 мм. !|Palquin");
const QColor kBlue(0, 0, 192), kRed(255, 0, 0);

// Text typed into an emptied field, committed there by an input method or set as a paste or a
// restore does; what the field holds then and the messages shown on the way.
enum How { kTyped, kComposed, kSet };
struct Case {
    QString field, input, expected;
    QStringList messages;
    How how = kTyped;
};

QString Hidden(Row row) {
    return QStringLiteral("Для указанного места приема спутник ") +
           QString::fromStdString(kEntries[row]) + QStringLiteral(" не виден!|!!!!!");
}

QComboBox* Selector(MainWindow& w, int slot) {
    return Find<QComboBox>(w, "Combo1", slot);
}

QColor SelectorColour(MainWindow& w, int slot) {
    return Selector(w, slot)->lineEdit()->palette().color(QPalette::Text);
}

void ChooseAll(MainWindow& w, std::initializer_list<std::pair<int, Row>> choices) {
    for (const auto& [slot, row] : choices) {
        Choose(w, slot, row);
    }
}

void Focus(QWidget* widget) {
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
}

void Delete(QComboBox* selector, int from, int length) {
    selector->lineEdit()->setSelection(from, length);
    QTest::keyClick(selector, Qt::Key_Delete);
}

void EmptyQuietly(QComboBox* selector) {
    const QSignalBlocker quiet(selector->lineEdit());
    selector->setEditText(QString());
}

bool Near(double actual, double expected) {
    return std::abs(actual - expected) <= 0.01;  // twips
}

}  // namespace

Q_DECLARE_METATYPE(Case)

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    // A latitude above 180 refused at the restore is saved empty; a failed save is reported; an
    // unreadable satellite.txt is reported at the start and left alone at the close.
    void startAndSave() {
        WindowFixture fixture("13;0;E;a;;;\r\n------------------\r\n200\r\nN\r\n37.6\r\nE\r\n600");
        QCOMPARE(fixture.Notifier().Shown(), QStringList{kRangeBox});
        fixture.Close();
        QCOMPARE(fixture.FileBytes(),
                 "13;0;E;a;;;\r\n------------------\r\n\r\nN\r\n37.6\r\nE\r\n600\r\n");
        fixture.Open();
        QDir folder(QString::fromStdString(fixture.FolderPath()));
        QVERIFY(folder.removeRecursively());
        fixture.Close();
        QVERIFY(fixture.Notifier().Shown().last().startsWith("Не удалось сохранить настройки"));
        QVERIFY(folder.mkpath("satellite.txt"));
        fixture.Open();
        QVERIFY2(Selector(fixture.Window(), 0)->count() == 0, "Combo1_0 lists entries");
        fixture.Close();
        QVERIFY(QFileInfo(folder.filePath("satellite.txt")).isDir());
        QCOMPARE(fixture.Notifier().Shown().mid(2),
                 QStringList{"Ошибка в процедуре загрузки!|Palquin"});
    }

    // The desktop's request before a logout saves as a close does and leaves the window open; a
    // failed save then, or at a close the system asked for, shows no box: nobody may be there to
    // close it.
    void logoutRequestSaves() {
        WindowFixture fixture(
            "13;0;E;a;;;\r\n------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600");
        MainWindow& w = fixture.Window();
        w.show();
        Find<QLineEdit>(w, "fokus")->setText("650");
        // The request as the session manager's connection emits it; the manager is not used.
        const int signal =
            QGuiApplication::staticMetaObject.indexOfSignal("commitDataRequest(QSessionManager&)");
        QVERIFY(signal >= 0);
        const auto request = [signal] {
            void* arguments[] = {nullptr, nullptr};
            QMetaObject::activate(qApp, &QGuiApplication::staticMetaObject,
                                  signal - QGuiApplication::staticMetaObject.methodOffset(),
                                  arguments);
        };
        request();
        QCOMPARE(fixture.FileBytes(),
                 "13;0;E;a;;;\r\n------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n650\r\n");
        QVERIFY(w.isVisible());
        QVERIFY(QDir(QString::fromStdString(fixture.FolderPath())).removeRecursively());
        request();
        w.CloseOnRequest();  // as the system asks at a logout or a kill: no box either
        QVERIFY(fixture.Notifier().messages.empty());
    }

    // Its caption, colours and panel boxes, and the ticker: empty for its first period, then its
    // lines in yellow on black, on its timer.
    void windowLook() {
        WindowFixture fixture("");
        MainWindow& w = fixture.Window();
        QCOMPARE(w.windowTitle(), "Dorvik - Расчет мультифида v.1.1");
        // Panel boxes of 1995 x 855 twips: even ones in the top row, odd ones below.
        QCOMPARE(Find<QLabel>(w, "Label500", 3)->geometry(), QRect(264, 72, 133, 57));
        COMPARE_TEXT(w, "Label9", QString());
        w.Ticker().Tick();
        const QImage image = w.Client()->grab().toImage();
        const auto at = [&](QWidget* widget, QPoint inside) {
            return image.pixelColor(widget->mapTo(w.Client(), inside));
        };
        const QColor lilac(192, 192, 255), grey(224, 224, 224), pink(255, 192, 192);
        const QList<std::pair<const char*, QColor>> samples = {
            {"Frame2", lilac},  {"Frame4", lilac}, {"Frame1", Qt::white}, {"Frame5", Qt::white},
            {"Label1_4", grey}, {"diam_7", pink},  {"Label9", Qt::black}};
        for (const auto& [name, colour] : samples) {  // at the right edge
            auto* widget = Find<QWidget>(w, name);
            const QColor seen = at(widget, QPoint(widget->width() - 4, widget->height() / 2));
            QVERIFY2(seen == colour, qPrintable(name + QString(": ") + seen.name()));
        }
        auto* ticker = Find<QLabel>(w, "Label9");
        int yellow = 0;
        for (int x = 0; x < ticker->width(); ++x) {
            yellow += at(ticker, QPoint(x, ticker->height() / 2)) == QColor(255, 255, 0);
        }
        QVERIFY2(yellow > 0, "Label9 shows no yellow text");
        w.Ticker().Timer().setInterval(1);
        QTRY_VERIFY(w.Ticker().Index() > 1);
    }

    void textReachingAField_data() {
        QTest::addColumn<Case>("c");
        const auto row = [](const char* name, const Case& c) { QTest::newRow(name) << c; };
        row("digits and points, any number of them", {"sh", "12.3.4", "12.3.4", {}});
        row("comma, minus, blank and letter refused",
            {"fokus", "-6 0a,0", "600", {kFormatBox, kFormatBox, kFormatBox, kFormatBox}});
        row("181 empties the whole field", {"dl", "181", "", {kRangeBox}});
        row("diameter drops letters and the point silently", {"diam_4", "7a.5", "75", {}});
        row("capitals only for N/S", {"cmbNS", "nS", "S", {kChooseBox}});
        row("capitals only for E/W", {"cmbEW", "WNs", "W", {kChooseBox, kChooseBox}});
        row("satellites only from the list", {"Combo1_3", "1;", "", {kChooseBox, kChooseBox}});
        // Composed text goes through the same rule, one message per commit.
        row("composed number", {"sh", "1x.5\n", "1.5", {kFormatBox}, kComposed});
        row("composed diameter", {"diam_2", "7\xD0\xB0", "7", {}, kComposed});
        row("composed satellite", {"Combo1_3", "13;0;E", "", {kChooseBox}, kComposed});
        row("composed hemisphere", {"cmbNS", "sN", "N", {kChooseBox}, kComposed});
        row("set 180", {"dl", "180", "180", {}, kSet});
        row("set 180.01", {"dl", "180.01", "", {kRangeBox}, kSet});
        row("set -5", {"dl", "-5", "", {kRangeBox}, kSet});
        row("set 1e999", {"dl", "1e999", "", {kRangeBox}, kSet});
        row("set diameter 101 goes back to 50", {"diam_4", "101", "50", {kDiameterBox}, kSet});
    }
    void textReachingAField() {
        QFETCH(Case, c);
        WindowFixture fixture(kFile);
        auto* widget = Find<QWidget>(fixture.Window(), c.field);
        auto* edit = qobject_cast<QLineEdit*>(widget);
        edit = edit != nullptr ? edit : qobject_cast<QComboBox*>(widget)->lineEdit();
        edit->clear();
        if (c.how == kTyped) {
            QTest::keyClicks(widget, c.input);
        } else if (c.how == kSet) {
            edit->setText(c.input);
        } else {
            // The fields tell input methods that they take none.
            QInputMethodQueryEvent query(Qt::ImEnabled);
            QApplication::sendEvent(widget, &query);
            QVERIFY2(!query.value(Qt::ImEnabled).toBool(), qPrintable(c.field));
            QInputMethodEvent composing("x,", {});
            QApplication::sendEvent(widget, &composing);
            QInputMethodEvent commit;
            commit.setCommitString(c.input);
            QApplication::sendEvent(widget, &commit);
        }
        COMPARE_TEXT(fixture.Window(), c.field, c.expected);
        QCOMPARE(fixture.Notifier().Shown(), c.messages);
    }

    // Keys that type no character or a control one (Ctrl+V), then Shift+Insert pastes, whose line
    // breaks never reach the settings.
    void pastesAndKeysThatTypeNoCharacter() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        auto* latitude = Find<QLineEdit>(w, "sh");
        auto* diameter = Find<QLineEdit>(w, "diam", 2);
        auto* northSouth = Find<QComboBox>(w, "cmbNS");
        auto* eastWest = Find<QComboBox>(w, "cmbEW");
        QTest::keyClick(latitude, Qt::Key_V, Qt::ControlModifier);  // the format message
        QTest::keyClick(diameter, Qt::Key_V, Qt::ControlModifier);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Home, Qt::Key_Delete}) {
            QTest::keyClick(latitude, key);
            QTest::keyClick(diameter, key);
        }
        COMPARE_TEXT(w, "sh", "5.7");  // Backspace and Delete took a figure each
        COMPARE_TEXT(w, "diam_2", QString());
        QTest::keyClick(eastWest, Qt::Key_Return);           // choose from the list
        QTest::keyClick(Selector(w, 3), Qt::Key_Backspace);  // choose from the list
        // With a list open its keys go to the list: refused letters still bring that message, Enter
        // stays the list's.
        QTest::keyClick(Selector(w, 3)->view(), Qt::Key_X);
        northSouth->showPopup();
        QTest::keyClick(northSouth->view(), 's');
        QTest::keyClick(northSouth->view(), Qt::Key_Return);
        COMPARE_TEXT(w, "cmbNS", "N");
        COMPARE_TEXT(w, "cmbEW", "E");
        QGuiApplication::clipboard()->setText("12\r\n------------------\r\nINJECT");
        latitude->clear();
        QTest::keyClick(latitude, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(Find<QLineEdit>(w, "fokus"), Qt::Key_Insert, Qt::ShiftModifier);
        QGuiApplication::clipboard()->setText("\nW\r");
        QTest::keyClick(eastWest, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(fixture.Notifier().Shown(),
                 (QStringList{kFormatBox, kChooseBox, kChooseBox, kChooseBox, kChooseBox}));
        fixture.Close();
        QVERIFY(
            fixture.FileBytes().ends_with("\n------------------\r\n12------------------INJECT\r\n"
                                          "N\r\n37.6\r\nEW\r\n60012------------------INJECT\r\n"));
    }

    // The central slot, then 13 E beside it: west of 36 E and lower, so right of and above the
    // centre in the front view. Slots 8 and 9 are calculated and drawn but have no panel box; the
    // needle stays. A zoom places every slot again, the last one included, and rebuilds the grid.
    // Neither a key choosing from the list nor the wheel clears what was calculated; the wheel
    // chooses nothing.
    void slotsBesideTheCentral() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        QTest::mouseClick(Find<QPushButton>(w, "cmdOk"), Qt::LeftButton);
        COMPARE_TEXT(w, "Label1_0", "Центральный");  // nothing chosen yet
        ChooseAll(w, {{0, kSatA}, {2, kSatB}});
        COMPARE_TEXT(w, "Label1_0", "E 36.0");
        // The lines themselves are the slot texts' own; here, that 36 E's figures reach them.
        QVERIFY2(TextOf(w, "Label4_0").startsWith("Азимут:  181.935°\r\n"),
                 qPrintable("Label4_0: " + TextOf(w, "Label4_0")));
        COMPARE_TEXT(w, "Label500_0", "181.9°\r\n36;0;E;Sat A;a0;b0;c0");
        COMPARE_TEXT(w, "Label500_2", QString::fromStdString(kEntries[kSatB]));
        const SlotDrawing& slot = w.Layout().Slot(2);
        QVERIFY(Near(slot.marker.leftTw, 8128.23) && Near(slot.marker.topTw, 931.29));
        QVERIFY(Near(slot.rotationLine.x1Tw, 8241.88) && Near(slot.rotationLine.y2Tw, 1662.34));

        const CompassLayout& compass = Find<CompassView>(w, "panelCompass")->Layout();
        const double needle = compass.needle.x2Tw;
        ChooseAll(w, {{8, kSatB}, {9, kSatB}});
        COMPARE_TEXT(w, "Label4_9", TextOf(w, "Label4_2"));
        QVERIFY(compass.needle.visible && compass.needle.x2Tw == needle);
        QTest::mouseClick(Find<QPushButton>(w, "cmdMax"), Qt::LeftButton);
        COMPARE_TEXT(w, "LblMashtab", "1/2");
        QCOMPARE(w.Layout().VerticalGridLeftsTw()[1] - w.Layout().VerticalGridLeftsTw()[0], 400.0);
        for (int i : {2, 8, 9}) {
            QCOMPARE(w.Layout().Slot(i).marker.widthTw, 1000.0);  // 50 mm x 10 x 2
        }
        QVERIFY(Near(w.Layout().Slot(9).marker.CenterXTw(), 5650 + 2 * 2728.23));

        const QString slot2 = TextOf(w, "Label4_2");
        QTest::keyClick(Selector(w, 0), Qt::Key_Down);
        COMPARE_TEXT(w, "Label1_0", "E 13.0");
        COMPARE_TEXT(w, "Label4_2", slot2);
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Selector(w, 4), &wheel);
        QApplication::sendEvent(Find<QComboBox>(w, "cmbNS"), &wheel);
        COMPARE_TEXT(w, "Combo1_4", QString());
        COMPARE_TEXT(w, "cmbNS", "N");
    }

    // Below the horizon: announced with the entry as written (markup and entities included),
    // in plain text everywhere, then red; blue again once a visible satellite is chosen there. A
    // site edit waits for cmdOk, which recalculates the filled slots in slot order, the last one
    // included.
    void belowTheHorizonAndSiteEdit() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        Choose(w, 0, kSatA);
        QColor colourDuringMessage;
        fixture.Notifier().onShow = [&](const auto&) {
            colourDuringMessage = SelectorColour(w, 3);
        };
        Choose(w, 3, kSatC);
        QCOMPARE(fixture.Notifier().Shown(), QStringList{Hidden(kSatC)});
        const auto& message = fixture.Notifier().messages[0];
        const std::unique_ptr<QMessageBox> box(
            BuildMessageBox(message.text, message.title, message.icon, &w));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(colourDuringMessage, kBlue);
        QCOMPARE(SelectorColour(w, 3), kRed);
        COMPARE_TEXT(w, "Label500_3", QString::fromStdString(kEntries[kSatC]));
        for (const char* name : {"Label1_3", "Label4_3", "Label500_3"}) {
            QVERIFY2(Find<QLabel>(w, name)->textFormat() == Qt::PlainText, name);
        }
        Choose(w, 3, kSatB);
        QCOMPARE(SelectorColour(w, 3), kBlue);

        ChooseAll(w, {{2, kSatB}, {3, kSatC}, {7, kSatF}, {6, kSatG}, {9, kSatB}});
        const QString before = TextOf(w, "Label4_2");
        Find<QLineEdit>(w, "dl")->setText("38");
        COMPARE_TEXT(w, "Label4_2", before);
        fixture.Notifier().messages.clear();
        QTest::mouseClick(Find<QPushButton>(w, "cmdOk"), Qt::LeftButton);
        QCOMPARE(fixture.Notifier().Shown(),
                 (QStringList{Hidden(kSatC), Hidden(kSatG), Hidden(kSatF)}));
        for (const char* name : {"Label4_2", "Label4_9"}) {  // the last slot included
            QVERIFY2(TextOf(w, name) != before, qPrintable(name + QString(" not recalculated")));
        }
    }

    // Entries that fail part way keep what was written before the failure, nothing after: with
    // no position, nothing (slot 5); with a tail one ';' short, the heading and first link (6).
    // Deleting one slot's text empties that slot alone; part of the central text, every slot;
    // without a central satellite a choice elsewhere empties every slot again.
    void partialEntriesAndDeletions() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        ChooseAll(w, {{0, kSatA}, {2, kSatB}, {3, kSatB}, {5, kNoPosition}, {6, kShortTail}});
        COMPARE_TEXT(w, "Label1_5", QString());
        COMPARE_TEXT(w, "Label1_6", "E 13.0");
        QCOMPARE(w.Links(5), QStringList());
        QCOMPARE(w.Links(6), QStringList{"a"});
        for (const int slot : {5, 6}) {
            COMPARE_TEXT(w, QString("Label4_%1").arg(slot), QString());
            COMPARE_TEXT(w, QString("Label500_%1").arg(slot), QString());
            QVERIFY2(!w.Layout().Slot(slot).marker.visible, qPrintable(QString::number(slot)));
        }
        const QString slot2 = TextOf(w, "Label4_2");
        Delete(Selector(w, 3), 0, 100);
        COMPARE_TEXT(w, "Label1_3", QString());
        COMPARE_TEXT(w, "Label4_3", QString());
        QVERIFY(w.Links(3).isEmpty() && !w.Layout().Slot(3).marker.visible);
        COMPARE_TEXT(w, "Label4_2", slot2);
        QVERIFY(w.Layout().Slot(2).crossY.visible);

        Delete(Selector(w, 0), 0, 3);
        for (int i = 0; i < MainWindow::kSlots; ++i) {
            for (const char* name : {"Combo1", "Label1", "Label4"}) {
                COMPARE_TEXT(w, QString("%1_%2").arg(name).arg(i), QString());
            }
            QVERIFY(w.Links(i).isEmpty());
            const SlotDrawing& slot = w.Layout().Slot(i);
            QCOMPARE(slot.marker.visible, i == 0);
            QVERIFY(!slot.caption.visible && !slot.rotationLine.visible && !slot.crossX.visible &&
                    !slot.crossY.visible);
        }
        Choose(w, 4, kSatB);
        COMPARE_TEXT(w, "Combo1_4", QString());
        COMPARE_TEXT(w, "Label1_4", QString());
        COMPARE_TEXT(w, "Label1_0", "Центральная");
    }

    // Leaving is a move to another element of the window; it is no choice from the list. Leaving
    // an emptied selector takes its results, not its links; its own list is no leaving. The open
    // list is as wide as its longest entry; closed, the selector keeps its width.
    void leavingASelector() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        auto* latitude = Find<QLineEdit>(w, "sh");
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        ChooseAll(w, {{0, kSatA}, {3, kSatB}});
        Focus(Selector(w, 3));
        Delete(Selector(w, 3), static_cast<int>(kEntries[kSatB].size()) - 1, 1);  // kSatBShort
        Focus(latitude);
        QCOMPARE(w.Links(3), (QStringList{"a", "b", "c"}));  // not kSatBShort's

        EmptyQuietly(Selector(w, 3));
        Focus(Selector(w, 3));
        Selector(w, 3)->showPopup();
        QTRY_VERIFY(Selector(w, 3)->view()->hasFocus());
        Selector(w, 3)->hidePopup();
        QVERIFY2(!TextOf(w, "Label4_3").isEmpty(), "Label4_3 emptied by its own list");
        Focus(latitude);
        COMPARE_TEXT(w, "Label4_3", QString());
        QCOMPARE(w.Links(3), (QStringList{"a", "b", "c"}));
        QVERIFY(!w.Layout().Slot(3).marker.visible);
        EmptyQuietly(Selector(w, 0));
        Focus(Selector(w, 0));
        Focus(latitude);  // the central marker stays, its caption goes
        QVERIFY(w.Layout().Slot(0).marker.visible && !w.Layout().Slot(0).caption.visible);

        Selector(w, 6)->showPopup();
        QWidget* list = Selector(w, 6)->view()->window();
        QTRY_VERIFY(list->isVisible());
        const int text =
            QFontMetrics(list->font()).horizontalAdvance(QString::fromStdString(kEntries[kSatF]));
        QVERIFY2(list->width() >= text && list->width() <= text + 80,
                 qPrintable(QString("Combo1_6's list: %1 for %2").arg(list->width()).arg(text)));
        Selector(w, 6)->hidePopup();
        QVERIFY2(Selector(w, 6)->width() == 145, "Combo1_6 changed its width");
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
