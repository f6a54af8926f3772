// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up and save, look, field rules and slot recalculation. A site in Moscow
// with satellites at 36 E (central), 13 E and 140 E (below the horizon), checked by hand.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest>

#include "diagram/compass_view.h"
#include "ui/ticker.h"
#include "window_fixture.h"

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

const QString kM1 = QStringLiteral("Формат поля: ###.##!|!!!!!!!!");
const QString kM2 = QStringLiteral("Выберите значение из списка!|!!!!!!!!");
const QString kM3 = QStringLiteral("Диапазон координат: от 0° до 180°!|Palquin");
const QString kM4 = QStringLiteral("Размер диаметра от 0 до 100 мм. !|Palquin");

// "text|title" of every message shown, in order.
QStringList Shown(WindowFixture& fixture) {
    QStringList shown;
    for (const auto& message : fixture.Notifier().messages) {
        shown << message.text + QLatin1Char('|') + message.title;
    }
    return shown;
}

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

bool Near(double actual, double expected) {
    return std::abs(actual - expected) <= 0.01;  // twips
}

QColor SelectorColour(MainWindow& w, int slot) {
    return Find<QComboBox>(w, "Combo1", slot)->lineEdit()->palette().color(QPalette::Text);
}

void Focus(QWidget* widget) {
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
}

void EmptyQuietly(QComboBox* selector) {
    const QSignalBlocker quiet(selector->lineEdit());
    selector->setEditText(QString());
}

void Delete(QComboBox* selector, int from, int length) {
    selector->lineEdit()->setSelection(from, length);
    QTest::keyClick(selector, Qt::Key_Delete);
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
        QCOMPARE(Shown(fixture), QStringList{kM3});
        fixture.Close();
        QCOMPARE(fixture.FileBytes(),
                 "13;0;E;a;;;\r\n------------------\r\n\r\nN\r\n37.6\r\nE\r\n600\r\n");
        fixture.Open();
        QDir folder(QString::fromStdString(fixture.FolderPath()));
        QVERIFY(folder.removeRecursively());
        fixture.Close();
        QVERIFY(Shown(fixture).last().startsWith(QStringLiteral("Не удалось сохранить настройки")));
        QVERIFY(folder.mkpath(QStringLiteral("satellite.txt")));
        fixture.Open();
        QCOMPARE(Find<QComboBox>(fixture.Window(), "Combo1", 0)->count(), 0);
        fixture.Close();
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("satellite.txt"))).isDir());
        QCOMPARE(Shown(fixture).mid(2),
                 QStringList{QStringLiteral("Ошибка в процедуре загрузки!|Palquin")});
    }

    // The desktop's request before a logout saves as a close does and leaves the window open; a
    // failed save shows no box, since nobody may be there to close it.
    void logoutRequestSaves() {
        WindowFixture fixture(
            "13;0;E;a;;;\r\n------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600");
        MainWindow& w = fixture.Window();
        w.show();
        Find<QLineEdit>(w, "fokus")->setText(QStringLiteral("650"));
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
        QVERIFY(fixture.Notifier().messages.empty());
    }

    // Its caption, cells and panel boxes as laid out, its colours, and the ticker: empty for its
    // first period, then its lines in yellow on black, on its timer.
    void windowLook() {
        WindowFixture fixture("");
        MainWindow& w = fixture.Window();
        QCOMPARE(w.windowTitle(), QStringLiteral("Dorvik - Расчет мультифида v.1.1"));
        QCOMPARE(Find<QFrame>(w, "Frame6")->y(),
                 600);  // 30 twips above the client area's lower edge
        // Panel boxes of 1995 x 855 twips: even ones in the top row, odd ones below.
        QCOMPARE(Find<QLabel>(w, "Label500", 3)->geometry(), QRect(264, 72, 133, 57));
        QCOMPARE(Find<QLabel>(w, "Label500", 6)->geometry(), QRect(536, 16, 133, 57));

        QCOMPARE(Find<QLabel>(w, "Label9")->text(), QString());
        w.Ticker().Tick();
        const QImage image = w.Client()->grab().toImage();
        const auto at = [&](QWidget* widget, QPoint inside) {
            return image.pixelColor(widget->mapTo(w.Client(), inside));
        };
        const QColor lilac(192, 192, 255), grey(224, 224, 224), pink(255, 192, 192);
        const QList<std::pair<QWidget*, QColor>> samples = {
            {Find<QGroupBox>(w, "Frame2"), lilac},     {Find<QGroupBox>(w, "Frame4"), lilac},
            {Find<QGroupBox>(w, "Frame1"), Qt::white}, {Find<QGroupBox>(w, "Frame5"), Qt::white},
            {Find<QLabel>(w, "Label1", 4), grey},      {Find<QLineEdit>(w, "diam", 7), pink},
            {Find<QLabel>(w, "Label9"), Qt::black}};
        for (const auto& [widget, colour] : samples) {
            QCOMPARE(at(widget, QPoint(widget->width() - 4, widget->height() / 2)), colour);
        }
        int yellow = 0;
        for (int x = 0; x < Find<QLabel>(w, "Label9")->width(); ++x) {
            yellow += at(Find<QLabel>(w, "Label9"),
                         QPoint(x, Find<QLabel>(w, "Label9")->height() / 2)) == QColor(255, 255, 0);
        }
        QVERIFY(yellow > 0);
        w.Ticker().Timer().setInterval(1);
        QTRY_VERIFY(w.Ticker().Index() > 1);
    }

    void textReachingAField_data() {
        QTest::addColumn<Case>("c");
        const auto row = [](const char* name, const Case& c) { QTest::newRow(name) << c; };
        row("digits and points, any number of them", {"sh", "12.3.4", "12.3.4", {}});
        row("comma, minus, blank and letter refused",
            {"fokus", "-6 0a,0", "600", {kM1, kM1, kM1, kM1}});
        row("181 empties the whole field", {"dl", "181", "", {kM3}});
        row("diameter drops letters and the point silently", {"diam_4", "7a.5", "75", {}});
        row("capitals only for N/S", {"cmbNS", "nS", "S", {kM2}});
        row("capitals only for E/W", {"cmbEW", "WNs", "W", {kM2, kM2}});
        row("satellites only from the list", {"Combo1_3", "1;", "", {kM2, kM2}});
        // Composed text goes through the same rule, one message per commit.
        row("composed number", {"sh", "1x.5\n", "1.5", {kM1}, kComposed});
        row("composed diameter", {"diam_2", "7\xD0\xB0", "7", {}, kComposed});
        row("composed satellite", {"Combo1_3", "13;0;E", "", {kM2}, kComposed});
        row("composed hemisphere", {"cmbNS", "sN", "N", {kM2}, kComposed});
        row("set 180", {"dl", "180", "180", {}, kSet});
        row("set 180.01", {"dl", "180.01", "", {kM3}, kSet});
        row("set -5", {"dl", "-5", "", {kM3}, kSet});
        row("set 1e999", {"dl", "1e999", "", {kM3}, kSet});
        row("set diameter 101 goes back to 50", {"diam_4", "101", "50", {kM4}, kSet});
    }
    void textReachingAField() {
        QFETCH(Case, c);
        WindowFixture fixture(kFile);
        auto* widget = fixture.Window().findChild<QWidget*>(c.field);
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
            QCOMPARE(query.value(Qt::ImEnabled), QVariant(false));
            QInputMethodEvent composing(QStringLiteral("x,"), {});
            QApplication::sendEvent(widget, &composing);
            QInputMethodEvent commit;
            commit.setCommitString(c.input);
            QApplication::sendEvent(widget, &commit);
        }
        QCOMPARE(edit->text(), c.expected);
        QCOMPARE(Shown(fixture), c.messages);
    }

    // Keys that type no character or a control one (Ctrl+V), then Shift+Insert pastes, whose line
    // breaks never reach the settings.
    void pastesAndKeysThatTypeNoCharacter() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        QTest::keyClick(Find<QLineEdit>(w, "sh"), Qt::Key_V, Qt::ControlModifier);  // M1
        QTest::keyClick(Find<QLineEdit>(w, "diam", 2), Qt::Key_V, Qt::ControlModifier);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Home, Qt::Key_Delete}) {
            QTest::keyClick(Find<QLineEdit>(w, "sh"), key);
            QTest::keyClick(Find<QLineEdit>(w, "diam", 2), key);
        }
        QCOMPARE(Find<QLineEdit>(w, "sh")->text() + Find<QLineEdit>(w, "diam", 2)->text(),
                 QStringLiteral("5.7"));
        QTest::keyClick(Find<QComboBox>(w, "cmbEW"), Qt::Key_Return);         // M2
        QTest::keyClick(Find<QComboBox>(w, "Combo1", 3), Qt::Key_Backspace);  // M2
        // With a list open its keys go to the list: refused letters still bring M2, Enter stays
        // the list's.
        QTest::keyClick(Find<QComboBox>(w, "Combo1", 3)->view(), Qt::Key_X);
        Find<QComboBox>(w, "cmbNS")->showPopup();
        QTest::keyClick(Find<QComboBox>(w, "cmbNS")->view(), 's');
        QTest::keyClick(Find<QComboBox>(w, "cmbNS")->view(), Qt::Key_Return);
        QCOMPARE(
            Find<QComboBox>(w, "cmbNS")->currentText() + Find<QComboBox>(w, "cmbEW")->currentText(),
            QStringLiteral("NE"));
        QGuiApplication::clipboard()->setText(QStringLiteral("12\r\n------------------\r\nINJECT"));
        Find<QLineEdit>(w, "sh")->clear();
        QTest::keyClick(Find<QLineEdit>(w, "sh"), Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(Find<QLineEdit>(w, "fokus"), Qt::Key_Insert, Qt::ShiftModifier);
        QGuiApplication::clipboard()->setText(QStringLiteral("\nW\r"));
        QTest::keyClick(Find<QComboBox>(w, "cmbEW"), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(Shown(fixture), (QStringList{kM1, kM2, kM2, kM2, kM2}));
        fixture.Close();
        QVERIFY(
            fixture.FileBytes().ends_with("\n------------------\r\n12------------------INJECT\r\n"
                                          "N\r\n37.6\r\nEW\r\n60012------------------INJECT\r\n"));
    }

    // Slot by slot as the user fills them, a zoom, then cmdOk after a site edit.
    void slotsFromTheCentreToTheLast() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        QTest::mouseClick(Find<QPushButton>(w, "cmdOk"), Qt::LeftButton);
        QCOMPARE(Find<QLabel>(w, "Label1", 0)->text(),
                 QStringLiteral("Центральный"));  // nothing chosen yet
        Choose(w, 0, kSatA);
        QCOMPARE(Find<QLabel>(w, "Label4", 0)->text(),
                 QStringLiteral("Азимут:  181.935°\r\nУгол места:  26.463°\r\n"
                                "Поворот конв. 1.1°\r\n\r\nКликни здесь!"));
        QCOMPARE(Find<QLabel>(w, "Label500", 0)->text(),
                 QStringLiteral("181.9°\r\n36;0;E;Sat A;a0;b0;c0"));
        Choose(w, 2, kSatB);
        QCOMPARE(Find<QLabel>(w, "Label4", 2)->text(),
                 QStringLiteral("Азимут:  208.981°\r\nУгол места:  22.773°\r\nГоризонталь:  "
                                "272.823 мм.\r\nВертикаль:  38.621 мм.\r\nПоворот конв. 15.8°"));
        // 13 E is west of 36 E and lower: right of and above the centre.
        const SlotDrawing& slot = w.Layout().Slot(2);
        QVERIFY(Near(slot.marker.leftTw, 8128.23) && Near(slot.marker.topTw, 931.29));
        QVERIFY(Near(slot.rotationLine.x1Tw, 8241.88) && Near(slot.rotationLine.y2Tw, 1662.34));

        // Below the horizon: announced with the entry as written (markup and entities included),
        // in plain text everywhere, then red.
        QColor colourDuringMessage;
        fixture.Notifier().onShow = [&](const auto&) {
            colourDuringMessage = SelectorColour(w, 3);
        };
        Choose(w, 3, kSatC);
        QCOMPARE(Shown(fixture), QStringList{Hidden(kSatC)});
        const auto& message = fixture.Notifier().messages[0];
        const std::unique_ptr<QMessageBox> box(
            BuildMessageBox(message.text, message.title, message.icon, &w));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(colourDuringMessage, QColor(0, 0, 192));
        QCOMPARE(SelectorColour(w, 3), QColor(255, 0, 0));
        QCOMPARE(Find<QLabel>(w, "Label500", 3)->text(), QString::fromStdString(kEntries[kSatC]));
        for (QLabel* label : {Find<QLabel>(w, "Label1", 3), Find<QLabel>(w, "Label4", 3),
                              Find<QLabel>(w, "Label500", 3)}) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }

        // Entries that fail part way keep what was written before the failure, nothing after:
        // the heading and the first link of a tail one ";" short, nothing without a position.
        Choose(w, 4, kNoPosition);
        Choose(w, 5, kShortTail);
        QCOMPARE(Find<QLabel>(w, "Label1", 4)->text() + Find<QLabel>(w, "Label4", 4)->text() +
                     Find<QLabel>(w, "Label4", 5)->text(),
                 QString());
        QCOMPARE(Find<QLabel>(w, "Label1", 5)->text() + w.Links(5).join('|'),
                 QStringLiteral("E 13.0a"));
        QVERIFY(!w.Layout().Slot(5).marker.visible &&
                Find<QLabel>(w, "Label500", 5)->text().isEmpty());

        // Slots 8 and 9 are calculated and drawn but have no panel box; the needle stays.
        const double needle = Find<CompassView>(w, "panelCompass")->Layout().needle.x2Tw;
        for (int i : {8, 9}) {
            Choose(w, i, kSatB);
            QCOMPARE(Find<QLabel>(w, "Label4", i)->text(), Find<QLabel>(w, "Label4", 2)->text());
        }
        QVERIFY(Find<CompassView>(w, "panelCompass")->Layout().needle.visible &&
                Find<CompassView>(w, "panelCompass")->Layout().needle.x2Tw == needle);
        // A zoom places every slot again, the last one included, and rebuilds the grid.
        QTest::mouseClick(Find<QPushButton>(w, "cmdMax"), Qt::LeftButton);
        QCOMPARE(Find<QLabel>(w, "LblMashtab")->text(), QStringLiteral("1/2"));
        QCOMPARE(w.Layout().VerticalGridLeftsTw()[1] - w.Layout().VerticalGridLeftsTw()[0], 400.0);
        for (int i : {2, 8, 9}) {
            QCOMPARE(w.Layout().Slot(i).marker.widthTw, 1000.0);  // 50 mm x 10 x 2
        }
        QVERIFY(Near(w.Layout().Slot(9).marker.CenterXTw(), 5650 + 2 * 2728.23));

        // A site edit waits for cmdOk, which recalculates the filled slots in slot order.
        Choose(w, 7, kSatF);
        Choose(w, 6, kSatG);
        const QString before = Find<QLabel>(w, "Label4", 2)->text();
        Find<QLineEdit>(w, "dl")->setText(QStringLiteral("38"));
        QCOMPARE(Find<QLabel>(w, "Label4", 2)->text(), before);
        fixture.Notifier().messages.clear();
        QTest::mouseClick(Find<QPushButton>(w, "cmdOk"), Qt::LeftButton);
        QCOMPARE(Shown(fixture), (QStringList{Hidden(kSatC), Hidden(kSatG), Hidden(kSatF)}));
        Choose(w, 3, kSatB);
        QCOMPARE(SelectorColour(w, 3), QColor(0, 0, 192));
    }

    // A site on the equator is calculated as the formulas reach it from the north: 36 E from
    // 0 N 0 E due east and 48.2 degrees up, the same texts as 0.000001 N; from 0 S the same
    // elevation, the azimuth a full turn on (never reduced) and the rotation a half turn.
    void equatorSite() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        Find<QLineEdit>(w, "dl")->setText(QStringLiteral("0"));
        const auto slotTexts = [&](const char* latitude, const char* hemisphere) {
            Find<QLineEdit>(w, "sh")->setText(QString::fromLatin1(latitude));
            Find<QComboBox>(w, "cmbNS")->setEditText(QString::fromLatin1(hemisphere));
            Choose(w, 0, kSatA);
            Choose(w, 2, kSatB);
            return Find<QLabel>(w, "Label4", 0)->text() + u'|' +
                   Find<QLabel>(w, "Label4", 2)->text();
        };
        const QString equator = slotTexts("0", "N");
        QCOMPARE(equator.section(u'|', 0, 0),
                 QStringLiteral("Азимут:  90°\r\nУгол места:  48.224°\r\nПоворот конв.-90°\r\n"
                                "\r\nКликни здесь!"));
        QVERIFY2(
            equator.section(u'|', 1).startsWith(QStringLiteral("Азимут:  90°\r\nУгол места: ")),
            qPrintable(equator));
        QCOMPARE(slotTexts("0.000001", "N"), equator);
        QString south = slotTexts("0", "S");
        QVERIFY2(south.startsWith(QStringLiteral("Азимут:  450°\r\nУгол места:  48.224°\r\n"
                                                 "Поворот конв. 90°")),
                 qPrintable(south));
        QVERIFY(Shown(fixture).isEmpty());
        QVERIFY(w.Layout().Slot(2).marker.visible);
    }

    void listKeysTheWheelAndDeletions() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        Choose(w, 0, kSatA);
        Choose(w, 2, kSatB);
        Choose(w, 3, kSatB);
        const QString slot2 = Find<QLabel>(w, "Label4", 2)->text();
        QTest::keyClick(Find<QComboBox>(w, "Combo1", 0),
                        Qt::Key_Down);  // a choice from the list: clears nothing
        QCOMPARE(Find<QLabel>(w, "Label1", 0)->text(), QStringLiteral("E 13.0"));
        QCOMPARE(Find<QLabel>(w, "Label4", 2)->text(), slot2);
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Find<QComboBox>(w, "Combo1", 4),
                                &wheel);  // the wheel chooses nothing
        QApplication::sendEvent(Find<QComboBox>(w, "cmbNS"), &wheel);
        QCOMPARE(Find<QComboBox>(w, "Combo1", 4)->currentText() +
                     Find<QComboBox>(w, "cmbNS")->currentText(),
                 QStringLiteral("N"));

        Delete(Find<QComboBox>(w, "Combo1", 3), 0, 100);  // one slot alone
        QCOMPARE(Find<QLabel>(w, "Label1", 3)->text() + Find<QLabel>(w, "Label4", 3)->text(),
                 QString());
        QVERIFY(w.Links(3).isEmpty() && !w.Layout().Slot(3).marker.visible);
        QCOMPARE(Find<QLabel>(w, "Label4", 2)->text(), slot2);
        QVERIFY(w.Layout().Slot(2).crossY.visible);
        Delete(Find<QComboBox>(w, "Combo1", 0), 0, 3);  // part of the central text: every slot
        for (int i = 0; i < MainWindow::kSlots; ++i) {
            QCOMPARE(Find<QComboBox>(w, "Combo1", i)->currentText() +
                         Find<QLabel>(w, "Label1", i)->text() +
                         Find<QLabel>(w, "Label4", i)->text() + w.Links(i).join(""),
                     QString());
            const SlotDrawing& slot = w.Layout().Slot(i);
            QCOMPARE(slot.marker.visible, i == 0);
            QVERIFY(!slot.caption.visible && !slot.rotationLine.visible && !slot.crossX.visible &&
                    !slot.crossY.visible);
        }
        // Without a central satellite a choice elsewhere empties every slot again.
        Choose(w, 4, kSatB);
        QCOMPARE(Find<QComboBox>(w, "Combo1", 4)->currentText() +
                     Find<QLabel>(w, "Label1", 4)->text() + Find<QLabel>(w, "Label1", 0)->text(),
                 QStringLiteral("Центральная"));
    }

    // Leaving is a move to another element of the window; it is no choice from the list.
    void leavingASelector() {
        WindowFixture fixture(kFile);
        MainWindow& w = fixture.Window();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Choose(w, 0, kSatA);
        Choose(w, 3, kSatB);
        Focus(Find<QComboBox>(w, "Combo1", 3));
        Delete(Find<QComboBox>(w, "Combo1", 3), static_cast<int>(kEntries[kSatB].size()) - 1,
               1);  // kSatBShort
        Focus(Find<QLineEdit>(w, "sh"));
        QCOMPARE(w.Links(3), (QStringList{"a", "b", "c"}));  // not kSatBShort's

        // Emptied: its own list is no leaving; a move elsewhere takes the results, not the links.
        EmptyQuietly(Find<QComboBox>(w, "Combo1", 3));
        Focus(Find<QComboBox>(w, "Combo1", 3));
        Find<QComboBox>(w, "Combo1", 3)->showPopup();
        QTRY_VERIFY(Find<QComboBox>(w, "Combo1", 3)->view()->hasFocus());
        Find<QComboBox>(w, "Combo1", 3)->hidePopup();
        QVERIFY(!Find<QLabel>(w, "Label4", 3)->text().isEmpty());
        Focus(Find<QLineEdit>(w, "sh"));
        QCOMPARE(Find<QLabel>(w, "Label4", 3)->text() + w.Links(3).join(','),
                 QStringLiteral("a,b,c"));
        QVERIFY(!w.Layout().Slot(3).marker.visible);
        EmptyQuietly(Find<QComboBox>(w, "Combo1", 0));
        Focus(Find<QComboBox>(w, "Combo1", 0));
        Focus(Find<QLineEdit>(w, "sh"));  // the central marker stays, its caption goes
        QVERIFY(w.Layout().Slot(0).marker.visible && !w.Layout().Slot(0).caption.visible);

        // The open list is as wide as its longest entry; closed, the selector keeps its width.
        Find<QComboBox>(w, "Combo1", 6)->showPopup();
        QWidget* list = Find<QComboBox>(w, "Combo1", 6)->view()->window();
        QTRY_VERIFY(list->isVisible());
        const int text =
            QFontMetrics(list->font()).horizontalAdvance(QString::fromStdString(kEntries[kSatF]));
        QVERIFY2(list->width() >= text && list->width() <= text + 80,
                 qPrintable(QString::number(text)));
        Find<QComboBox>(w, "Combo1", 6)->hidePopup();
        QCOMPARE(Find<QComboBox>(w, "Combo1", 6)->width(), 145);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
