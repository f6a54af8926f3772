// The report from the window's menu, byte for byte, and the command line run as a process.
#include <sys/stat.h>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>
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

    Outcome Run(const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
        env.insert(QStringLiteral("HOME"), Home());
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
            << QStringLiteral("palquin: параметр --longitude действует только вместе с --report");
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
