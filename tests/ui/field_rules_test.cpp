// Key filters and change rules of the main window's fields, driven through real key events,
// real pastes and input-method commits.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QtTest>

#include "window_fixture.h"

using palquin::frmMain;
using palquin::testing::WindowFixture;

namespace {

const QString kM1 = QStringLiteral("Формат поля: ###.##!|!!!!!!!!");
const QString kM2 = QStringLiteral("Выберите значение из списка!|!!!!!!!!");
const QString kM3 = QStringLiteral("Диапазон координат: от 0° до 180°!|Palquin");
const QString kM4 = QStringLiteral("Размер диаметра от 0 до 100 мм. !|Palquin");
const std::string kFile =
    "13;0;E;Hot Bird;a;b;c\r\n------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";

// "text|title" of every message shown, in order.
QStringList Shown(WindowFixture& fixture) {
    QStringList shown;
    for (const auto& message : fixture.Notifier().messages) {
        shown << message.text + QLatin1Char('|') + message.title;
    }
    return shown;
}

QString Text(QWidget* field) {
    auto* edit = qobject_cast<QLineEdit*>(field);
    return edit != nullptr ? edit->text() : qobject_cast<QComboBox*>(field)->currentText();
}

QWidget* Emptied(frmMain& w, const QString& name) {
    auto* widget = w.findChild<QWidget*>(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->clear();
    } else {
        qobject_cast<QComboBox*>(widget)->setEditText(QString());
    }
    return widget;
}

// Text given to a field, what it holds then and the messages shown on the way.
struct Case {
    QString field, input, expected;
    QStringList messages;
};

void Columns() {
    QTest::addColumn<Case>("c");
}

void Row(const char* name, const char* field, const QString& input, const QString& expected,
         const QStringList& messages) {
    QTest::newRow(name) << Case{QString::fromLatin1(field), input, expected, messages};
}

}  // namespace

Q_DECLARE_METATYPE(Case)

class FieldRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void typedCharacters_data() {
        Columns();
        Row("digits and points, any number of them", "sh", "12.3.4", "12.3.4", {});
        Row("comma refused", "dl", "1,5", "15", {kM1});
        Row("minus, blank and letter refused", "fokus", "-6 0a0", "600", {kM1, kM1, kM1});
        Row("181 empties the whole field", "dl", "181", "", {kM3});
        Row("diameter drops letters and the point silently", "diam_4", "7a.5", "75", {});
        Row("capitals only for N/S", "cmbNS", "nS", "S", {kM2});
        Row("capitals only for E/W", "cmbEW", "WNs", "W", {kM2, kM2});
        Row("satellites only from the list", "Combo1_3", "1;", "", {kM2, kM2});
    }
    void typedCharacters() {
        QFETCH(Case, c);
        WindowFixture fixture(kFile);
        QWidget* widget = Emptied(fixture.Window(), c.field);
        QTest::keyClicks(widget, c.input);
        QCOMPARE(Text(widget), c.expected);
        QCOMPARE(Shown(fixture), c.messages);
    }

    // Composed text goes through the key rule, one message per commit; the fields tell input
    // methods that they take none.
    void inputMethodCommits_data() {
        Columns();
        Row("number field", "sh", "1x.5\n", "1.5", {kM1});
        Row("diameter", "diam_2", "7\xD0\xB0", "7", {});
        Row("satellite selector", "Combo1_3", "13;0;E", "", {kM2});
        Row("hemisphere", "cmbNS", "sN", "N", {kM2});
    }
    void inputMethodCommits() {
        QFETCH(Case, c);
        WindowFixture fixture(kFile);
        QWidget* widget = Emptied(fixture.Window(), c.field);
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(widget, &query);
        QCOMPARE(query.value(Qt::ImEnabled), QVariant(false));

        QInputMethodEvent composing(QStringLiteral("x,"), {});
        QApplication::sendEvent(widget, &composing);
        QInputMethodEvent commit;
        commit.setCommitString(c.input);
        QApplication::sendEvent(widget, &commit);
        QCOMPARE(Text(widget), c.expected);
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
        QCOMPARE(w.sh->text(), QStringLiteral("12------------------INJECT"));
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

    void coordinatesOutOfRangeAreEmptied() {
        WindowFixture fixture(kFile);
        const QStringList accepted = {"180", "0", "", "abc"};
        for (const QString& text : accepted + QStringList{"180.01", "-5", "1e999"}) {
            fixture.Notifier().messages.clear();
            fixture.Window().dl->setText(text);  // pasted or restored, not typed
            const bool ok = accepted.contains(text);
            QCOMPARE(fixture.Window().dl->text(), ok ? text : QString());
            QCOMPARE(Shown(fixture), ok ? QStringList{} : QStringList{kM3});
        }
    }

    void diameterRuleResetsAndResizesTheMarker() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        const palquin::RectTw before = w.Layout().Slot(4).marker;
        w.diam[4]->setText(QStringLiteral("101"));
        QCOMPARE(Shown(fixture), QStringList{kM4});
        QCOMPARE(w.diam[4]->text(), QStringLiteral("50"));
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 500.0);
        w.diam[4]->setText(QStringLiteral("100"));
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 1000.0);
        QCOMPARE(w.Layout().Slot(4).marker.CenterXTw(), before.CenterXTw());
        QCOMPARE(w.Layout().Slot(4).marker.visible, before.visible);
    }
};

QTEST_MAIN(FieldRulesTest)
#include "field_rules_test.moc"
