// SPDX-License-Identifier: GPL-3.0-or-later
// Accessible names: a screen reader or an accessibility test finds each control of the windows
// by a Russian name of its own, whatever its objectName or visible text.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "ui/links_window.h"
#include "ui/picture_window.h"
#include "window_fixture.h"

using namespace palquin::testing_support;

using namespace palquin;

namespace {

// Controls that a user works or reads, without a name of their own: the fault this catches.
QStringList Unnamed(const QWidget& window) {
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        // Qt's own parts (the menu bar's overflow button) are Qt's to name.
        if (widget->objectName().startsWith(QStringLiteral("qt_"))) {
            continue;
        }
        const bool insideSelector = qobject_cast<QComboBox*>(widget->parentWidget()) != nullptr;
        const auto* label = qobject_cast<QLabel*>(widget);
        const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                             qobject_cast<QComboBox*>(widget) != nullptr ||
                             (qobject_cast<QLineEdit*>(widget) != nullptr && !insideSelector) ||
                             // a label's text changes with the slot: a fixed name finds it
                             (label != nullptr && label->text().isEmpty());
        if (control && widget->accessibleName().isEmpty()) {
            unnamed << widget->objectName();
        }
    }
    return unnamed;
}

}  // namespace

class AccessibleNamesTest : public QObject {
    Q_OBJECT
  private slots:
    // The names an accessibility test of the whole program looks for.
    void mainWindowControlHasItsName_data() {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("accessibleName");
        const auto row = [](const char* objectName, const char* accessibleName) {
            QTest::newRow(objectName)
                << QString::fromUtf8(objectName) << QString::fromUtf8(accessibleName);
        };
        row("Combo1_0", "Спутник центрального конвертера");
        row("Combo1_1", "Спутник ячейки 1");
        row("Combo1_4", "Спутник ячейки 4");
        row("Combo1_9", "Спутник ячейки 9");
        row("cmdOk", "Пересчитать");
        row("sh", "Широта");
        row("dl", "Долгота");
        row("fokus", "Фокусное расстояние");
        row("cmbNS", "Полушарие широты");
        row("cmbEW", "Полушарие долготы");
        row("diam_0", "Диаметр центрального конвертера");
        row("diam_7", "Диаметр конвертера ячейки 7");
        row("Label4_0", "Результаты ячейки 0");
        row("Label4_5", "Результаты ячейки 5");
        row("cmdMax", "Увеличить");
        row("cmdMin", "Уменьшить");
        row("cmdPrint", "Печать окна");
    }
    void mainWindowControlHasItsName() {
        QFETCH(QString, objectName);
        QFETCH(QString, accessibleName);
        WindowFixture fixture(SampleFile({"36;0;E;Sat A;;;"}));
        auto* widget = fixture.Window().findChild<QWidget*>(objectName);
        QVERIFY2(widget != nullptr, qPrintable(objectName + QStringLiteral(" is missing")));
        QCOMPARE(widget->accessibleName(), accessibleName);
    }

    void everyControlIsNamed() {
        WindowFixture fixture(SampleFile({"36;0;E;Sat A;a;b;c"}));
        MainWindow& main = fixture.Window();
        QCOMPARE(Unnamed(main).join(u' '), QString());
        PictureDialog picture(45.0, QStringLiteral("Sat A"), nullptr, nullptr);
        QCOMPARE(Unnamed(picture).join(u' '), QString());
        LinksDialog links(2, {QStringLiteral("a")}, nullptr);
        QCOMPARE(Unnamed(links).join(u' '), QString());
    }

    // Each slot's controls have names of their own: two selectors of one name would leave a
    // screen-reader user guessing which cell they are in.
    void slotNamesAreDistinct() {
        WindowFixture fixture(SampleFile({"36;0;E;Sat A;;;"}));
        QSet<QString> names;
        int count = 0;
        for (QWidget* widget : fixture.Window().findChildren<QWidget*>()) {
            if (!widget->accessibleName().isEmpty()) {
                names.insert(widget->accessibleName());
                ++count;
            }
        }
        QCOMPARE(names.size(), count);
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "accessible_names_test.moc"
