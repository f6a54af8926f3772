// The catalogue file the window uses, and how the window names it.
#include <QGroupBox>
#include <QTextDocument>
#include <QtTest>

#include "app/catalogue_place.h"
#include "window_fixture.h"

using palquin::CatalogueLocation;
using palquin::testing::SampleFile;
using palquin::testing::WindowFixture;

class CataloguePlaceTest : public QObject {
    Q_OBJECT

  private slots:
    void besideAWritableProgramOrWhereTheOverrideSays() {
        const std::filesystem::path here =
            QCoreApplication::applicationDirPath().toStdString();
        const auto beside = palquin::LocateCatalogueForUser(std::nullopt, here);
        QCOMPARE(beside.kind, CatalogueLocation::Kind::BesideProgram);
        QCOMPARE(QString::fromStdString(beside.file.string()),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/satellite.txt"));

        const auto chosen = palquin::LocateCatalogueForUser(std::filesystem::path("/x/y.txt"), here);
        QCOMPARE(chosen.kind, CatalogueLocation::Kind::Override);
        QCOMPARE(chosen.file, std::filesystem::path("/x/y.txt"));
    }

    // A folder name is shown as it is, even when it looks like markup.
    void theWindowNamesTheFileVerbatim() {
        WindowFixture fixture(SampleFile({}));
        CatalogueLocation where;
        where.kind = CatalogueLocation::Kind::Override;
        where.file = "/tmp/<b>Спутник</b> & co/satellite.txt";
        palquin::ShowCataloguePlace(fixture.Window(), where);
        QTextDocument shown;
        shown.setHtml(fixture.Window().Frame1->toolTip());
        QCOMPARE(shown.toPlainText(),
                 QStringLiteral("Каталог спутников: /tmp/<b>Спутник</b> & co/satellite.txt"));
    }
};

QTEST_MAIN(CataloguePlaceTest)
#include "catalogue_place_test.moc"
