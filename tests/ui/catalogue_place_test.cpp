// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window's catalogue file is, and how the window names it.
#include <QGroupBox>
#include <QTextDocument>
#include <QtTest>

#include "app/catalogue_place.h"
#include "window_fixture.h"

using namespace palquin::testing_support;

using namespace palquin;
using Kind = CatalogueLocation::Kind;

class CataloguePlaceTest : public QObject {
    Q_OBJECT
  private slots:
    // Beside a writable program, else in the user's data folder.
    void besideTheProgramOrInTheUsersDataFolder() {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
        const std::filesystem::path program = home.path().toStdString();
        const auto beside = LocateCatalogueForUser(std::nullopt, program, true);
        QCOMPARE(beside.kind, Kind::BesideProgram);
        QCOMPARE(beside.file, program / "satellite.txt");
        const auto perUser = LocateCatalogueForUser(std::nullopt, program / "not there", true);
        QCOMPARE(perUser.kind, Kind::PerUser);
        QCOMPARE(perUser.file, program / "data/palquin/satellite.txt");
    }

    // A folder name is shown as it is, even when it looks like markup.
    void theWindowNamesTheFileVerbatim() {
        testing_support::WindowFixture fixture;
        CatalogueLocation where;
        where.file = "/tmp/<b>Спутник</b> & co/satellite.txt";
        ShowCataloguePlace(fixture.Window(), where);
        QTextDocument shown;
        shown.setHtml(Find<QGroupBox>(fixture.Window(), "Frame1")->toolTip());
        QCOMPARE(shown.toPlainText(),
                 QStringLiteral("Каталог спутников: /tmp/<b>Спутник</b> & co/satellite.txt"));
    }
};

QTEST_MAIN(CataloguePlaceTest)
#include "catalogue_place_test.moc"
