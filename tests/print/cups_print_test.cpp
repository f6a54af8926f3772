// The main window printed through a real CUPS scheduler that the test starts in a temporary
// folder: the job is read back with Ghostscript and looked at. The machine's own print service
// is never asked; without cupsd or Ghostscript the test reports itself skipped (exit code 77).
#include <cups/cups.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <QComboBox>
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
#include <memory>
#include <vector>

#include "../ui/window_fixture.h"
#include "print/page_composer.h"
#include "print/system_printer.h"
#include "print/template_input.h"
#include "print/template_page.h"

namespace palquin {
namespace {

bool g_skipped = false;

#define SKIP_BECAUSE(reason)       \
    do {                           \
        g_skipped = true;          \
        QSKIP(qPrintable(reason)); \
    } while (false)

// A PostScript printer with one paper size, A4, and 12-point margins.
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
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "12 12 583 830"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)PPD";

struct Run {
    int exitCode = -1;
    QString output;
};

// The print scheduler of this test: its own configuration, spool, logs and socket in dir.
class PrivateCups {
  public:
    ~PrivateCups() {
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            daemon_.waitForFinished(5000);
        }
    }

    QString Socket() const { return dir_.filePath(QStringLiteral("cups.sock")); }
    QString PagePath() const { return dir_.filePath(QStringLiteral("out/page.ps")); }
    QString Dir() const { return dir_.path(); }

    Run Tool(const QString& program, const QStringList& args) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), Socket());
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(Find(program), args);
        if (!process.waitForFinished(30000)) {
            return {};
        }
        return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
    }

    /// Empty on success, else why the scheduler is not there.
    QString Start() {
        const QString cupsd = Find(QStringLiteral("cupsd"));
        if (cupsd.isEmpty()) {
            return QStringLiteral("cupsd is not installed");
        }
        if (!dir_.isValid()) {
            return QStringLiteral("no temporary folder");
        }
        const QString root = dir_.path();
        const bool asRoot = geteuid() == 0;
        QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther);
        for (const char* sub : {"spool", "cache", "state", "tmp", "log", "out", "ppd"}) {
            const QString path = dir_.filePath(QLatin1String(sub));
            QDir().mkpath(path);
            if (asRoot) {
                const passwd* lp = getpwnam("lp");
                const group* lpGroup = getgrnam("lp");
                if (lp == nullptr || lpGroup == nullptr ||
                    chown(QFile::encodeName(path).constData(), lp->pw_uid, lpGroup->gr_gid) != 0) {
                    return QStringLiteral("cannot hand the spool to the user lp");
                }
            }
        }
        Write(QStringLiteral("cupsd.conf"),
              QStringLiteral("Listen %1\nDefaultAuthType None\nBrowsing No\nWebInterface No\n"
                             "LogLevel warn\n<Policy default>\n<Limit All>\nOrder deny,allow\n"
                             "</Limit>\n</Policy>\n")
                  .arg(Socket()));
        QString files = QStringLiteral(
                            "ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                            "StateDir %1/state\nTempDir %1/tmp\nAccessLog %1/log/access_log\n"
                            "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\nFileDevice Yes\n")
                            .arg(root);
        if (asRoot) {
            files += QStringLiteral("User lp\nGroup lp\n");
        }
        Write(QStringLiteral("cups-files.conf"), files);
        Write(QStringLiteral("test.ppd"), QString::fromLatin1(kPpd));

        daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon_.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"),
                              dir_.filePath(QStringLiteral("cupsd.conf")), QStringLiteral("-s"),
                              dir_.filePath(QStringLiteral("cups-files.conf"))});
        if (!daemon_.waitForStarted(5000)) {
            return QStringLiteral("cupsd does not start: %1").arg(daemon_.errorString());
        }
        const bool running = QTest::qWaitFor(
            [this] {
                return daemon_.state() == QProcess::Running &&
                       Tool(QStringLiteral("lpstat"), {QStringLiteral("-r")})
                           .output.contains(QStringLiteral("is running"));
            },
            15000);
        if (!running) {
            return QStringLiteral("cupsd did not come up: %1").arg(Log());
        }
        return QString();
    }

    /// Empty on success, else why the queue could not be set up.
    QString AddDefaultQueue() const {
        const Run added = Tool(QStringLiteral("lpadmin"),
                               {QStringLiteral("-p"), QStringLiteral("Test"), QStringLiteral("-E"),
                                QStringLiteral("-v"), QStringLiteral("file://") + PagePath(),
                                QStringLiteral("-P"), dir_.filePath(QStringLiteral("test.ppd"))});
        const Run madeDefault =
            Tool(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("Test")});
        if (added.exitCode != 0 || madeDefault.exitCode != 0) {
            return QStringLiteral("lpadmin: %1 %2 %3").arg(added.output, madeDefault.output, Log());
        }
        return QString();
    }

    QString Log() const {
        QFile log(dir_.filePath(QStringLiteral("log/error_log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
    }

    static QString Find(const QString& program) {
        QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty()) {
            found = QStandardPaths::findExecutable(
                program, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
        }
        return found;
    }

  private:
    void Write(const QString& name, const QString& text) const {
        QFile file(dir_.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(text.toUtf8());
        }
    }

    QTemporaryDir dir_;
    QProcess daemon_;
};

bool IsColour(QRgb pixel, int r, int g, int b) {
    return qAbs(qRed(pixel) - r) <= 24 && qAbs(qGreen(pixel) - g) <= 24 &&
           qAbs(qBlue(pixel) - b) <= 24;
}

}  // namespace

class CupsPrintTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void printsTheEnlargedWindowWithBannerAndCompass();
    void aRefusedJobOrNoPrinterFailsOnceAndRestores_data();
    void aRefusedJobOrNoPrinterFailsOnceAndRestores();
    void templateReachesPaperUnscaled();

  private:
    struct Window {
        QTemporaryDir folder;
        testing::RecordingNotifier notifier;
        SystemPrinter printer;
        std::unique_ptr<frmMain> main;
    };
    std::unique_ptr<Window> OpenWindow();
    void CheckRestored(const frmMain& main);
    /// Waits for the queue to write the job out and rasterises its first page; null if not.
    QImage ReadBackPage(const QString& gs, int dpi);

    PrivateCups cups_;
};

void CupsPrintTest::initTestCase() {
    const QString why = cups_.Start();
    if (!why.isEmpty()) {
        SKIP_BECAUSE(QStringLiteral("no private print scheduler: ") + why);
    }
    // The program under test talks to this scheduler only: no user defaults, no other server.
    qputenv("CUPS_SERVER", cups_.Socket().toLocal8Bit());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    qputenv("HOME", cups_.Dir().toLocal8Bit());
    cupsSetServer(nullptr);  // read CUPS_SERVER again
}

std::unique_ptr<CupsPrintTest::Window> CupsPrintTest::OpenWindow() {
    auto window = std::make_unique<Window>();
    QFile file(window->folder.filePath(QStringLiteral("satellite.txt")));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(
            testing::SampleFile({"36;0;E;Eutelsat 36B;;;", "13;0;E;Hot Bird 13;;;"}).c_str());
        file.close();
    }
    MainWindowSetup setup;
    setup.folder = window->folder.path().toStdString();
    setup.notifier = &window->notifier;
    setup.printer = &window->printer;
    setup.reportPath = window->folder.filePath(QStringLiteral("printOut.txt")).toStdString();
    window->main = std::make_unique<frmMain>(setup);
    window->main->show();
    testing::Choose(*window->main, 0, 0);
    testing::Choose(*window->main, 1, 1);
    return window;
}

void CupsPrintTest::CheckRestored(const frmMain& main) {
    QCOMPARE(main.OuterHeightTw(), frmMain::kNormalOuterHeightTw);
    QVERIFY(main.Label10->isHidden());
}

QImage CupsPrintTest::ReadBackPage(const QString& gs, int dpi) {
    // The job leaves the queue once the filters have written it to the file.
    const bool done = QTest::qWaitFor(
        [this] {
            return cups_.Tool(QStringLiteral("lpstat"), {QStringLiteral("-o")}).output.isEmpty() &&
                   QFile(cups_.PagePath()).size() > 0;
        },
        30000);
    if (!done) {
        qWarning("%s", qPrintable(cups_.Log()));
        return QImage();
    }
    const QString png = cups_.Dir() + QStringLiteral("/page.png");
    QFile::remove(png);
    QProcess raster;
    raster.start(gs, {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
                      QStringLiteral("-dSAFER"), QStringLiteral("-dFirstPage=1"),
                      QStringLiteral("-dLastPage=1"), QStringLiteral("-sDEVICE=png16m"),
                      QStringLiteral("-r%1").arg(dpi), QStringLiteral("-sOutputFile=") + png,
                      cups_.PagePath()});
    if (!raster.waitForFinished(30000) || raster.exitCode() != 0) {
        return QImage();
    }
    return QImage(png);
}

void CupsPrintTest::printsTheEnlargedWindowWithBannerAndCompass() {
    if (const QString why = cups_.AddDefaultQueue(); !why.isEmpty()) {
        SKIP_BECAUSE(QStringLiteral("no print queue on the private scheduler: ") + why);
    }
    const QString gs = PrivateCups::Find(QStringLiteral("gs"));
    if (gs.isEmpty()) {
        SKIP_BECAUSE(QStringLiteral("Ghostscript (gs) is not installed to read the page back"));
    }
    auto window = OpenWindow();
    QTest::mouseClick(window->main->cmdPrint, Qt::LeftButton);
    QCOMPARE(window->notifier.messages.size(), size_t{0});
    CheckRestored(*window->main);

    const QImage page = ReadBackPage(gs, 100);
    QVERIFY(!page.isNull());

    // Where the client area lies on the page: A4 at 100 dpi (one-pixel lines of the window are
    // thinner than a pixel at 50) with 12-point margins, the window (11355 x 10965 twips while
    // printing) fitted into the printable area.
    const double pxPerPt = 100.0 / 72.0;
    const QRectF printable(12 * pxPerPt, 12 * pxPerPt, 571 * pxPerPt, 818 * pxPerPt);
    const QRectF client = FitToArea(QSizeF(11355, 10965), printable);
    const double pxPerTw = client.width() / 11355.0;
    const auto region = [&](double leftTw, double topTw, double widthTw, double heightTw) {
        return QRect(static_cast<int>(client.left() + leftTw * pxPerTw),
                     static_cast<int>(client.top() + topTw * pxPerTw),
                     static_cast<int>(widthTw * pxPerTw), static_cast<int>(heightTw * pxPerTw));
    };
    const auto count = [&page](const QRect& area, int r, int g, int b, int* spanX) {
        int n = 0;
        int minX = area.right();
        int maxX = area.left();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (IsColour(page.pixel(x, y), r, g, b)) {
                    ++n;
                    minX = qMin(minX, x);
                    maxX = qMax(maxX, x);
                }
            }
        }
        if (spanX != nullptr) {
            *spanX = n > 0 ? maxX - minX : 0;
        }
        return n;
    };

    int nonWhite = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            nonWhite += IsColour(page.pixel(x, y), 255, 255, 255) ? 0 : 1;
        }
    }
    QVERIFY2(nonWhite > page.width() * page.height() / 4,
             qPrintable(QStringLiteral("only %1 pixels are not white").arg(nonWhite)));

    // The banner (Label10 inside Frame4) in its green, spread across the diagram.
    const QRect banner = region(120 + 240, 5640 + 840, 10695, 1575);
    int bannerSpan = 0;
    const int bannerGreen = count(banner, 0, 192, 0, &bannerSpan);
    QVERIFY2(bannerGreen > 800 && bannerSpan > banner.width() / 2,
             qPrintable(QStringLiteral("banner: %1 green pixels over %2 of %3")
                            .arg(bannerGreen)
                            .arg(bannerSpan)
                            .arg(banner.width())));

    // The lower panel's compass: green circle and cross, and the needle of the central
    // satellite running down towards S. Thin lines come out blended with the paper, so they are
    // found by their dominant colour; the cross and the needle as long runs in a few columns.
    const QRect compass = region(120, 9000, 1935, 1950);
    const auto green = [](QRgb p) { return qGreen(p) - qMax(qRed(p), qBlue(p)) > 60; };
    const auto red = [](QRgb p) { return qRed(p) - qMax(qGreen(p), qBlue(p)) > 60; };
    const auto longestRun = [&page, &compass](const std::function<bool(QRgb)>& is) {
        std::vector<int> columns(static_cast<size_t>(compass.width()), 0);
        for (int y = compass.top(); y <= compass.bottom(); ++y) {
            for (int x = 0; x < compass.width(); ++x) {
                columns[static_cast<size_t>(x)] += is(page.pixel(compass.left() + x, y)) ? 1 : 0;
            }
        }
        int best = 0;
        for (size_t x = 1; x + 1 < columns.size(); ++x) {
            best = qMax(best, columns[x - 1] + columns[x] + columns[x + 1]);
        }
        return best;
    };
    const int crossRun = longestRun(green);  // the vertical cross line: 1800 twips
    const int needleRun = longestRun(red);   // the needle: about 1000 twips down
    QVERIFY2(crossRun > 1500 * pxPerTw && needleRun > 700 * pxPerTw,
             qPrintable(QStringLiteral("compass: cross %1 px, needle %2 px down")
                            .arg(crossRun)
                            .arg(needleRun)));
}

void CupsPrintTest::aRefusedJobOrNoPrinterFailsOnceAndRestores_data() {
    QTest::addColumn<QStringList>("adminCommand");
    QTest::newRow("queue refusing jobs")
        << QStringList{QStringLiteral("cupsreject"), QStringLiteral("Test")};
    QTest::newRow("scheduler without a printer")
        << QStringList{QStringLiteral("lpadmin"), QStringLiteral("-x"), QStringLiteral("Test")};
}

void CupsPrintTest::aRefusedJobOrNoPrinterFailsOnceAndRestores() {
    QFETCH(QStringList, adminCommand);
    if (const QString why = cups_.AddDefaultQueue(); !why.isEmpty()) {
        SKIP_BECAUSE(QStringLiteral("no print queue on the private scheduler: ") + why);
    }
    const Run admin = cups_.Tool(adminCommand.first(), adminCommand.mid(1));
    QVERIFY2(admin.exitCode == 0, qPrintable(admin.output));
    QFile::remove(cups_.PagePath());

    auto window = OpenWindow();
    QTest::mouseClick(window->main->cmdPrint, Qt::LeftButton);
    QCOMPARE(window->notifier.messages.size(), size_t{1});
    QCOMPARE(window->notifier.messages[0].text, QStringLiteral("Печать невозможна!"));
    QCOMPARE(window->notifier.messages[0].title, QStringLiteral("Palquin"));
    CheckRestored(*window->main);
    QVERIFY(!QFile::exists(cups_.PagePath()));
}

// The 1:1 template through the queue: the check bar on the page that comes out is 100 mm.
void CupsPrintTest::templateReachesPaperUnscaled() {
    if (const QString why = cups_.AddDefaultQueue(); !why.isEmpty()) {
        SKIP_BECAUSE(QStringLiteral("no print queue on the private scheduler: ") + why);
    }
    const QString gs = PrivateCups::Find(QStringLiteral("gs"));
    if (gs.isEmpty()) {
        SKIP_BECAUSE(QStringLiteral("Ghostscript (gs) is not installed to read the page back"));
    }
    QFile::remove(cups_.PagePath());
    TemplateInput input;
    input.converters = {{"E 36.0", {0.0, 0.0}, 50.0, 0.0}};
    input.siteText = "55.75 N 37.6 E";
    input.focalMm = 600.0;
    SystemPrinter printer;
    const PrintResult result = printer.PrintTemplatePages(input, QStringLiteral("Шаблон 1:1"));
    QVERIFY2(result.ok, qPrintable(result.reason));

    constexpr int kPxPerMm = 10;
    const QImage page = ReadBackPage(gs, static_cast<int>(kPxPerMm * 25.4));
    QVERIFY(!page.isNull());
    // The footer: the lowest kTemplateFooterMm above the queue's 12-point bottom margin, less
    // the first millimetre where the frame's bottom line runs. The bar is its longest dark run.
    const double bottomMarginMm = 12.0 / 72.0 * 25.4;
    const int top =
        page.height() - static_cast<int>((bottomMarginMm + kTemplateFooterMm - 1.0) * kPxPerMm);
    int longest = 0;
    for (int y = top; y < page.height(); ++y) {
        int run = 0;
        for (int x = 0; x < page.width(); ++x) {
            run = qGray(page.pixel(x, y)) < 128 ? run + 1 : 0;
            longest = qMax(longest, run);
        }
    }
    // The bar plus half a tick's width at each end: 100.2 mm.
    QVERIFY2(qAbs(double(longest) / kPxPerMm - kCheckBarMm) < 0.5,
             qPrintable(QStringLiteral("check bar %1 mm").arg(double(longest) / kPxPerMm)));
}

}  // namespace palquin

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    palquin::CupsPrintTest test;
    const int failures = QTest::qExec(&test, argc, argv);
    return failures == 0 && palquin::g_skipped ? 77 : failures;
}

#include "cups_print_test.moc"
