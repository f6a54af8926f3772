// Key filters and change rules of the main window's fields, driven through real key events,
// real pastes and input-method commits.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QtTest>

#include "window_fixture.h"

using namespace palquin;
using namespace palquin::testing;

namespace {

const QString kM1 = QStringLiteral("Формат поля: ###.##!|!!!!!!!!");
const QString kM2 = QStringLiteral("Выберите значение из списка!|!!!!!!!!");
const QString kM3 = QStringLiteral("Диапазон координат: от 0° до 180°!|Palquin");
const QString kM4 = QStringLiteral("Размер диаметра от 0 до 100 мм. !|Palquin");
const std::string kFile = SampleFile({"13;0;E;Hot Bird;a;b;c"});

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

}  // namespace

Q_DECLARE_METATYPE(Case)

class FieldRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void textReachingAField_data() {
        QTest::addColumn<Case>("c");
        const auto row = [](const char* name, const Case& c) { QTest::newRow(name) << c; };
        row("digits and points, any number of them", {"sh", "12.3.4", "12.3.4", {}});
        row("comma refused", {"dl", "1,5", "15", {kM1}});
        row("minus, blank and letter refused", {"fokus", "-6 0a0", "600", {kM1, kM1, kM1}});
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
        row("set text that is no number", {"dl", "abc", "abc", {}, kSet});
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

    // Shift+Insert pastes (Ctrl+V types a control character, refused like any other).
    void pastedLineBreaksNeverReachTheSettings() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        QGuiApplication::clipboard()->setText(QStringLiteral("12\r\n------------------\r\nINJECT"));
        w.sh->clear();
        QTest::keyClick(w.sh, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(w.fokus, Qt::Key_Insert, Qt::ShiftModifier);
        QGuiApplication::clipboard()->setText(QStringLiteral("\nW\r"));
        QTest::keyClick(w.cmbEW, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(Shown(fixture), QStringList{});
        fixture.Close();
        QCOMPARE(fixture.FileBytes(),
                 "13;0;E;Hot Bird;a;b;c\r\n------------------\r\n"
                 "12------------------INJECT\r\nN\r\n37.6\r\nEW\r\n"
                 "60012------------------INJECT\r\n");
        fixture.Open();
        QCOMPARE(fixture.Window().dl->text(), QStringLiteral("37.6"));  // nothing shifted
    }

    void keysThatTypeNoCharacterOrAControlOne() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        QTest::keyClick(w.sh, Qt::Key_V, Qt::ControlModifier);  // M1
        QTest::keyClick(w.diam[2], Qt::Key_V, Qt::ControlModifier);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Home, Qt::Key_Delete}) {
            QTest::keyClick(w.sh, key);
            QTest::keyClick(w.diam[2], key);
        }
        QCOMPARE(w.sh->text() + w.diam[2]->text(), QStringLiteral("5.7"));
        QTest::keyClick(w.cmbNS, Qt::Key_Backspace);      // M2
        QTest::keyClick(w.cmbEW, Qt::Key_Return);         // M2
        QTest::keyClick(w.Combo1[3], Qt::Key_Backspace);  // M2
        // With a list open its keys go to the list: refused letters still bring M2, Enter and
        // Escape stay the list's.
        QTest::keyClick(w.Combo1[3]->view(), Qt::Key_X);
        QTest::keyClick(w.Combo1[3]->view(), Qt::Key_Escape);
        w.cmbNS->showPopup();
        QTest::keyClick(w.cmbNS->view(), 's');
        QTest::keyClick(w.cmbNS->view(), Qt::Key_Return);
        QCOMPARE(w.cmbNS->currentText() + w.cmbEW->currentText(), QStringLiteral("NE"));
        QCOMPARE(Shown(fixture), (QStringList{kM1, kM2, kM2, kM2, kM2, kM2}));
    }

    void diameterResizesTheMarkerInPlace() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        const RectTw before = w.Layout().Slot(4).marker;
        QCOMPARE(before.widthTw, 500.0);
        w.diam[4]->setText(QStringLiteral("100"));
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 1000.0);
        QCOMPARE(w.Layout().Slot(4).marker.CenterXTw(), before.CenterXTw());
        QCOMPARE(w.Layout().Slot(4).marker.visible, before.visible);
    }
};

QTEST_MAIN(FieldRulesTest)
#include "field_rules_test.moc"
