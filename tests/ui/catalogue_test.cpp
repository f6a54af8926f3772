// SPDX-License-Identifier: GPL-3.0-or-later
// How the window shows and uses the catalogue it holds: decoding per file, the byte-order mark and a
// long line.
#include <QComboBox>
#include <QLabel>
#include <QtTest>

#include "window_fixture.h"

using namespace palquin::testing_support;

class CatalogueTest : public QObject {
    Q_OBJECT
  private slots:
    void decodesTheWholeFileOneWay() {
        // "Сё" in Windows-1251 is valid UTF-8 on its own; the next line shows the file is not.
        for (const char* file : {"1;0;E;\xD1\xB8;;;\r\n2;0;E;\xD0\xEE\xF1;;;\r\n",
                                 "1;0;E;\xD0\xA1\xD1\x91;;;\r\n2;0;E;x;;;\r\n"}) {
            WindowFixture fixture(file);
            const QString first = Find<QComboBox>(fixture.Window(), "Combo1", 3)->itemText(0);
            QVERIFY2(first == "1;0;E;Сё;;;", qPrintable("Combo1_3's first entry: " + first));
        }
    }

    // Notepad's mark before the first entry must not turn 140 E into 0, and stays in the file.
    // A line of any length is shown shortened; the calculation and the links see all of it.
    void firstEntryIsReadWholeWithoutTheByteOrderMark() {
        const std::string file =
            "\xEF\xBB\xBF" + SampleFile({"140;0;E;" + std::string(2'000'000, 'd') + ";a;b;end"});
        WindowFixture fixture(file);
        auto& w = fixture.Window();
        const QString shown = Find<QComboBox>(w, "Combo1", 0)->itemText(0);
        QVERIFY2(shown.startsWith("140;0;E;ddd") && shown.size() < 1000,
                 qPrintable(QString("Combo1_0 shows %1 characters").arg(shown.size())));
        Choose(w, 0, 0);
        COMPARE_TEXT(w, "Label1_0", "E 140.0");
        QCOMPARE(w.Links(0).value(2), QStringLiteral("end"));
        fixture.Close();
        QCOMPARE(fixture.FileBytes(), file);
    }
};

QTEST_MAIN(CatalogueTest)
#include "catalogue_test.moc"
