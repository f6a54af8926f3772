// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and the 1:1 template printed through a CUPS scheduler of the test's own in a
// temporary folder, read back with Ghostscript. Skipped (exit code 77) without cupsd or gs. The
// queue's own default is to fit pages to the paper, so only the template's request keeps it 1:1.
#include <cups/cups.h>

#include <QComboBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "common/window_fixture.h"
#include "print/page_composer.h"
#include "print/system_printer.h"
#include "print/template_page.h"

using palquin::testing_support::Find;

namespace palquin {
namespace {

bool g_skipped = false;

// A scheduler that lets anyone do anything, keeping all its files in the folder %1.
const char kCupsdConf[] =
    "Listen %1/cups.sock\n<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n";
const char kCupsFiles[] =
    "ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
    "AccessLog %1/log\nErrorLog %1/log\nPageLog %1/log\nFileDevice Yes\n";

// A colour PostScript printer with A4 paper only and 12-point margins.
const char kPpd[] = R"PPD(*PPD-Adobe: "4.3"
*Product: "(Test)"
*ColorDevice: True
*DefaultPageSize: A4
*PageSize A4: "<</PageSize[595 842]>>setpagedevice"
*DefaultImageableArea: A4
*ImageableArea A4: "12 12 583 830"
*DefaultPaperDimension: A4
*PaperDimension A4: "595 842"
)PPD";

QString Find(const QString& program) {
    return QStandardPaths::findExecutable(program, qEnvironmentVariable("PATH").split(':')
                                                       << "/usr/sbin"
                                                       << "/sbin");
}

int Run(const QStringList& command) {
    return QProcess::execute(Find(command.first()), command.mid(1));
}

// Pixels of the area within 24 of the colour in every channel.
int Count(const QImage& page, const QRect& area, QRgb c) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = page.pixel(x, y);
            const int r = qAbs(qRed(p) - qRed(c));
            n += qMax(r, qMax(qAbs(qGreen(p) - qGreen(c)), qAbs(qBlue(p) - qBlue(c)))) <= 24;
        }
    }
    return n;
}

}  // namespace

class CupsPrintTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QProcess cupsd_;

    QString Path(const QString& name) const { return dir_.filePath(name); }

    QString Log() const {
        QFile log(Path("log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
    }

    // Empty once the scheduler runs with a default queue "Test", else why it does not.
    QString Start() {
        const QString cupsd = Find("cupsd");
        if (cupsd.isEmpty() || Find("gs").isEmpty()) {
            return "cupsd or Ghostscript (gs) is not installed";
        }
        // The program under test talks to this scheduler only: no user defaults, no other server.
        qputenv("CUPS_SERVER", Path("cups.sock").toLocal8Bit());
        qputenv("HOME", dir_.path().toLocal8Bit());
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        cupsSetServer(nullptr);
        // cupsd makes its folders itself; filters running as the user lp must reach them.
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ExeGroup | QFile::ExeOther);
        for (const auto& [name, text] : {std::pair{"cupsd.conf", kCupsdConf},
                                         {"cups-files.conf", kCupsFiles},
                                         {"test.ppd", kPpd}}) {
            QFile file(Path(name));
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(QString(text).replace("%1", dir_.path()).toUtf8()) < 0) {
                return "cannot write " + file.fileName();
            }
        }
        cupsd_.start(cupsd, {"-f", "-c", Path("cupsd.conf"), "-s", Path("cups-files.conf")});
        const bool ready =
            QTest::qWaitFor([this] { return QFile::exists(Path("cups.sock")); }, 15000) &&
            Run({"lpadmin", "-p", "Test", "-E", "-v", "file://" + Path("page.ps"), "-P",
                 Path("test.ppd"), "-o", "print-scaling-default=fit"}) == 0 &&
            Run({"lpadmin", "-d", "Test"}) == 0;
        return ready ? QString() : "no private print scheduler with a queue: " + Log();
    }

    // Waits for the job to leave the queue and rasterises its first page; null if it does not.
    QImage ReadBack(int dpi) {
        const bool done = QTest::qWaitFor(
            [this] {
                cups_job_t* jobs = nullptr;
                const int active = cupsGetJobs(&jobs, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
                cupsFreeJobs(active, jobs);
                return active == 0 && QFileInfo(Path("page.ps")).size() > 0;
            },
            30000);
        if (!done || QProcess::execute(
                         Find("gs"), {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-dLastPage=1",
                                      "-sDEVICE=png16m", QString("-r%1").arg(dpi),
                                      "-sOutputFile=" + Path("page.png"), Path("page.ps")}) != 0) {
            qWarning("%s", qPrintable(Log()));
            return {};
        }
        return QImage(Path("page.png"));
    }

  private slots:
    void initTestCase() {
        const QString why = Start();
        if (!why.isEmpty()) {
            g_skipped = true;
            QSKIP(qPrintable(why));
        }
    }

    void cleanupTestCase() {
        cupsd_.terminate();
        cupsd_.waitForFinished(5000);
    }

    // The print dialog starts on the queue's default printer, though it has a file name ready
    // for "Print to File" (which PrintSystemTest checks).
    void theDialogStartsOnTheDefaultPrinter() {
        QPrinter printer(QPrinter::HighResolution);
        PrepareDialogPrinter(printer);
        QCOMPARE(printer.outputFormat(), QPrinter::NativeFormat);
        QPrintDialog dialog(&printer);
        auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
        QVERIFY(printers != nullptr);
        QCOMPARE(printers->currentText(), QStringLiteral("Test"));
    }

    // The check bar of the 1:1 template comes out of the queue 100 mm long, though the queue
    // would fit the page to the paper: the job asks for no scaling, or the bar would be shorter
    // and elsewhere on the page.
    void printsTheTemplateUnscaled() {
        TemplateInput input;
        input.converters = {{"E 36.0", {0.0, 0.0}, 50.0, 0.0}};
        const PrintResult result = SystemPrinter().PrintTemplatePages(input, "Шаблон 1:1");
        QVERIFY2(result.ok, qPrintable(result.reason));
        const QImage page = ReadBack(254);  // ten pixels a millimetre
        QVERIFY(!page.isNull());
        // The footer above the 12-point bottom margin, less the millimetre of the frame's line.
        const int top =
            page.height() - static_cast<int>((12 / 72.0 * 25.4 + kTemplateFooterMm - 1) * 10);
        int longest = 0;
        for (int y = top; y < page.height(); ++y) {
            int run = 0;
            for (int x = 0; x < page.width(); ++x) {
                run = qGray(page.pixel(x, y)) < 128 ? run + 1 : 0;
                longest = qMax(longest, run);
            }
        }
        // The bar plus half a tick's width at each end: 100.2 mm.
        QVERIFY2(qAbs(longest / 10.0 - kCheckBarMm) < 0.5, qPrintable(QString::number(longest)));
    }

    // Runs last: the rows after the first leave the queue unusable.
    void printsTheEnlargedWindowOrFailsOnce_data() {
        QTest::addColumn<QStringList>("admin");
        QTest::addColumn<QString>("reason");  ///< the line under the failure message
        QTest::newRow("printed") << QStringList{} << QString();
        QTest::newRow("queue refusing jobs")
            << QStringList{"cupsreject", "Test"} << QStringLiteral("очередь не принимает задания");
        QTest::newRow("no printer at all")
            << QStringList{"lpadmin", "-x", "Test"} << QStringLiteral("нет принтера по умолчанию");
    }

    void printsTheEnlargedWindowOrFailsOnce() {
        QFETCH(QStringList, admin);
        QFETCH(QString, reason);
        QVERIFY(admin.isEmpty() || Run(admin) == 0);
        QFile::remove(Path("page.ps"));
        SystemPrinter printer;
        testing_support::WindowFixture fixture(
            testing_support::SampleFile({"36;0;E;Eutelsat 36B;;;", "13;0;E;Hot Bird 13;;;"}),
            nullptr, &printer);
        MainWindow& main = fixture.Window();
        main.show();
        testing_support::Choose(main, 0, 0);
        testing_support::Choose(main, 1, 1);
        QTest::mouseClick(Find<QPushButton>(main, "cmdPrint"), Qt::LeftButton);
        QCOMPARE(main.OuterHeightTw(), MainWindow::kNormalOuterHeightTw);
        QVERIFY(Find<QLabel>(main, "Label10")->isHidden());
        const auto& messages = fixture.Notifier().messages;
        if (!admin.isEmpty()) {
            QCOMPARE(messages.size(), size_t{1});
            QCOMPARE(messages[0].text, QString("Печать невозможна!"));
            QCOMPARE(messages[0].detail, reason);
            QVERIFY(!QFile::exists(Path("page.ps")));
            return;
        }
        QCOMPARE(messages.size(), size_t{0});
        const QImage page = ReadBack(100);
        QVERIFY(!page.isNull());
        const int white = Count(page, page.rect(), qRgb(255, 255, 255));
        QVERIFY2(white < page.width() * page.height() * 3 / 4, "the page is nearly blank");
        // The window, 11355 x 10965 twips while printing, fitted into A4 less 12-point margins at
        // 100 dpi; the banner Label10 at 240, 840 in Frame4 at 120, 5640.
        const double pxPerPt = 100.0 / 72.0;
        const QRectF client = FitToArea(
            QSizeF(11355, 10965), QRectF(12 * pxPerPt, 12 * pxPerPt, 571 * pxPerPt, 818 * pxPerPt));
        const double pxPerTw = client.width() / 11355;
        const QRectF half(client.left() + 360 * pxPerTw, client.top() + 6480 * pxPerTw,
                          10695 / 2 * pxPerTw, 1575 * pxPerTw);
        for (const QRectF& area : {half, half.translated(half.width(), 0)}) {
            const int green = Count(page, area.toRect(), qRgb(0, 192, 0));
            QVERIFY2(green > 300,
                     qPrintable(QString("%1 pixels of the banner's green").arg(green)));
        }
    }
};

}  // namespace palquin

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    palquin::CupsPrintTest test;
    const int failures = QTest::qExec(&test, argc, argv);
    return failures == 0 && palquin::g_skipped ? 77 : failures;
}

#include "cups_print_test.moc"
