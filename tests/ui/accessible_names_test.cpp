// SPDX-License-Identifier: GPL-3.0-or-later
// Accessible names: a screen reader or an accessibility test finds each control of the windows
// by a Russian name of its own, whatever its objectName or visible text.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "common/window_fixture.h"
#include "ui/links_window.h"
#include "ui/picture_window.h"

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
    // The names an accessibility test of the whole program looks for; every control of the
    // windows has one, and no two alike: two selectors of one name would leave a screen-reader
    // user guessing which cell they are in.
    void everyControlHasANameOfItsOwn() {
        WindowFixture fixture(SampleFile({"36;0;E;Sat A;a;b;c"}));
        MainWindow& main = fixture.Window();
        const std::pair<const char*, const char*> names[] = {
            {"Combo1_0", "Спутник центрального конвертера"},
            {"Combo1_1", "Спутник ячейки 1"},
            {"Combo1_4", "Спутник ячейки 4"},
            {"Combo1_9", "Спутник ячейки 9"},
            {"cmdOk", "Пересчитать"},
            {"sh", "Широта"},
            {"dl", "Долгота"},
            {"fokus", "Фокусное расстояние"},
            {"cmbNS", "Полушарие широты"},
            {"cmbEW", "Полушарие долготы"},
            {"diam_0", "Диаметр центрального конвертера"},
            {"diam_7", "Диаметр конвертера ячейки 7"},
            {"Label4_0", "Результаты ячейки 0"},
            {"Label4_5", "Результаты ячейки 5"},
            {"cmdMax", "Увеличить"},
            {"cmdMin", "Уменьшить"},
            {"cmdPrint", "Печать окна"},
        };
        for (const auto& [objectName, accessibleName] : names) {
            const QString name = Find<QWidget>(main, objectName)->accessibleName();
            QVERIFY2(name == QString::fromUtf8(accessibleName),
                     qPrintable(QStringLiteral("%1: \"%2\"").arg(objectName, name)));
        }
        QCOMPARE(Unnamed(main).join(u' '), QString());
        PictureDialog picture(45.0, QStringLiteral("Sat A"), nullptr, nullptr);
        QCOMPARE(Unnamed(picture).join(u' '), QString());
        LinksDialog links(2, {QStringLiteral("a")}, nullptr);
        QCOMPARE(Unnamed(links).join(u' '), QString());

        QStringList twice;
        QSet<QString> seen;
        for (const QWidget* widget : main.findChildren<QWidget*>()) {
            const QString name = widget->accessibleName();
            if (!name.isEmpty() && seen.contains(name)) {
                twice << widget->objectName() + QStringLiteral(": ") + name;
            }
            seen.insert(name);
        }
        QCOMPARE(twice.join(u'|'), QString());
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "accessible_names_test.moc"
