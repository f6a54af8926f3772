// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue file: where it is, how the window names it, and how the window shows and uses
// what it holds (decoding per file, the byte-order mark and a long line).
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTextDocument>
#include <QtTest>

#include "app/catalogue_place.h"
#include "common/window_fixture.h"

using namespace palquin;
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

    // Beside a writable program, else in the folder "palquin" of the user's data folder.
    void besideTheProgramOrInTheUsersDataFolder() {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
        const std::filesystem::path program = home.path().toStdString();
        QCOMPARE(LocateCatalogueForUser(std::nullopt, program, true).file,
                 program / "satellite.txt");
        const auto perUser = LocateCatalogueForUser(std::nullopt, program / "not there", true);
        QCOMPARE(perUser.kind, CatalogueLocation::Kind::PerUser);
        QCOMPARE(perUser.file, program / "data/palquin/satellite.txt");
    }

    // A folder name is shown as it is, even when it looks like markup.
    void theWindowNamesTheFileVerbatim() {
        WindowFixture fixture;
        CatalogueLocation where;
        where.file = "/tmp/<b>Спутник</b> & co/satellite.txt";
        ShowCataloguePlace(fixture.Window(), where);
        QTextDocument shown;
        shown.setHtml(Find<QGroupBox>(fixture.Window(), "Frame1")->toolTip());
        QCOMPARE(shown.toPlainText(),
                 QStringLiteral("Каталог спутников: /tmp/<b>Спутник</b> & co/satellite.txt"));
    }
};

QTEST_MAIN(CatalogueTest)
#include "catalogue_test.moc"
