// The report from the window's menu, and the program run from the command line: --report, --aim
// and --template.
#include <QLineEdit>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "cli/command_line.h"
#include "window_fixture.h"

namespace {

// A catalogue in Windows-1251: a site in Moscow (55.75 N, 37.6 E) and satellites whose figures
// were checked by hand; the first cannot be calculated, "bad" has no position: the figures stop.
const QByteArray kEntries =
    "1e400;0;E;too far;;;\r\n"
    "13;0;E;Hot Bird (\xc8\xf2\xe0\xeb\xe8\xff);http://a/;;\r\n"
    "5;0;W;Eutelsat;;;\r\n"
    "140;0;E;Express (\xdd\xea\xf1\xef\xf0\xe5\xf1\xf1);;;\r\n"
    "37;6;E;Over Moscow;;;\r\n"
    "bad\r\n"
    "19;2;E;after the stop;;;\r\n";
const QByteArray kSettings = "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
const QByteArray kReport =
    "1e400;0;E;too far;;;\r\n"
    " 208.98 -  22.77 - 13;0;E;Hot Bird (\xc8\xf2\xe0\xeb\xe8\xff);http://a/;;\r\n"
    " 228.05 -  16.13 - 5;0;W;Eutelsat;;;\r\n"
    " 259.7 - -15.32 - 140;0;E;Express (\xdd\xea\xf1\xef\xf0\xe5\xf1\xf1);;;\r\n"
    " 180 -  26.48 - 37;6;E;Over Moscow;;;\r\n"
    "bad\r\n"
    "19;2;E;after the stop;;;\r\n";

// The report as the command line prints it: UTF-8 with bare line feeds.
QByteArray Utf8(const QByteArray& cp1251) {
    return QString(QStringDecoder("windows-1251").decode(cp1251)).replace("\r\n", "\n").toUtf8();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

struct Outcome {
    int status;
    QByteArray out, err;
};

// The program copied into a folder of its own, beside it its default catalogue; run from a home
// folder, with a window platform that does not exist: loading one would fail.
class Program {
  public:
    Program() {
        QVERIFY(QFile::copy(PALQUIN_EXECUTABLE, dir_.filePath("palquin")));
        QVERIFY(QDir(dir_.path()).mkdir("home"));
    }
    QString Catalogue() const { return dir_.filePath("satellite.txt"); }
    QString Home() const { return dir_.filePath("home"); }
    QStringList HomeEntries() const {
        return QDir(Home()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                      QDir::System);
    }

    Outcome Run(const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "no-such-platform");
        env.insert("HOME", Home());
        env.insert("TZ", "MSK-3");  // no test depends on the machine's zone
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(Home());
        process.start(dir_.filePath("palquin"), arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

  private:
    QTemporaryDir dir_;
};

const QStringList kAim{"--aim", "--satellite", "36E", "--date", "2026-06-21"};
const QStringList kSite{"--latitude", "55.75", "--longitude", "37.6"};

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

  private slots:
    // The site goes in through the fields, the report's bytes come out of the file.
    void menuExportWritesTheReportAndSaysWhere() {
        palquin::testing::WindowFixture fixture(kEntries.toStdString());
        palquin::frmMain& w = fixture.Window();
        QTest::keyClicks(w.sh, "55.75");
        QTest::keyClicks(w.dl, "37.6");
        w.mnuReport->trigger();
        const QString report = QString::fromStdString(fixture.FolderPath()) + "/printOut.txt";
        QCOMPARE(ReadAll(report), kReport);
        // A folder where the file should be: the failure message only.
        QVERIFY(QFile::remove(report) && QDir().mkdir(report));
        w.mnuReport->trigger();
        const auto& messages = fixture.Notifier().messages;
        QCOMPARE(messages.size(), size_t{2});
        QCOMPARE(messages[0].text, "Отчёт по каталогу записан в файл " + report);
        QVERIFY(messages[1].text.startsWith("Не удалось записать отчет"));
    }

    // --report prints the window's report of the same file and writes nothing.
    void reportFromTheCommandLine() {
        Program program;
        // The built-in catalogue, with no catalogue file made for it.
        const Outcome builtIn = program.Run({"--report"});
        QVERIFY(builtIn.status == 0 && builtIn.out.count('\n') > 10);
        QVERIFY(!QFile::exists(program.Catalogue()));
        const std::pair<QByteArray, QStringList> runs[] = {
            {kEntries + kSettings, {"--report"}},
            {kEntries + "------------------\r\n10\r\nN\r\n10\r\nE\r\n",
             {"--report", "--latitude", "55.75", "--longitude=37.6"}}};  // beats the saved site
        for (const auto& [file, arguments] : runs) {
            Write(program.Catalogue(), file);
            const Outcome outcome = program.Run(arguments);
            QCOMPARE(outcome.err, QByteArray());
            QCOMPARE(outcome.out, Utf8(kReport));
            QCOMPARE(ReadAll(program.Catalogue()), file);
        }
        QVERIFY(program.HomeEntries().isEmpty());

        // A file name in Windows-1251 reaches the file as its bytes.
        const std::string name = program.Home().toStdString() + "/\xd1\xef\xf3\xf2\xed\xe8\xea";
        std::ofstream(name, std::ios::binary) << (kEntries + kSettings).toStdString();
        std::ostringstream out, err;
        palquin::cli::Context context{"/nonexistent/satellite.txt", out, err};
        const auto invocation =
            palquin::cli::ParseArguments({"palquin", "--report", "--catalogue=" + name});
        QCOMPARE(palquin::cli::Run(invocation, context), 0);
        QCOMPARE(QByteArray::fromStdString(out.str()), Utf8(kReport));
        std::remove(name.c_str());  // a name QTemporaryDir could not decode
    }

    // -h is the usage in Russian on standard output, naming the default catalogue file.
    void help() {
        Program program;
        const Outcome help = program.Run({"-h"});
        QVERIFY(help.status == 0 && help.out.startsWith("Использование: palquin"));
        QVERIFY(help.out.contains(program.Catalogue().toUtf8()) && help.err.isEmpty());
    }

    // Refusals: the status, the first line of the error, and neither the catalogue nor the home
    // folder touched.
    void refusals_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const QStringList& arguments, int status,
                            const QString& text) {
            QTest::newRow(name) << arguments << status << "palquin" + text;
        };
        const auto bad = [](const QStringList& arguments, const QString& option,
                            const char* value) {
            QTest::addRow("%s %s", qPrintable(option), value)
                << arguments + QStringList{"--" + option, value} << 2
                << QString("palquin: неверное значение «%1» у параметра --%2").arg(value, option);
        };
        row("unknown option", {"--bogus"}, 2, ": неизвестный параметр «--bogus»");
        row("pipe as catalogue, no wait", {"--report", "--catalogue", "fifo"}, 1,
            ": каталог «HOME/fifo» не прочитан: это не обычный файл");
        row("window on a missing catalogue, no display needed", {"--catalogue", "nowhere.txt"}, 1,
            ": каталог «HOME/nowhere.txt» не прочитан: файл не найден");
        bad({"--report"}, "latitude", "55,75");
        bad(kAim + kSite, "satellite", "E36");
        bad(kAim + kSite, "date", "2026-02-30");
        row("aim without any site", kAim, 2, ": в каталоге не сохранено место приёма");
        const QStringList central{"--template", "t.pdf", "--central", "36E"};
        row("template without a focal length", central + kSite, 2,
            ": в каталоге не сохранено фокусное расстояние");
        const QStringList page = central + kSite + QStringList{"--focal", "600"};
        bad(page, "extra", "39");
        // Where the file cannot be written the old one stays as it was, and no stray file is left.
        row("template over a read-only file", page + QStringList{"--template", "old.pdf"}, 1,
            ": шаблон не записан");
        row("template into a pipe, no wait", page + QStringList{"--template", "fifo"}, 1,
            ": шаблон не записан");
    }
    void refusals() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, text);
        Program program;
        Write(program.Catalogue(), kEntries);  // no saved site, no focal length
        QCOMPARE(QProcess::execute("mkfifo", {program.Home() + "/fifo"}), 0);
        const QString old = program.Home() + "/old.pdf";
        Write(old, "%PDF-1.4 old template\n");
        QVERIFY(QFile::setPermissions(old, QFile::ReadOwner));
        const Outcome outcome = program.Run(arguments);
        QCOMPARE(outcome.status, status);
        const QStringList lines = QString::fromUtf8(outcome.err).split(u'\n');
        QVERIFY2(lines[0].startsWith(text.replace("HOME", program.Home())), qPrintable(lines[0]));
        // A usage error repeats the usage.
        QVERIFY(status != 2 || lines.value(1).startsWith("Использование"));
        QCOMPARE(ReadAll(program.Catalogue()), kEntries);
        QCOMPARE(program.HomeEntries(), QStringList({"fifo", "old.pdf"}));
        QCOMPARE(ReadAll(old), "%PDF-1.4 old template\n");
    }

    // A site in Moscow and Eutelsat 36E at the summer solstice, checked by hand: the satellite a
    // little west of south, 26 to 27 degrees up; the sun over its azimuth at about 09:36 UTC, told
    // in the computer's zone. A saved site gives the same figures.
    void aim() {
        Program program;
        const Outcome given = program.Run(kAim + kSite + QStringList{"--json"});
        const QJsonObject aim = QJsonDocument::fromJson(given.out).object();
        const double azimuth = aim["azimuthDeg"].toDouble();
        const double elevation = aim["elevationDeg"].toDouble();
        QVERIFY2(azimuth > 180.0 && azimuth < 184.0 && elevation > 26.0 && elevation < 27.0 &&
                     aim["sunAlignment"].toString().startsWith("2026-06-21T12:3"),
                 given.out.constData());
        Write(program.Catalogue(), kEntries + kSettings);
        QCOMPARE(program.Run(kAim + QStringList{"--json"}).out, given.out);
        QVERIFY(program.Run(kAim).out.contains("Солнце на этом азимуте: 12:3"));
        QCOMPARE(ReadAll(program.Catalogue()), kEntries + kSettings);
    }

    // On the equator --aim and --template answer as just north of it: 36 E from 0 N 0 E due
    // east, 48.2 degrees up, the converter turned a quarter turn; to the digit what 0.000001 N
    // gives.
    void equator() {
        Program program;
        const QStringList aim{"--aim",       "--satellite", "36E",    "--date",    "2026-03-20",
                              "--longitude", "0",           "--json", "--latitude"};
        const Outcome equator = program.Run(aim + QStringList{"0"});
        QCOMPARE(equator.status, 0);
        const QJsonObject json = QJsonDocument::fromJson(equator.out).object();
        QCOMPARE(json["azimuthDeg"].toDouble(), 90.0);
        QCOMPARE(json["elevationDeg"].toDouble(), 48.224);
        QCOMPARE(json["rotationDeg"].toDouble(), -90.0);
        QCOMPARE(program.Run(aim + QStringList{"0.000001"}).out, equator.out);

        const Outcome page =
            program.Run({"--template", "equator.pdf", "--central", "36E", "--extra", "23E",
                         "--focal", "600", "--latitude", "0", "--longitude", "0"});
        QCOMPARE(page.status, 0);
        QVERIFY(ReadAll(program.Home() + "/equator.pdf").startsWith("%PDF"));
    }

    // One page at true size without a display; a saved site and focal length give the same page.
    void templateWritesOnePage() {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is needed to read the PDF back");
        }
        Program program;
        Write(program.Catalogue(), kEntries + kSettings);
        const QStringList converters{"--central", "36E", "--extra", "31.5E", "--extra", "39E"};
        const QStringList given = QStringList{"--template", "given.pdf", "--focal", "600"} + kSite;
        QCOMPARE(program.Run(given + converters).err, QByteArray());
        QCOMPARE(program.Run(QStringList{"--template", "saved.pdf"} + converters).status, 0);
        for (const QString name : {"given", "saved"}) {
            const QString pdf = program.Home() + "/" + name + ".pdf";
            QCOMPARE(QProcess::execute(pdftotext, {"-layout", pdf, pdf + ".txt"}), 0);
        }
        const QString page = QString::fromUtf8(ReadAll(program.Home() + "/given.pdf.txt"));
        QCOMPARE(page.count(u'\f'), 1);
        for (const char* expected :
             {"E 36.0", "E 31.5", "E 39.0", "проверьте: 100 мм", "55.75 N 37.6 E", "600 мм"}) {
            QVERIFY2(page.contains(QString::fromUtf8(expected)), expected);
        }
        QCOMPARE(ReadAll(program.Home() + "/saved.pdf.txt"), page.toUtf8());
    }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
