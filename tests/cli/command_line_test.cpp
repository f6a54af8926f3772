// SPDX-License-Identifier: GPL-3.0-or-later
// The report from the window's menu, and the program run from the command line: --report, --aim
// and --template.
#include <unistd.h>

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "cli/command_line.h"
#include "common/window_fixture.h"

using palquin::testing_support::Find;

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
// The menu's and --report's report of the same catalogue for 55.75 N 37.6 E: the figures go on
// past the entry without a position, and the satellite below the horizon is marked.
const QByteArray kSiteReport =
    "1e400;0;E;too far;;;\r\n"
    " 208.98 -  22.77 - 13;0;E;Hot Bird (\xc8\xf2\xe0\xeb\xe8\xff);http://a/;;\r\n"
    " 228.05 -  16.13 - 5;0;W;Eutelsat;;;\r\n"
    " 259.7 - -15.32 - 140;0;E;Express (\xdd\xea\xf1\xef\xf0\xe5\xf1\xf1);;; "
    "(\xed\xe8\xe6\xe5 \xe3\xee\xf0\xe8\xe7\xee\xed\xf2\xe0)\r\n"
    " 180 -  26.48 - 37;6;E;Over Moscow;;;\r\n"
    "bad\r\n"
    " 201.92 -  24.37 - 19;2;E;after the stop;;;\r\n";
// The hidden button's report: no mark below the horizon, the figures stop at the bad entry.
const QByteArray kReport =
    QByteArray(kSiteReport)
        .replace(" (\xed\xe8\xe6\xe5 \xe3\xee\xf0\xe8\xe7\xee\xed\xf2\xe0)", "")
        .replace(" 201.92 -  24.37 - 19", "19");

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

    // Where the program's standard output goes.
    enum class Output {
        Captured,    ///< a pipe this test reads
        Full,        ///< /dev/full: every write fails, the disk is full
        ClosedPipe,  ///< a pipe whose reader has gone away
        Terminal,    ///< a pseudo-terminal of its own, made by script(1)
    };

    Outcome Run(const QStringList& arguments, Output output = Output::Captured) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "no-such-platform");
        env.insert("HOME", Home());
        env.insert("TZ", "MSK-3");  // no test depends on the machine's zone
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(Home());
        int pipe[2] = {-1, -1};
        if (output == Output::Full) {
            process.setStandardOutputFile("/dev/full");
        } else if (output == Output::ClosedPipe) {
            if (::pipe(pipe) != 0) {
                return {-2, {}, "pipe() failed"};
            }
            ::close(pipe[0]);
            const int writeEnd = pipe[1];
            process.setChildProcessModifier([writeEnd] { ::dup2(writeEnd, STDOUT_FILENO); });
        }
        if (output == Output::Terminal) {
            QString command = "'" + dir_.filePath("palquin") + "'";
            for (const QString& argument : arguments) {
                command += " '" + argument + "'";
            }
            process.start("script", {"-q", "-e", "-c", command, "/dev/null"});
        } else {
            process.start(dir_.filePath("palquin"), arguments);
        }
        if (pipe[1] >= 0) {
            ::close(pipe[1]);
        }
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
    // The site goes in through the fields, the report's bytes come out of the file. The hidden
    // button keeps its north-east rule; the menu's report takes the hemispheres.
    void menuExportWritesTheReportAndSaysWhere() {
        palquin::testing_support::WindowFixture fixture(kEntries.toStdString());
        palquin::MainWindow& w = fixture.Window();
        QTest::keyClicks(Find<QLineEdit>(w, "sh"), "55.75");
        QTest::keyClicks(Find<QLineEdit>(w, "dl"), "37.6");
        Find<QComboBox>(w, "cmbNS")->setEditText("N");
        Find<QComboBox>(w, "cmbEW")->setEditText("E");
        const QString report = QString::fromStdString(fixture.FolderPath()) + "/printOut.txt";
        Find<QAction>(w, "mnuReport")->trigger();
        QCOMPARE(ReadAll(report), kSiteReport);
        Find<QComboBox>(w, "cmbNS")->setEditText("S");
        Find<QPushButton>(w, "Command1")->click();
        QCOMPARE(ReadAll(report), kReport);
        Find<QAction>(w, "mnuReport")->trigger();
        QVERIFY2(ReadAll(report).startsWith("1e400;0;E;too far;;;\r\n 331.02 - "),
                 ReadAll(report).constData());
        // A folder where the file should be: the failure message only.
        QVERIFY(QFile::remove(report) && QDir().mkdir(report));
        Find<QAction>(w, "mnuReport")->trigger();
        // A report file that leads to the catalogue is refused, and the catalogue stays.
        const QString catalogue = QString::fromStdString(fixture.FolderPath()) + "/satellite.txt";
        QVERIFY(QDir().rmdir(report) && QFile::link(catalogue, report));
        Find<QAction>(w, "mnuReport")->trigger();
        QCOMPARE(ReadAll(catalogue), kEntries);
        const auto& messages = fixture.Notifier().messages;
        QCOMPARE(messages.size(), size_t{4});
        QCOMPARE(messages[0].text, "Отчёт по каталогу записан в файл " + report);
        QCOMPARE(messages[2].text,
                 "Не удалось записать отчёт: файл «" + report + "»: это папка, а не файл.");
        QCOMPARE(messages[3].text,
                 "Отчёт не записан: файл " + report + " — это каталог спутников программы.");
    }

    // --report prints the menu's report of the same file and writes nothing; -h is the usage in
    // Russian on standard output, naming the default catalogue file.
    void reportAndHelp() {
        Program program;
        const Outcome help = program.Run({"-h"});
        QVERIFY(help.status == 0 && help.out.startsWith("Использование: palquin"));
        QVERIFY(help.out.contains(program.Catalogue().toUtf8()) && help.err.isEmpty());
        // The built-in catalogue, with no catalogue file made for it.
        const Outcome builtIn = program.Run({"--report"});
        QVERIFY(builtIn.status == 0 && builtIn.out.count('\n') > 10);
        QVERIFY(!QFile::exists(program.Catalogue()));
        const std::pair<QByteArray, QStringList> runs[] = {
            {kEntries + kSettings, {"--report"}},
            {kEntries + "------------------\r\n10\r\nS\r\n10\r\nW\r\n",
             {"--report", "--latitude", "55.75N", "--longitude=37.6"}}};  // beats the saved site
        for (const auto& [file, arguments] : runs) {
            Write(program.Catalogue(), file);
            const Outcome outcome = program.Run(arguments);
            QCOMPARE(outcome.err, QByteArray());
            QCOMPARE(outcome.out, Utf8(kSiteReport));
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
        QCOMPARE(QByteArray::fromStdString(out.str()), Utf8(kSiteReport));
        std::remove(name.c_str());  // a name QTemporaryDir could not decode
    }

    // A site saved south or west of Greenwich reaches the report with its hemispheres, and so
    // does a negative latitude given over a saved site (a value, not an option, though it starts
    // with a hyphen): figures checked by hand to a tenth.
    void reportTakesTheSitesHemispheres_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("site");
        QTest::addColumn<double>("azimuthDeg");
        QTest::addColumn<double>("elevationDeg");
        const QByteArray optus = "156;0;E;Optus D3;;;\r\n", hispasat = "30;0;W;Hispasat;;;\r\n";
        const QByteArray sydney = "------------------\r\n33.9\r\nS\r\n151.2\r\nE\r\n";
        const QByteArray newYork = "------------------\r\n40.7\r\nN\r\n74.0\r\nW\r\n";
        const QStringList signedSydney{"--latitude", "-33.9", "--longitude", "151.2"};
        QTest::newRow("saved in Sydney") << optus + sydney << QStringList() << 8.6 << 50.3;
        QTest::newRow("saved in New York") << hispasat + newYork << QStringList() << 124.0 << 25.2;
        QTest::newRow("Sydney signed over New York")
            << optus + newYork << signedSydney << 8.6 << 50.3;
    }
    void reportTakesTheSitesHemispheres() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, site);
        QFETCH(double, azimuthDeg);
        QFETCH(double, elevationDeg);
        Program program;
        Write(program.Catalogue(), file);
        const Outcome report = program.Run(QStringList{"--report"} + site);
        const QList<QByteArray> figures = report.out.split('-');
        QVERIFY2(report.status == 0 && figures.size() >= 3, report.err.constData());
        QVERIFY2(qAbs(figures[0].trimmed().toDouble() - azimuthDeg) < 0.06 &&
                     qAbs(figures[1].trimmed().toDouble() - elevationDeg) < 0.06,
                 report.out.constData());
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
        bad(QStringList{"--aim", "--date", "2026-06-21"} + kSite, "satellite", "E36");
        bad(QStringList{"--aim", "--satellite", "36E"} + kSite, "date", "2026-02-30");
        row("aim without any site", kAim, 2, ": в каталоге не сохранено место приёма");
        row("report without any site", {"--report"}, 2,
            ": в каталоге не сохранено место приёма, которое можно рассчитать: укажите "
            "--latitude и --longitude");
        const QStringList central{"--central", "36E"};
        row("template without a focal length", QStringList{"--template", "t.pdf"} + central + kSite,
            2, ": в каталоге не сохранено фокусное расстояние");
        const QStringList page = central + kSite + QStringList{"--focal", "600"};
        bad(QStringList{"--template", "t.pdf"} + page, "extra", "39");
        // The window's range rule for a converter's diameter.
        bad(QStringList{"--template", "t.pdf"} + page, "diameter", "100.01");
        // Where the file cannot be written the old one stays as it was, and no stray file is left.
        row("template over a read-only file", QStringList{"--template", "old.pdf"} + page, 1,
            ": шаблон не записан: файл «old.pdf»: файл защищён от записи");
        row("template into a pipe, no wait", QStringList{"--template", "fifo"} + page, 1,
            ": шаблон не записан: файл «fifo»: это не обычный файл");
        row("template to standard output, a pipe here",
            QStringList{"--template", "/dev/stdout"} + page, 1,
            ": шаблон не записан: файл «/dev/stdout»: это не обычный файл");
        const QString longName = "\x1b]0;x" + QString(240, 'n') + ".pdf";
        row("template into a long missing folder",
            QStringList{"--template", longName + "/t.pdf"} + page, 1,
            ": шаблон не записан: файл «\\e]0;x" + QString(195, 'n') + "…»: нет такой папки");
        // The catalogue in use never becomes a PDF, named directly or through another path.
        row("template over the catalogue given",
            QStringList{"--template", "../satellite.txt", "--catalogue", "./../satellite.txt"} +
                page,
            1, ": шаблон не записан: файл «../satellite.txt» — это каталог спутников");
        // A second hard link of the catalogue is still the catalogue: the names differ, the file
        // is one.
        row("template over a hard link of the catalogue",
            QStringList{"--template", "hard.pdf"} + page, 1,
            ": шаблон не записан: файл «hard.pdf» — это каталог спутников");
        // A catalogue named but missing is a failure, never the built-in catalogue instead.
        for (const QStringList& mode : {QStringList{"--report"} + kSite, kAim + kSite,
                                        QStringList{"--template", "t.pdf"} + page}) {
            QTest::addRow("%s with a missing catalogue", qPrintable(mode[0]))
                << mode + QStringList{"--catalogue", "missing.txt"} << 1
                << "palquin: каталог «HOME/missing.txt» не прочитан: файл не найден";
        }
        // A value given twice is a mistake to point out, not to settle by taking the last one.
        const auto twice = [&](const QStringList& arguments, const QString& option,
                               const QString& value) {
            QTest::addRow("--%s twice", qPrintable(option))
                << arguments + QStringList{"--" + option, value} << 2
                << QString("palquin: параметр --%1 указан больше одного раза").arg(option);
        };
        twice(QStringList{"--report"} + kSite, "latitude", "10");
        twice(QStringList{"--template", "t.pdf"} + page, "template", "u.pdf");
        QStringList tenExtras = QStringList{"--template", "t.pdf"} + page;
        for (int i = 1; i <= 10; ++i) {
            tenExtras += QStringList{"--extra", QString("%1E").arg(36 + i)};
        }
        row("ten extra converters", tenExtras, 2,
            ": параметр --extra указан 10 раз, а дополнительных конвертеров может быть не "
            "больше 9");
        // An error line quotes at most 200 characters of an argument, control bytes escaped.
        row("long value with control bytes",
            {"--report", "--latitude", "\x1b[2J" + QString(300, 'x')}, 2,
            ": неверное значение «\\e[2J" + QString(196, 'x') + "…» у параметра --latitude");
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
        const QString hard = program.Home() + "/hard.pdf";
        QCOMPARE(::link(program.Catalogue().toUtf8().constData(), hard.toUtf8().constData()), 0);
        const Outcome outcome = program.Run(arguments);
        QCOMPARE(outcome.status, status);
        const QStringList lines = QString::fromUtf8(outcome.err).split(u'\n');
        QVERIFY2(lines[0].startsWith(text.replace("HOME", program.Home())), qPrintable(lines[0]));
        // A usage error repeats the usage.
        QVERIFY(status != 2 || lines.value(1).startsWith("Использование"));
        QCOMPARE(ReadAll(program.Catalogue()), kEntries);
        QCOMPARE(program.HomeEntries(), QStringList({"fifo", "hard.pdf", "old.pdf"}));
        QCOMPARE(ReadAll(old), "%PDF-1.4 old template\n");
    }

    // Output that cannot be written is a failure with a message, never status 0: a full disk, a
    // reader that went away.
    void outputThatCannotBeWritten_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("output");
        for (const auto& [name, arguments] :
             {std::pair{"report", QStringList{"--report"}}, std::pair{"aim", kAim + kSite},
              std::pair{"help", QStringList{"--help"}}}) {
            QTest::addRow("%s, disk full", name)
                << arguments << static_cast<int>(Program::Output::Full);
            QTest::addRow("%s, closed pipe", name)
                << arguments << static_cast<int>(Program::Output::ClosedPipe);
        }
    }
    void outputThatCannotBeWritten() {
        QFETCH(QStringList, arguments);
        QFETCH(int, output);
        Program program;
        const Outcome outcome = program.Run(arguments, static_cast<Program::Output>(output));
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.err.startsWith("palquin: не удалось записать в стандартный вывод"),
                 outcome.err.constData());
    }

    // A catalogue's control bytes must not retitle or clear the user's terminal: shown escaped
    // there, passed unchanged into a pipe.
    void controlBytesReachNoTerminal() {
        const QByteArray evil = "1;0;E;Evil \x1b]0;PWNED\x07\x1b[2J;;;";
        const QByteArray escaped = "Evil \\e]0;PWNED\\x07\\e[2J;;;";
        Program program;
        Write(program.Catalogue(), evil + "\r\n" + kSettings);
        const Outcome piped = program.Run({"--report"});
        QVERIFY2(piped.status == 0 && piped.out.contains(evil), piped.out.constData());

        // Shown escaped on a real pseudo-terminal.
        if (QStandardPaths::findExecutable("script").isEmpty()) {
            QSKIP("script (bsdutils) is needed for a pseudo-terminal");
        }
        const Outcome shown = program.Run({"--report"}, Program::Output::Terminal);
        QVERIFY2(shown.status == 0 && shown.out.contains(escaped) && !shown.out.contains('\x1b'),
                 shown.out.constData());
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

    // One page at true size without a display; a saved site and focal length give the same page.
    // Converters too close say so; a template none of whose satellites can be seen says so on the
    // page, large and red above the drawing, where a good one has nothing red.
    void templatePages() {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
        if (pdftotext.isEmpty() || pdftoppm.isEmpty()) {
            QSKIP("pdftotext and pdftoppm (poppler-utils) are needed to read the PDF back");
        }
        Program program;
        Write(program.Catalogue(), kEntries + kSettings);
        const auto text = [&](const QString& name) {
            const QString pdf = program.Home() + "/" + name + ".pdf";
            QProcess::execute(pdftotext, {"-layout", pdf, pdf + ".txt"});
            return QString::fromUtf8(ReadAll(pdf + ".txt"));
        };
        const QStringList converters{"--central", "36E", "--extra", "31.5E", "--extra", "39E"};
        const QStringList given = QStringList{"--focal", "600"} + kSite;
        const QStringList small{"--diameter", "20"};
        QCOMPARE(program.Run(QStringList{"--template", "given.pdf"} + given + converters).err,
                 QByteArray());
        QCOMPARE(program.Run(QStringList{"--template", "saved.pdf"} + converters).status, 0);
        QCOMPARE(
            program.Run(QStringList{"--template", "small.pdf"} + given + converters + small).status,
            0);
        const Outcome hidden = program.Run(
            QStringList{"--template", "hidden.pdf", "--central", "140E", "--extra", "150E"} +
            given + small);
        QVERIFY2(hidden.status == 0 && hidden.err.contains("предупреждение"),
                 hidden.err.constData());
        const QString page = text("given");
        QCOMPARE(page.count(u'\f'), 1);
        for (const char* expected :
             {"E 36.0", "E 31.5", "E 39.0", "проверьте: 100 мм", "55.75 N 37.6 E", "600 мм"}) {
            QVERIFY2(page.contains(QString::fromUtf8(expected)), expected);
        }
        QCOMPARE(text("saved"), page);
        // The converters are 50 mm wide unless told otherwise, so the neighbours are too close.
        QVERIFY2(page.contains(QRegularExpression("мешают друг другу: \\d+ мм из 50")),
                 qPrintable(page));
        QVERIFY(!text("small").contains("мешают"));
        QVERIFY(
            text("hidden").contains("Все спутники ниже горизонта: с этого места их не принять"));

        // Rows of the page (A4 at 150 dpi) with red ink between the header and the frame.
        constexpr double kPxPerMm = 150 / 25.4;
        const auto redRowsMm = [&](const QString& name) {
            const QString pdf = program.Home() + "/" + name + ".pdf";
            if (QProcess::execute(pdftoppm, {"-r", "150", "-png", "-singlefile", "-f", "1", "-l",
                                             "1", pdf, pdf}) != 0) {
                return -1.0;
            }
            const QImage image(pdf + ".png");
            int first = -1, last = -1;
            for (int y = static_cast<int>(26 * kPxPerMm); y < static_cast<int>(38 * kPxPerMm);
                 ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.red() > 200 && c.green() < 90 && c.blue() < 90) {
                        first = first < 0 ? y : first;
                        last = y;
                        break;
                    }
                }
            }
            return first < 0 ? 0.0 : (last - first + 1) / kPxPerMm;
        };
        const double warningMm = redRowsMm("hidden");
        QVERIFY2(warningMm >= 4.0, qPrintable(QString::number(warningMm)));  // 14 pt, not 9
        QCOMPARE(redRowsMm("small"), 0.0);
    }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
