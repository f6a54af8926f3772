// Key filters and change rules of the main window's fields, driven through real key events.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "window_fixture.h"

using palquin::frmMain;
using palquin::testing::WindowFixture;

namespace {

const QString kM1 = QStringLiteral("Формат поля: ###.##!");
const QString kM2 = QStringLiteral("Выберите значение из списка!");
const QString kM3 = QStringLiteral("Диапазон координат: от 0° до 180°!");
const QString kM4 = QStringLiteral("Размер диаметра от 0 до 100 мм. !");
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

void Row(const char* name, const char* field, const QString& typed, const QString& expected,
         const QStringList& messages) {
    QTest::newRow(name) << QString::fromLatin1(field) << typed << expected << messages;
}

}  // namespace

class FieldRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void typedCharacters_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("messages");
        const QString m1 = kM1 + "|!!!!!!!!", m2 = kM2 + "|!!!!!!!!", m3 = kM3 + "|Palquin";
        Row("digits and points", "sh", "12.3.4", "12.3.4", {});
        Row("comma refused", "dl", "1,5", "15", {m1});
        Row("minus, blank and letter refused", "fokus", "-6 0a0", "600", {m1, m1, m1});
        Row("focal length has no range", "fokus", "99999", "99999", {});
        Row("181 empties the whole field", "dl", "181", "", {m3});
        Row("diameter drops letters and the point silently", "diam_4", "7a.5", "75", {});
        Row("capitals only for N/S", "cmbNS", "nS", "S", {m2});
        Row("capitals only for E/W", "cmbEW", "WNs", "W", {m2, m2});
        Row("satellites only from the list", "Combo1_3", "1;", "", {m2, m2});
    }
    void typedCharacters() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(QStringList, messages);
        WindowFixture fixture(kFile);
        auto* widget = fixture.Window().findChild<QWidget*>(field);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->clear();
        } else {
            qobject_cast<QComboBox*>(widget)->setEditText(QString());
        }
        QTest::keyClicks(widget, typed);
        QCOMPARE(Text(widget), expected);
        QCOMPARE(Shown(fixture), messages);
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
        QTest::keyClick(w.cmbNS, Qt::Key_Backspace);           // M2
        QTest::keyClick(w.cmbEW, Qt::Key_Return);              // M2
        QTest::keyClick(w.Combo1[3], Qt::Key_Backspace);       // M2
        QTest::keyClick(w.Combo1[3]->view(), Qt::Key_X);       // M2, the list is open
        QTest::keyClick(w.Combo1[3]->view(), Qt::Key_Escape);  // kept for the list
        QCOMPARE(w.cmbNS->currentText() + w.cmbEW->currentText(), QStringLiteral("NE"));
        const QString m2 = kM2 + "|!!!!!!!!";
        QCOMPARE(Shown(fixture), (QStringList{kM1 + "|!!!!!!!!", m2, m2, m2, m2}));
    }

    void coordinatesOutOfRangeAreEmptied_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        for (const char* accepted : {"180", "0", "", "abc"}) {
            QTest::newRow(accepted) << QString::fromLatin1(accepted) << true;
        }
        for (const char* refused : {"180.01", "-5", "1e999"}) {
            QTest::newRow(refused) << QString::fromLatin1(refused) << false;
        }
    }
    void coordinatesOutOfRangeAreEmptied() {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        WindowFixture fixture(kFile);
        for (QLineEdit* field : {fixture.Window().sh, fixture.Window().dl}) {
            field->setText(text);  // pasted or restored, not typed
            QCOMPARE(field->text(), accepted ? text : QString());
        }
        QCOMPARE(Shown(fixture).size(), accepted ? 0 : 2);
        QVERIFY(accepted || Shown(fixture)[1] == kM3 + "|Palquin");
    }

    void diameterRuleResetsAndResizesTheMarker() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        const palquin::RectTw before = w.Layout().Slot(4).marker;
        w.diam[4]->setText(QStringLiteral("100"));
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 1000.0);
        QCOMPARE(w.Layout().Slot(4).marker.CenterXTw(), before.CenterXTw());
        QCOMPARE(w.Layout().Slot(4).marker.visible, before.visible);

        w.diam[4]->setText(QStringLiteral("101"));
        QCOMPARE(Shown(fixture), QStringList{kM4 + "|Palquin"});
        QCOMPARE(w.diam[4]->text(), QStringLiteral("50"));
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 500.0);

        w.diam[4]->clear();
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 0.0);
        QCOMPARE(w.Layout().Slot(4).marker.CenterYTw(), before.CenterYTw());
    }
};

QTEST_MAIN(FieldRulesTest)
#include "field_rules_test.moc"
