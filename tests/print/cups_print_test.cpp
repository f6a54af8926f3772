// The main window printed through a real CUPS scheduler that the test starts in a temporary
// folder: the job is read back with Ghostscript and looked at. The machine's own print service
// is never asked; without cupsd or Ghostscript the test reports itself skipped (exit code 77).
#include <cups/cups.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "../ui/window_fixture.h"
#include "print/page_composer.h"
#include "print/system_printer.h"

namespace palquin {
namespace {

bool g_skipped = false;

#define SKIP_UNLESS_EMPTY(why, what)                           \
    do {                                                       \
        if (const QString reason = (why); !reason.isEmpty()) { \
            g_skipped = true;                                  \
            QSKIP(qPrintable((what) + reason));                \
        }                                                      \
    } while (false)

// A colour PostScript printer with one paper size, A4, and 12-point margins.
const char kPpd[] = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "TEST.PPD"
*Manufacturer: "Test"
*Product: "(Test Printer)"
*ModelName: "Test PostScript Printer"
*ShortNickName: "Test PostScript Printer"
*NickName: "Test PostScript Printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "12 12 583 830"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)PPD";

QString Find(const QString& program) {
    const QString found = QStandardPaths::findExecutable(program);
    return found.isEmpty() ? QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin"})
                           : found;
}

// The print scheduler of this test: its own configuration, spool, logs and socket in dir_.
class PrivateCups {
  public:
    ~PrivateCups() {
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Socket() const { return Path("cups.sock"); }
    QString PagePath() const { return Path("out/page.ps"); }

    /// The tool's exit code (-1: it did not finish), with its output appended to *output.
    int Tool(const QString& program, const QStringList& args, QString* output = nullptr) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CUPS_SERVER", Socket());
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(Find(program), args);
        if (!process.waitForFinished(30000)) {
            return -1;
        }
        if (output != nullptr) {
            *output += QString::fromLocal8Bit(process.readAll());
        }
        return process.exitCode();
    }

    /// Empty on success, else why the scheduler is not there.
    QString Start() {
        const QString cupsd = Find("cupsd");
        if (cupsd.isEmpty() || !dir_.isValid()) {
            return "cupsd is not installed or there is no temporary folder";
        }
        const bool asRoot = geteuid() == 0;
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::ExeOther);
        const passwd* lp = getpwnam("lp");
        const group* lpGroup = getgrnam("lp");
        for (const char* sub : {"spool", "cache", "state", "tmp", "log", "out"}) {
            QDir().mkpath(Path(sub));
            if (asRoot && (lp == nullptr || lpGroup == nullptr ||
                           chown(QFile::encodeName(Path(sub)).constData(), lp->pw_uid,
                                 lpGroup->gr_gid) != 0)) {
                return "cannot hand the spool to the user lp";
            }
        }
        Write("cupsd.conf", QString("Listen %1\nDefaultAuthType None\nBrowsing No\n"
                                    "WebInterface No\nLogLevel warn\n<Policy default>\n"
                                    "<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                                .arg(Socket()));
        Write("cups-files.conf",
              QString("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                      "TempDir %1/tmp\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                      "PageLog %1/log/page_log\nFileDevice Yes\n%2")
                  .arg(dir_.path(), asRoot ? "User lp\nGroup lp\n" : ""));
        Write("test.ppd", kPpd);
        daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon_.start(cupsd, {"-f", "-c", Path("cupsd.conf"), "-s", Path("cups-files.conf")});
        const bool running = QTest::qWaitFor(
            [this] {
                QString status;
                return daemon_.state() == QProcess::Running &&
                       Tool("lpstat", {"-r"}, &status) == 0 && status.contains("is running");
            },
            15000);
        return running ? QString() : "cupsd did not come up: " + Log();
    }

    /// Empty on success, else why the default queue "Test", printing into PagePath(), is not there.
    QString AddDefaultQueue() const {
        QString output;
        const bool added =
            Tool("lpadmin",
                 {"-p", "Test", "-E", "-v", "file://" + PagePath(), "-P", Path("test.ppd")},
                 &output) == 0 &&
            Tool("lpadmin", {"-d", "Test"}, &output) == 0;
        return added ? QString() : "lpadmin: " + output + Log();
    }

    QString Log() const {
        QFile log(Path("log/error_log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
    }

  private:
    void Write(const QString& name, const QString& text) const {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(text.toUtf8());
        }
    }

    QTemporaryDir dir_;
    QProcess daemon_;
};

// Two satellites chosen, central and one beside it, with the printer of the system.
struct PrintingWindow {
    SystemPrinter printer;
    testing::WindowFixture fixture{
        testing::SampleFile({"36;0;E;Eutelsat 36B;;;", "13;0;E;Hot Bird 13;;;"}), nullptr,
        &printer};

    const std::vector<testing::RecordingNotifier::Message>& Print() {
        frmMain& w = fixture.Window();
        w.show();
        testing::Choose(w, 0, 0);
        testing::Choose(w, 1, 1);
        QTest::mouseClick(w.cmdPrint, Qt::LeftButton);
        return fixture.Notifier().messages;
    }
    bool Restored() {
        return fixture.Window().OuterHeightTw() == frmMain::kNormalOuterHeightTw &&
               fixture.Window().Label10->isHidden();
    }
};

}  // namespace

class CupsPrintTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        SKIP_UNLESS_EMPTY(cups_.Start(), QString("no private print scheduler: "));
        // The program under test talks to this scheduler only: no user defaults, no other server.
        qputenv("CUPS_SERVER", cups_.Socket().toLocal8Bit());
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        qputenv("HOME", cups_.Path(".").toLocal8Bit());
        cupsSetServer(nullptr);  // read CUPS_SERVER again
    }
    void printsTheEnlargedWindowWithBannerAndCompass();
    void aRefusedJobOrNoPrinterFailsOnceAndRestores_data();
    void aRefusedJobOrNoPrinterFailsOnceAndRestores();

  private:
    PrivateCups cups_;
};

void CupsPrintTest::printsTheEnlargedWindowWithBannerAndCompass() {
    SKIP_UNLESS_EMPTY(cups_.AddDefaultQueue(), QString("no print queue: "));
    SKIP_UNLESS_EMPTY(Find("gs").isEmpty() ? QString("not installed") : QString(),
                      QString("Ghostscript, to read the page back: "));
    PrintingWindow window;
    QCOMPARE(window.Print().size(), size_t{0});
    QVERIFY(window.Restored());

    // The job leaves the queue once the filters have written it to the file.
    const bool done = QTest::qWaitFor(
        [this] {
            QString queue;
            return cups_.Tool("lpstat", {"-o"}, &queue) == 0 && queue.isEmpty() &&
                   QFile(cups_.PagePath()).size() > 0;
        },
        30000);
    QVERIFY2(done, qPrintable(cups_.Log()));
    const QString png = cups_.Path("page.png");
    QCOMPARE(
        QProcess::execute(Find("gs"), {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=png16m",
                                       "-r100", "-sOutputFile=" + png, cups_.PagePath()}),
        0);
    const QImage page(png);
    QVERIFY(!page.isNull());

    // Where the client area lies on the page: A4 at 100 dpi (one-pixel lines of the window are
    // thinner than a pixel at 50) with 12-point margins, the window (11355 x 10965 twips while
    // printing) fitted into the printable area.
    const double pxPerPt = 100.0 / 72.0;
    const QRectF client = FitToArea(
        QSizeF(11355, 10965), QRectF(12 * pxPerPt, 12 * pxPerPt, 571 * pxPerPt, 818 * pxPerPt));
    const double pxPerTw = client.width() / 11355.0;
    const auto region = [&](double leftTw, double topTw, double widthTw, double heightTw) {
        return QRect(static_cast<int>(client.left() + leftTw * pxPerTw),
                     static_cast<int>(client.top() + topTw * pxPerTw),
                     static_cast<int>(widthTw * pxPerTw), static_cast<int>(heightTw * pxPerTw));
    };
    // Thin lines come out blended with the paper, so colours are known by the dominant channel.
    const auto green = [](QRgb p) { return qGreen(p) - qMax(qRed(p), qBlue(p)) > 60; };
    const auto red = [](QRgb p) { return qRed(p) - qMax(qGreen(p), qBlue(p)) > 60; };
    // The most pixels of a colour in three neighbouring columns: a vertical line.
    const auto tallest = [&page](const QRect& area, const std::function<bool(QRgb)>& is) {
        std::vector<int> columns(static_cast<size_t>(area.width()), 0);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                columns[static_cast<size_t>(x)] += is(page.pixel(area.left() + x, y)) ? 1 : 0;
            }
        }
        int best = 0;
        for (size_t x = 1; x + 1 < columns.size(); ++x) {
            best = qMax(best, columns[x - 1] + columns[x] + columns[x + 1]);
        }
        return best;
    };

    // The banner (Label10 inside Frame4) in its own green, (0, 192, 0) unlike the axes' (0, 255,
    // 0), spread across the diagram.
    const QRect banner = region(120 + 240, 5640 + 840, 10695, 1575);
    const auto bannerGreen = [](QRgb p) {
        return qRed(p) < 24 && qAbs(qGreen(p) - 192) < 24 && qBlue(p) < 24;
    };
    int bannerPixels = 0;
    int left = banner.right();
    int right = banner.left();
    for (int y = banner.top(); y <= banner.bottom(); ++y) {
        for (int x = banner.left(); x <= banner.right(); ++x) {
            if (bannerGreen(page.pixel(x, y))) {
                ++bannerPixels;
                left = qMin(left, x);
                right = qMax(right, x);
            }
        }
    }
    QVERIFY2(
        bannerPixels > 800 && right - left > banner.width() / 2,
        qPrintable(
            QString("banner: %1 pixels from %2 to %3").arg(bannerPixels).arg(left).arg(right)));

    // The lower panel's compass: the green cross's vertical line (1800 twips) and the needle of
    // the central satellite running down towards S (about 1000 twips).
    const QRect compass = region(120, 9000, 1935, 1950);
    const int crossRun = tallest(compass, green);
    const int needleRun = tallest(compass, red);
    QVERIFY2(
        crossRun > 1500 * pxPerTw && needleRun > 700 * pxPerTw,
        qPrintable(QString("compass: cross %1 px, needle %2 px").arg(crossRun).arg(needleRun)));
}

void CupsPrintTest::aRefusedJobOrNoPrinterFailsOnceAndRestores_data() {
    QTest::addColumn<QStringList>("adminCommand");
    QTest::newRow("queue refusing jobs") << QStringList{"cupsreject", "Test"};
    QTest::newRow("scheduler without a printer") << QStringList{"lpadmin", "-x", "Test"};
}

void CupsPrintTest::aRefusedJobOrNoPrinterFailsOnceAndRestores() {
    QFETCH(QStringList, adminCommand);
    SKIP_UNLESS_EMPTY(cups_.AddDefaultQueue(), QString("no print queue: "));
    QString output;
    QVERIFY2(cups_.Tool(adminCommand.first(), adminCommand.mid(1), &output) == 0,
             qPrintable(output));
    QFile::remove(cups_.PagePath());
    PrintingWindow window;
    const auto& messages = window.Print();
    QCOMPARE(messages.size(), size_t{1});
    QCOMPARE(messages[0].text + "|" + messages[0].title, QString("Печать невозможна!|Palquin"));
    QVERIFY(window.Restored());
    QVERIFY(!QFile::exists(cups_.PagePath()));
}

}  // namespace palquin

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    palquin::CupsPrintTest test;
    const int failures = QTest::qExec(&test, argc, argv);
    return failures == 0 && palquin::g_skipped ? 77 : failures;
}

#include "cups_print_test.moc"
