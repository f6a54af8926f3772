// The report from the window's menu, byte for byte, and the command line run as a process:
// --report, --aim and --template.
#include <sys/stat.h>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <fstream>
#include <sstream>

#include "cli/command_line.h"
#include "window_fixture.h"

using palquin::frmMain;
using palquin::testing::WindowFixture;

namespace {

// A hand-written catalogue in Windows-1251: a site in Moscow (55.75 N, 37.6 E) and satellites
// whose figures were checked by hand; "bad" has no position, so the figures stop there.
const QByteArray kEntries =
    "13;0;E;Hot Bird (\xc8\xf2\xe0\xeb\xe8\xff);http://a/;;\r\n"
    "5;0;W;Eutelsat;;;\r\n"
    "140;0;E;Express (\xdd\xea\xf1\xef\xf0\xe5\xf1\xf1);;;\r\n"
    "37;6;E;Over Moscow;;;\r\n"
    "13;0;e;lower-case e;;;\r\n"
    "bad\r\n"
    "19;2;E;after the stop;;;\r\n";
const QByteArray kSettings = "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
const QByteArray kReport =
    " 208.98 -  22.77 - 13;0;E;Hot Bird (\xc8\xf2\xe0\xeb\xe8\xff);http://a/;;\r\n"
    " 228.05 -  16.13 - 5;0;W;Eutelsat;;;\r\n"
    " 259.7 - -15.32 - 140;0;E;Express (\xdd\xea\xf1\xef\xf0\xe5\xf1\xf1);;;\r\n"
    " 180 -  26.48 - 37;6;E;Over Moscow;;;\r\n"
    " 208.98 -  22.77 - 13;0;e;lower-case e;;;\r\n"
    "bad\r\n"
    "19;2;E;after the stop;;;\r\n";

QStringList Cp1251Lines(const QByteArray& bytes) {
    QStringDecoder cp1251("windows-1251");
    QStringList lines = QString(cp1251.decode(bytes)).split(QStringLiteral("\r\n"));
    lines.removeLast();  // after the last line end
    return lines;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The program copied into a folder of its own, so that its default catalogue lies there; run
// without any display, and with a window platform that does not exist: loading one would fail.
class Program {
  public:
    Program() {
        QVERIFY(QFile::copy(QStringLiteral(PALQUIN_EXECUTABLE), Executable()));
        QVERIFY(QDir().mkpath(Home()));
    }
    QString Folder() const { return dir_.path(); }
    QString Home() const { return dir_.filePath(QStringLiteral("home")); }
    QString Executable() const { return dir_.filePath(QStringLiteral("palquin")); }
    QStringList FolderEntries() const {
        return QDir(Folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    // timeZone: a POSIX TZ value, so no test depends on the machine's zone.
    Outcome Run(const QStringList& arguments,
                const QString& timeZone = QStringLiteral("UTC0")) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
        env.insert(QStringLiteral("HOME"), Home());
        env.insert(QStringLiteral("TZ"), timeZone);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(Home());
        process.start(Executable(), arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

  private:
    QTemporaryDir dir_;
};

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

  private slots:
    // The site goes in through the fields, the report's bytes come out of the file.
    void menuExportWritesTheReportAndSaysWhere() {
        WindowFixture fixture(
            std::string(kEntries.constData(), static_cast<size_t>(kEntries.size())));
        frmMain& w = fixture.Window();
        QTest::keyClicks(w.sh, QStringLiteral("55.75"));
        QTest::keyClicks(w.dl, QStringLiteral("37.6"));
        w.mnuReport->trigger();
        const QString report = QDir(QString::fromStdString(fixture.FolderPath()))
                                   .filePath(QStringLiteral("printOut.txt"));
        QCOMPARE(ReadAll(report), kReport);
        QCOMPARE(fixture.Notifier().messages.size(), size_t{1});
        QCOMPARE(fixture.Notifier().messages[0].text,
                 QStringLiteral("Отчёт по каталогу записан в файл ") + report);

        // A folder where the file should be: the failure message only.
        QVERIFY(QFile::remove(report));
        QVERIFY(QDir().mkdir(report));
        w.mnuReport->trigger();
        QCOMPARE(fixture.Notifier().messages.size(), size_t{2});
        QVERIFY(fixture.Notifier().messages[1].text.startsWith(
            QStringLiteral("Не удалось записать отчет")));
    }

    // --report gives the lines of the window's export of the same file, in UTF-8, and leaves
    // the folder as it was.
    void reportMatchesTheWindowsExport_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("saved site") << kEntries + kSettings << QStringList{"--report"};
        QTest::newRow("site given, none saved")
            << kEntries << QStringList{"--report", "--latitude", "55.75", "--longitude=37.6"};
        QTest::newRow("given site beats the saved one")
            << kEntries + "------------------\r\n10\r\nN\r\n10\r\nE\r\n"
            << QStringList{"--report", "--latitude", "55.75", "--longitude", "37.6"};
    }
    void reportMatchesTheWindowsExport() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, arguments);
        Program program;
        const QString catalogue = program.Folder() + QStringLiteral("/satellite.txt");
        Write(catalogue, file);
        const QStringList before = program.FolderEntries();

        const Outcome outcome = program.Run(arguments);
        QCOMPARE(outcome.err, QByteArray());
        QCOMPARE(outcome.status, 0);
        QStringList lines = QString::fromUtf8(outcome.out).split(u'\n');
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines, Cp1251Lines(kReport));
        QCOMPARE(ReadAll(catalogue), file);
        QCOMPARE(program.FolderEntries(), before);
        QVERIFY(QDir(program.Home()).isEmpty());

        WindowFixture fixture(
            std::string(kEntries.constData(), static_cast<size_t>(kEntries.size())) +
            kSettings.toStdString());
        fixture.Window().ExportReport();
        QCOMPARE(Cp1251Lines(ReadAll(QString::fromStdString(fixture.FolderPath()) +
                                     QStringLiteral("/printOut.txt"))),
                 lines);
    }

    void helpVersionAndErrors_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");  // the start of standard output
        QTest::addColumn<QString>("err");  // the first line of standard error
        const QString usage = QStringLiteral("Использование: palquin");
        QTest::newRow("help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("short help beats a mode")
            << QStringList{"--report", "-h"} << 0 << usage << QString();
        QTest::newRow("version") << QStringList{"--version"} << 0 << QStringLiteral("palquin 1.1\n")
                                 << QString();
        QTest::newRow("unknown option")
            << QStringList{"--bogus"} << 2 << QString()
            << QStringLiteral("palquin: неизвестный параметр «--bogus»");
        QTest::newRow("stray argument") << QStringList{"file.txt"} << 2 << QString()
                                        << QStringLiteral("palquin: лишний аргумент «file.txt»");
        QTest::newRow("missing value")
            << QStringList{"--report", "--latitude"} << 2 << QString()
            << QStringLiteral("palquin: у параметра «--latitude» не указано значение");
        for (const char* bad : {"55,75", "181", "-1", "1e2", "", "5x"}) {
            QTest::addRow("latitude %s", bad)
                << QStringList{"--report", "--latitude", bad} << 2 << QString()
                << QStringLiteral(
                       "palquin: неверное значение «%1» у параметра --latitude: нужно "
                       "число градусов от 0 до 180 с точкой в качестве десятичного знака")
                       .arg(QLatin1String(bad));
        }
        QTest::newRow("site without a mode")
            << QStringList{"--longitude", "37.6"} << 2 << QString()
            << QStringLiteral(
                   "palquin: параметр --longitude действует только вместе с --report или --aim "
                   "или --template");
        QTest::newRow("no such catalogue")
            << QStringList{"--report", "--catalogue", "nowhere.txt"} << 1 << QString()
            << QStringLiteral("palquin: каталог «HOME/nowhere.txt» не прочитан: файл не найден");
        QTest::newRow("folder as catalogue")
            << QStringList{"--report", "--catalogue", "."} << 1 << QString()
            << QStringLiteral("palquin: каталог «HOME/.» не прочитан: это не обычный файл");
        QTest::newRow("pipe as catalogue, no wait")
            << QStringList{"--report", "--catalogue", "fifo"} << 1 << QString()
            << QStringLiteral("palquin: каталог «HOME/fifo» не прочитан: это не обычный файл");
        QTest::newRow("window on a missing catalogue, no display needed")
            << QStringList{"--catalogue", "nowhere.txt"} << 1 << QString()
            << QStringLiteral("palquin: каталог «HOME/nowhere.txt» не прочитан: файл не найден");
    }
    void helpVersionAndErrors() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        Program program;
        QCOMPARE(
            ::mkfifo(QFile::encodeName(program.Home() + QStringLiteral("/fifo")).constData(), 0600),
            0);
        const Outcome outcome = program.Run(arguments);
        QCOMPARE(outcome.status, status);
        QVERIFY2(QString::fromUtf8(outcome.out).startsWith(out), outcome.out.constData());
        const QStringList errLines = QString::fromUtf8(outcome.err).split(u'\n');
        QCOMPARE(errLines.constFirst(),
                 QString(err).replace(QStringLiteral("HOME"), program.Home()));
        if (status == 2) {  // a usage error repeats the usage
            QVERIFY(errLines.size() > 2 && errLines[1].startsWith(QStringLiteral("Использование")));
        }
        // No catalogue appeared beside the program.
        QVERIFY(!program.FolderEntries().contains(QStringLiteral("satellite.txt")));
    }

    // A site in Moscow and Eutelsat 36E at the summer solstice, checked by hand: the satellite a
    // little west of south, 26 to 27 degrees up; the compass needle there points about 12 degrees
    // east of true north; the sun stands over the satellite's azimuth a few minutes after local
    // solar noon, about 09:36 UTC. The sun's time comes in the computer's zone.
    void aimAsJson_data() {
        QTest::addColumn<QString>("timeZone");
        QTest::addColumn<int>("offsetSeconds");
        QTest::newRow("UTC") << QStringLiteral("UTC0") << 0;
        QTest::newRow("Moscow time") << QStringLiteral("MSK-3") << 3 * 3600;
    }
    void aimAsJson() {
        QFETCH(QString, timeZone);
        QFETCH(int, offsetSeconds);
        Program program;
        const Outcome outcome =
            program.Run({"--aim", "--satellite", "36E", "--latitude", "55.75", "--longitude",
                         "37.6", "--date", "2026-06-21", "--json"},
                        timeZone);
        QCOMPARE(outcome.err, QByteArray());
        QCOMPARE(outcome.status, 0);
        QJsonParseError parseError{};
        const QJsonObject aim = QJsonDocument::fromJson(outcome.out, &parseError).object();
        QVERIFY2(parseError.error == QJsonParseError::NoError, outcome.out.constData());

        const double azimuth = aim["azimuthDeg"].toDouble();
        const double magnetic = aim["magneticAzimuthDeg"].toDouble();
        const double declination = aim["declinationDeg"].toDouble();
        QVERIFY2(azimuth > 180.0 && azimuth < 184.0, outcome.out.constData());
        QVERIFY2(declination > 11.0 && declination < 13.0, outcome.out.constData());
        QVERIFY2(std::abs(magnetic - (azimuth - declination)) < 0.002, outcome.out.constData());
        const double elevation = aim["elevationDeg"].toDouble();
        QVERIFY2(elevation > 26.0 && elevation < 27.0, outcome.out.constData());
        QVERIFY(aim["rotationDeg"].isDouble());
        QCOMPARE(aim["visible"], QJsonValue(true));
        QCOMPARE(aim["warnings"], QJsonValue(QJsonArray()));

        const QString sunText = aim["sunAlignment"].toString();
        const QDateTime sun = QDateTime::fromString(sunText, Qt::ISODate);
        QVERIFY2(sun.isValid(), qPrintable(sunText));
        QCOMPARE(sun.offsetFromUtc(), offsetSeconds);
        const QDateTime expected(QDate(2026, 6, 21), QTime(9, 36), Qt::UTC);
        QVERIFY2(std::abs(sun.secsTo(expected)) <= 3 * 60, qPrintable(sunText));
        QVERIFY(aim["sunElevationDeg"].toDouble() > 50.0);
    }

    // Without --latitude and --longitude the site saved in the catalogue is used; nothing is
    // written. Lines instead of JSON carry the same figures.
    void aimTakesTheSavedSite() {
        Program program;
        const QString catalogue = program.Folder() + QStringLiteral("/satellite.txt");
        Write(catalogue, kEntries + kSettings);
        const QStringList given{"--aim",       "--satellite", "36E",    "--latitude", "55.75N",
                                "--longitude", "37.6E",       "--date", "2026-06-21"};
        const Outcome saved = program.Run({"--aim", "--satellite", "36E", "--date", "2026-06-21"});
        QCOMPARE(saved.status, 0);
        QCOMPARE(saved.out, program.Run(given).out);
        QVERIFY2(saved.out.contains("Магнитный азимут: "), saved.out.constData());
        QVERIFY2(saved.out.contains("Солнце на этом азимуте: 09:3"), saved.out.constData());
        QCOMPARE(ReadAll(catalogue), kEntries + kSettings);
    }

    // Where the pointing formulas give nothing (a site on the equator), the pointing is null and
    // the magnetic declination is still there; the sun's key is present either way.
    void aimOnTheEquatorHasNullPointing() {
        Program program;
        const Outcome outcome =
            program.Run({"--aim", "--satellite", "36E", "--latitude", "0", "--longitude", "37.6",
                         "--date", "2026-06-21", "--json"});
        QCOMPARE(outcome.status, 0);
        const QJsonObject aim = QJsonDocument::fromJson(outcome.out).object();
        for (const char* key :
             {"azimuthDeg", "magneticAzimuthDeg", "elevationDeg", "rotationDeg", "visible"}) {
            QVERIFY2(aim[key].isNull(), key);
        }
        QVERIFY(aim["declinationDeg"].isDouble());
        QVERIFY(aim.contains("sunAlignment") && aim.contains("sunElevationDeg"));
        QVERIFY(!aim["warnings"].toArray().isEmpty());
    }

    void aimAndTemplateRefuseBadValues_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("err");  // the start of the first line of standard error
        const QStringList site{"--latitude", "55.75", "--longitude", "37.6"};
        const QString bad = QStringLiteral("palquin: неверное значение «%1» у параметра --%2");
        const auto aimRow = [&](const char* option, const char* value) {
            QStringList arguments{"--aim", "--satellite", "36E", "--date", "2026-06-21"};
            arguments << site << QStringLiteral("--") + option << value;
            QTest::addRow("aim %s %s", option, value) << arguments << bad.arg(value, option);
        };
        for (const char* position : {"36", "36X", "181E", "-5E", "E36", "3.6.1E", "", "36 E"}) {
            aimRow("satellite", position);
        }
        for (const char* date : {"2026-02-30", "2026-6-21", "21.06.2026", "2026-13-01"}) {
            aimRow("date", date);
        }
        for (const char* latitude : {"91", "55.75Q", "55,75", "1e1", "--5", "55.75E"}) {
            aimRow("latitude", latitude);
        }
        aimRow("longitude", "181");
        aimRow("longitude", "37.6N");
        QTest::newRow("aim without a satellite")
            << (QStringList{"--aim"} << site)
            << QStringLiteral("palquin: не указан параметр --satellite");
        QTest::newRow("json belongs to aim")
            << QStringList{"--report", "--json"}
            << QStringLiteral("palquin: параметр --json действует только вместе с --aim");
        QTest::newRow("aim without any site")
            << QStringList{"--aim", "--satellite", "36E"}
            << QStringLiteral("palquin: в каталоге не сохранено место приёма");

        const QStringList converters{"--central", "36E", "--extra", "31.5E"};
        const auto templateRow = [&](const char* option, const char* value) {
            QStringList arguments{"--template", "t.pdf", "--focal", "600"};
            arguments << site << converters << QStringLiteral("--") + option << value;
            QTest::addRow("template %s %s", option, value) << arguments << bad.arg(value, option);
        };
        templateRow("extra", "39");
        templateRow("central", "E36");
        templateRow("focal", "0");
        templateRow("focal", "-600");
        templateRow("diameter", "101");
        templateRow("latitude", "-91");
        QTest::newRow("template without a central converter")
            << (QStringList{"--template", "t.pdf", "--extra", "36E"} << site)
            << QStringLiteral("palquin: не указан параметр --central");
        QTest::newRow("template without a file name")
            << (QStringList{"--template=", "--central", "36E"} << site)
            << QStringLiteral("palquin: у параметра --template пустое имя файла");
        QTest::newRow("template without a focal length")
            << (QStringList{"--template", "t.pdf", "--central", "36E"} << site)
            << QStringLiteral("palquin: в каталоге не сохранено фокусное расстояние");
    }
    void aimAndTemplateRefuseBadValues() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, err);
        Program program;
        // A catalogue with no saved site or focal length.
        Write(program.Folder() + QStringLiteral("/satellite.txt"), kEntries);
        const Outcome outcome = program.Run(arguments);
        QCOMPARE(outcome.status, 2);
        QCOMPARE(outcome.out, QByteArray());
        QVERIFY2(QString::fromUtf8(outcome.err).startsWith(err), outcome.err.constData());
        QVERIFY(QDir(program.Home()).isEmpty());
    }

    // A one-page template at true size, without a display; the site and focal length saved in
    // the catalogue give the same page as the options.
    void templateWritesOnePage() {
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdfinfo.isEmpty() || pdftotext.isEmpty()) {
            QSKIP("pdfinfo and pdftotext (poppler-utils) are needed to read the PDF back");
        }
        Program program;
        Write(program.Folder() + QStringLiteral("/satellite.txt"), kEntries + kSettings);
        const QStringList converters{"--central", "36E", "--extra", "31.5E", "--extra", "39E"};
        Outcome outcome = program.Run(QStringList{"--template", "given.pdf", "--latitude", "55.75",
                                                  "--longitude", "37.6", "--focal", "600"} +
                                      converters);
        QCOMPARE(outcome.err, QByteArray());
        QCOMPARE(outcome.status, 0);
        outcome = program.Run(QStringList{"--template", "saved.pdf"} + converters);
        QCOMPARE(outcome.status, 0);

        const auto tool = [&](const QString& name, const QStringList& arguments) {
            QProcess process;
            process.setWorkingDirectory(program.Home());
            process.start(name, arguments);
            process.waitForFinished(60000);
            return QString::fromUtf8(process.readAllStandardOutput());
        };
        QVERIFY(tool(pdfinfo, {"given.pdf"}).contains(QRegularExpression("Pages:\\s+1\\n")));
        const QString text = tool(pdftotext, {"-layout", "given.pdf", "-"});
        for (const char* expected :
             {"E 36.0", "E 31.5", "E 39.0", "проверьте: 100 мм", "55.75 N 37.6 E", "600 мм"}) {
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        }
        QCOMPARE(tool(pdftotext, {"-layout", "saved.pdf", "-"}), text);
    }

    // Where the file cannot be written the old one stays as it was, and no stray file is left.
    void templateFailureLeavesTheOldFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("make");
        QTest::newRow("read-only file") << QStringLiteral("old.pdf") << QStringLiteral("read-only");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("folder");
        QTest::newRow("missing folder")
            << QStringLiteral("nowhere/t.pdf") << QStringLiteral("nothing");
        QTest::newRow("pipe, no wait") << QStringLiteral("fifo") << QStringLiteral("fifo");
        QTest::newRow("no converter can be calculated on the equator")
            << QStringLiteral("old.pdf") << QStringLiteral("equator");
    }
    void templateFailureLeavesTheOldFile() {
        QFETCH(QString, name);
        QFETCH(QString, make);
        Program program;
        const QString path = program.Home() + QLatin1Char('/') + name;
        const QByteArray old = "%PDF-1.4 old template\n";
        if (make == QLatin1String("read-only") || make == QLatin1String("equator")) {
            Write(path, old);
            if (make == QLatin1String("read-only")) {
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
            }
        } else if (make == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(path));
        } else if (make == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        const QStringList before = QDir(program.Home()).entryList(QDir::AllEntries | QDir::Hidden);

        const Outcome outcome =
            program.Run({"--template", name, "--central", "36E", "--extra", "39E", "--focal", "600",
                         "--latitude", make == QLatin1String("equator") ? "0" : "55.75",
                         "--longitude", "37.6"});
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.err.startsWith("palquin: шаблон не записан"), outcome.err.constData());
        QCOMPARE(QDir(program.Home()).entryList(QDir::AllEntries | QDir::Hidden), before);
        if (make == QLatin1String("read-only") || make == QLatin1String("equator")) {
            QCOMPARE(ReadAll(path), old);
        }
    }

    void defaultCatalogueIsReadNotCreated() {
        Program program;
        const Outcome outcome = program.Run({QStringLiteral("--report")});
        QCOMPARE(outcome.status, 0);
        QVERIFY(outcome.out.count('\n') >= 10);
        QVERIFY(!program.FolderEntries().contains(QStringLiteral("satellite.txt")));
    }

    // A file name in Windows-1251 reaches the file as its bytes.
    void catalogueNameInAnotherCodePage() {
        QTemporaryDir dir;
        const std::string name = dir.path().toStdString() + "/\xd1\xef\xf3\xf2\xed\xe8\xea.txt";
        {
            std::ofstream file(name, std::ios::binary);
            file << (kEntries + kSettings).toStdString();
        }
        const palquin::cli::Invocation invocation =
            palquin::cli::ParseArguments({"palquin", "--report", "--catalogue=" + name});
        QVERIFY(invocation.catalogue.has_value());
        QCOMPARE(invocation.catalogue->string(), name);
        std::ostringstream out;
        std::ostringstream err;
        palquin::cli::Context context{"/nonexistent/satellite.txt", out, err};
        QCOMPARE(palquin::cli::Run(invocation, context), 0);
        QCOMPARE(QString::fromUtf8(out.str()).split(u'\n').size(), Cp1251Lines(kReport).size() + 1);
    }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
