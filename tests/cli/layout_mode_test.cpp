// SPDX-License-Identifier: GPL-3.0-or-later
// palquin --layout run as a program: the places of the window's rule and of the dish, in JSON
// and in lines, and its refusals.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QByteArray out, err;
};

class LayoutModeTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    Run Palquin(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home_.path());
        environment.insert("XDG_DATA_HOME", home_.filePath("data"));
        process.setProcessEnvironment(environment);
        process.start(PALQUIN_EXECUTABLE, QStringList{"--layout"} + arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QJsonArray Converters(const QStringList& arguments, QJsonArray* warnings = nullptr) {
        const Run run = Palquin(arguments + QStringList{"--json"});
        const QJsonObject root = QJsonDocument::fromJson(run.out).object();
        if (warnings != nullptr) {
            *warnings = root["warnings"].toArray();
        }
        return run.status == 0 ? root["converters"].toArray() : QJsonArray();
    }

  private slots:
    // Moscow, 36 E central: the window's figures for 13 E (272.823 and 38.621 mm at focal 600,
    // right and above) and, with --precise, the dish's own place on the same side and 13 E's loss
    // named as a warning.
    void moscowWindowAndDish() {
        const QStringList site{"--latitude", "55.75", "--longitude", "37.6", "--focal", "600"};
        const QStringList asked{"--central", "36E", "--extra", "39E", "--extra", "13E"};
        const QJsonArray plain = Converters(asked + site);
        QCOMPARE(plain.size(), 3);
        QCOMPARE(plain[0]["position"].toString(), "E 36.0");
        QCOMPARE(plain[0]["side"].toString(), "centre");
        QVERIFY(plain[0]["above"].isNull());
        QCOMPARE(plain[1]["side"].toString(), "left");
        const QJsonObject west = plain[2].toObject();
        QCOMPARE(west["horizontalMm"].toDouble(), 272.823);
        QCOMPARE(west["verticalMm"].toDouble(), 38.621);
        QCOMPARE(west["rotationDeg"].toDouble(), 15.825);
        QCOMPARE(west["side"].toString(), "right");
        QCOMPARE(west["above"].toBool(), true);
        QVERIFY(!west.contains("xMm"));

        QJsonArray warnings;
        const QJsonArray precise = Converters(
            asked + site + QStringList{"--precise", "--dish", "prime", "--dish-width", "1200"},
            &warnings);
        QCOMPARE(precise.size(), 3);
        QCOMPARE(precise[0]["lossDb"].toDouble(), 0.0);
        QVERIFY2(precise[1]["xMm"].toDouble() < -30.0, "39 E lands left");
        QCOMPARE(precise[2]["xMm"].toDouble(), 288.5);
        QCOMPARE(precise[2]["yMm"].toDouble(), 13.4);
        QCOMPARE(precise[2]["depthMm"].toDouble(), 63.5);
        QVERIFY(precise[2]["lossDb"].toDouble() < -3.0);
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings[0].toString().startsWith("E 13.0: потери"));
    }

    // Sydney: the dish faces north, 152 E (west of 156 E) lands on the left of the front view by
    // both rules, and the text says so in compass words.
    void southernSite() {
        const QStringList arguments{"--central",  "156E",  "--extra",     "152E",
                                    "--latitude", "33.9S", "--longitude", "151.2",
                                    "--focal",    "600",   "--precise"};
        const QJsonArray converters = Converters(arguments);
        QCOMPARE(converters.size(), 2);
        QCOMPARE(converters[1]["side"].toString(), "left");
        QVERIFY(converters[1]["xMm"].toDouble() < 0.0);
        const Run text = Palquin(arguments);
        QCOMPARE(text.status, 0);
        QVERIFY2(text.out.contains("влево (восток)"), text.out.constData());
        QVERIFY(text.out.contains("Вид спереди"));
    }

    // An unknown dish, and an extra converter without a central one (the limit on extra
    // converters is the other modes' and is checked with them).
    void refusals() {
        const Run dish = Palquin({"--central", "36E", "--dish", "round"});
        QCOMPARE(dish.status, 2);
        QVERIFY(dish.err.contains("--dish"));
        QCOMPARE(Palquin({"--extra", "13E", "--latitude", "55.75", "--longitude", "37.6"}).status,
                 2);
    }
};

}  // namespace

QTEST_GUILESS_MAIN(LayoutModeTest)
#include "layout_mode_test.moc"
