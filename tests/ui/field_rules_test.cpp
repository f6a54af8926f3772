// Key filters and change rules of the main window's fields, driven through real key events.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "ui/field_rules.h"
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

QLineEdit* Field(frmMain& w, const QString& name) {
    return w.findChild<QLineEdit*>(name);
}

}  // namespace

class FieldRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void numberFieldsTakeDigitsAndPointOnly_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("messages");
        QTest::newRow("sh digits and points") << "sh"
                                              << "12.3.4"
                                              << "12.3.4" << 0;
        QTest::newRow("dl comma refused") << "dl"
                                          << "1,5"
                                          << "15" << 1;
        QTest::newRow("fokus minus, blank and letter") << "fokus"
                                                       << "-6 0a0"
                                                       << "600" << 3;
        QTest::newRow("fokus has no range") << "fokus"
                                            << "99999"
                                            << "99999" << 0;
    }
    void numberFieldsTakeDigitsAndPointOnly() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(int, messages);
        WindowFixture fixture(kFile);
        QLineEdit* edit = Field(fixture.Window(), field);
        edit->clear();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), expected);
        QCOMPARE(static_cast<int>(fixture.Notifier().messages.size()), messages);
        for (const auto& message : fixture.Notifier().messages) {
            QCOMPARE(message.text, kM1);
            QCOMPARE(message.title, QStringLiteral("!!!!!!!!"));
        }
    }

    void controlCharactersAreRefusedCharacters() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        QTest::keyClick(w.sh, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QCOMPARE(fixture.Notifier().messages[0].text, kM1);
        QTest::keyClick(w.diam[2], Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        // Backspace and Enter pass; Delete is no typed character at all.
        QTest::keyClick(w.sh, Qt::Key_Backspace);
        QTest::keyClick(w.sh, Qt::Key_Return);
        QTest::keyClick(w.sh, Qt::Key_Home);
        QTest::keyClick(w.sh, Qt::Key_Delete);
        QCOMPARE(w.sh->text(), QStringLiteral("5.7"));
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
    }

    void coordinatesOutOfRangeAreEmptied_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("180 accepted") << "sh"
                                      << "180" << true;
        QTest::newRow("180.01 refused") << "dl"
                                        << "180.01" << false;
        QTest::newRow("0 accepted") << "sh"
                                    << "0" << true;
        QTest::newRow("negative pasted") << "dl"
                                         << "-5" << false;
        QTest::newRow("letters read as 0 stay") << "dl"
                                                << "abc" << true;
        QTest::newRow("huge exponent") << "sh"
                                       << "1e999" << false;
    }
    void coordinatesOutOfRangeAreEmptied() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        WindowFixture fixture(kFile);
        QLineEdit* edit = Field(fixture.Window(), field);
        edit->setText(text);
        QCOMPARE(edit->text(), accepted ? text : QString());
        QCOMPARE(fixture.Notifier().messages.size(), size_t{accepted ? 0u : 1u});
        if (!accepted) {
            QCOMPARE(fixture.Notifier().messages[0].text, kM3);
            QCOMPARE(fixture.Notifier().messages[0].title, QStringLiteral("Palquin"));
        }
    }

    void typing181EmptiesTheWholeField() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        w.dl->clear();
        QTest::keyClicks(w.dl, QStringLiteral("18"));
        QVERIFY(fixture.Notifier().messages.empty());
        QTest::keyClick(w.dl, Qt::Key_1);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QCOMPARE(fixture.Notifier().messages[0].text, kM3);
        QCOMPARE(w.dl->text(), QString());
    }

    void diameterRuleResetsAndResizesTheMarker() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        const palquin::RectTw before = w.Layout().Slot(4).marker;

        w.diam[4]->setText(QStringLiteral("100"));
        QVERIFY(fixture.Notifier().messages.empty());
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 1000.0);
        QCOMPARE(w.Layout().Slot(4).marker.CenterXTw(), before.CenterXTw());
        QCOMPARE(w.Layout().Slot(4).marker.visible, before.visible);

        w.diam[4]->setText(QStringLiteral("101"));
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QCOMPARE(fixture.Notifier().messages[0].text, kM4);
        QCOMPARE(fixture.Notifier().messages[0].title, QStringLiteral("Palquin"));
        QCOMPARE(w.diam[4]->text(), QStringLiteral("50"));
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 500.0);

        w.diam[4]->clear();
        QCOMPARE(w.Layout().Slot(4).marker.widthTw, 0.0);
        QCOMPARE(w.Layout().Slot(4).marker.CenterYTw(), before.CenterYTw());

        // Letters and the point are dropped without a word.
        QTest::keyClicks(w.diam[4], QStringLiteral("7a.5"));
        QTest::keyClick(w.diam[4], Qt::Key_Return);
        QCOMPARE(w.diam[4]->text(), QStringLiteral("75"));
        QTest::keyClick(w.diam[4], Qt::Key_Backspace);
        QCOMPARE(w.diam[4]->text(), QStringLiteral("7"));
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
    }

    void hemisphereSelectorsTakeTheirCapitalsOnly() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        w.cmbNS->setEditText(QString());
        QTest::keyClicks(w.cmbNS, QStringLiteral("nS"));
        QCOMPARE(w.cmbNS->currentText(), QStringLiteral("S"));
        QTest::keyClick(w.cmbNS, Qt::Key_Backspace);
        QCOMPARE(w.cmbNS->currentText(), QStringLiteral("S"));
        w.cmbEW->setEditText(QString());
        QTest::keyClicks(w.cmbEW, QStringLiteral("WNs"));
        QTest::keyClick(w.cmbEW, Qt::Key_Return);
        QCOMPARE(w.cmbEW->currentText(), QStringLiteral("W"));
        QCOMPARE(fixture.Notifier().messages.size(), size_t{5});
        for (const auto& message : fixture.Notifier().messages) {
            QCOMPARE(message.text, kM2);
            QCOMPARE(message.title, QStringLiteral("!!!!!!!!"));
        }
    }

    void satelliteSelectorsRefuseEveryTypedCharacter() {
        WindowFixture fixture(kFile);
        frmMain& w = fixture.Window();
        QTest::keyClicks(w.Combo1[3], QStringLiteral("1;"));
        QTest::keyClick(w.Combo1[3], Qt::Key_Backspace);
        QTest::keyClick(w.Combo1[3], Qt::Key_Return);
        QCOMPARE(w.Combo1[3]->currentText(), QString());
        QCOMPARE(fixture.Notifier().messages.size(), size_t{4});
        QCOMPARE(fixture.Notifier().messages[3].text, kM2);
        // An open list keeps Enter and Escape for choosing, but still refuses characters.
        QTest::keyClick(w.Combo1[3]->view(), Qt::Key_X);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{5});
        QTest::keyClick(w.Combo1[3]->view(), Qt::Key_Escape);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{5});
    }
};

QTEST_MAIN(FieldRulesTest)
#include "field_rules_test.moc"
