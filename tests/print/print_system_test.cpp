// SPDX-License-Identifier: GPL-3.0-or-later
// Where printing meets the system: a print server that takes the connection and never answers
// (a loopback socket of the test's own as CUPS_SERVER), no server at all, and "Print to File"
// over a FIFO, a device node, a hard-linked file. Nothing here waits on the print dialog: a
// dialog that opens is closed at once and counted.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "common/window_fixture.h"
#include "print/print_server.h"
#include "print/system_printer.h"
#include "print/template_input.h"

using palquin::testing_support::Find;

namespace palquin {

class PrintSystemTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    int silent_ = -1;  ///< listens on loopback, never accepts, never answers
    QByteArray silentAddress_;
    int dialogs_ = 0;
    QString answerWithFile_;  ///< the dialog is answered "Print to File" with this; empty: Cancel

    QString Path(const QString& name) const { return dir_.filePath(name); }

    // The print system of the process is the one named here, none by default, with no user
    // defaults.
    void UseServer(const QByteArray& server = {}) {
        qputenv("CUPS_SERVER", server.isEmpty() ? Path("no-such.sock").toLocal8Bit() : server);
        qputenv("HOME", dir_.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", Path("config").toLocal8Bit());
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
    }

  private slots:
    void initTestCase() {
        silent_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        QVERIFY(silent_ >= 0);
        QVERIFY(::bind(silent_, reinterpret_cast<sockaddr*>(&address), size) == 0);
        QVERIFY(::listen(silent_, 64) == 0);
        QVERIFY(::getsockname(silent_, reinterpret_cast<sockaddr*>(&address), &size) == 0);
        silentAddress_ = "127.0.0.1:" + QByteArray::number(ntohs(address.sin_port));
        // A print dialog that opens anyway is closed again, so that the test goes on to fail.
        auto* closer = new QTimer(this);
        connect(closer, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            ++dialogs_;
            auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
            auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            if (answerWithFile_.isEmpty() || printers == nullptr || file == nullptr) {
                dialog->reject();
                return;
            }
            printers->setCurrentIndex(printers->count() - 1);  // "Print to File (PDF)"
            file->setText(answerWithFile_);
            for (auto* buttons : dialog->findChildren<QDialogButtonBox*>()) {
                for (QAbstractButton* button : buttons->buttons()) {
                    if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
                        button->click();  // OK, as the user presses it
                        return;
                    }
                }
            }
            dialog->reject();
        });
        closer->start(50);
    }

    void cleanupTestCase() { ::close(silent_); }

    // Every road to the print system says within seconds that the server does not answer, in
    // the line under the one failure message; no dialog opens and the window is back to normal.
    void aSilentServerIsReported_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("reason");
        const QString silent = QStringLiteral("сервер печати не отвечает");
        QTest::newRow("Print button") << "cmdPrint" << silent;
        QTest::newRow("File menu, печать") << "mnuPrint" << silent;
        QTest::newRow("File menu, template") << "mnuTemplate" << silent;
        // Without any server the dialog may open (it offers a PDF file); a job cannot go.
        QTest::newRow("no server, Print button") << "cmdPrint" << silent;
        QTest::newRow("no server, File menu, печать") << "mnuPrint" << QString();
    }
    void aSilentServerIsReported() {
        QFETCH(QString, road);
        QFETCH(QString, reason);
        const bool noServer = QString(QTest::currentDataTag()).startsWith("no server");
        UseServer(noServer ? QByteArray() : silentAddress_);
        SystemPrinter printer;
        testing_support::WindowFixture fixture(
            testing_support::SampleFile({"36;0;E;Eutelsat 36B;;;"}), nullptr, &printer);
        MainWindow& main = fixture.Window();
        main.show();
        testing_support::Choose(main, 0, 0);
        dialogs_ = 0;
        if (road == "cmdPrint") {
            QTest::mouseClick(Find<QPushButton>(main, road), Qt::LeftButton);
        } else {
            Find<QAction>(main, road)->trigger();
        }
        const auto& messages = fixture.Notifier().messages;
        if (reason.isEmpty()) {
            QCOMPARE(dialogs_, 1);
            QCOMPARE(messages.size(), size_t{0});
            return;
        }
        QCOMPARE(dialogs_, 0);
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(messages[0].text, QStringLiteral("Печать невозможна!"));
        QCOMPARE(messages[0].detail, reason);
        QCOMPARE(main.OuterHeightTw(), MainWindow::kNormalOuterHeightTw);
        QVERIFY(Find<QLabel>(main, "Label10")->isHidden());
    }

    // "Print to File" goes through the program's file layer: a FIFO or a device is refused with
    // its reason and stays what it was, a hard link stays one file, a new file gets the page.
    // From File → печать the dialog never opens the file (that hangs on a FIFO); an existing file
    // would make the dialog ask before replacing it, so the hard link is printed to directly.
    void printToFileKeepsWhatIsThere_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("new file") << "new";
        QTest::newRow("hard link") << "link";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("copy of /dev/full") << "device";
    }
    void printToFileKeepsWhatIsThere() {
        QFETCH(QString, kind);
        UseServer();
        const QString target = Path("out-" + kind + ".pdf");
        const QByteArray name = QFile::encodeName(target);
        const QByteArray other = QFile::encodeName(Path("other-" + kind));
        QFile::remove(target);
        QFile::remove(other);
        if (kind == "link") {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
            old.close();
            QVERIFY(::link(name.constData(), other.constData()) == 0);
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(name.constData(), 0644) == 0);
        } else if (kind == "device" && ::mknod(name.constData(), S_IFCHR | 0666, ::makedev(1, 7))) {
            QSKIP(qPrintable("mknod is not permitted here: " + QString(strerror(errno))));
        }
        struct stat before {};
        QVERIFY(kind == "new" || ::stat(name.constData(), &before) == 0);
        std::vector<testing_support::RecordingNotifier::Message> messages;
        if (kind == "link") {
            TemplateInput input;
            input.converters = {{"E 36.0", {0.0, 0.0}, 50.0, 0.0}};
            SystemPrinter printer(PrintDestination{
                .kind = PrintDestination::Kind::PdfFile, .name = target, .layout = {}});
            const PrintResult result = printer.PrintTemplatePages(input, "Шаблон 1:1");
            QVERIFY2(result.ok, qPrintable(result.reason));
        } else {
            SystemPrinter printer;
            testing_support::WindowFixture fixture(
                testing_support::SampleFile({"36;0;E;Eutelsat 36B;;;"}), nullptr, &printer);
            fixture.Window().show();
            dialogs_ = 0;
            answerWithFile_ = target;
            Find<QAction>(fixture.Window(), "mnuPrint")->trigger();
            answerWithFile_.clear();
            QCOMPARE(dialogs_, 1);
            messages = fixture.Notifier().messages;
        }
        struct stat after {};
        QVERIFY(::stat(name.constData(), &after) == 0);
        if (kind == "new" || kind == "link") {
            QCOMPARE(messages.size(), size_t{0});
            QFile pdf(kind == "link" ? other : name);
            QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.readAll().startsWith("%PDF-"));
            QVERIFY(kind == "new" || (after.st_ino == before.st_ino && after.st_nlink == 2));
            return;
        }
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(messages[0].text, QStringLiteral("Печать невозможна!"));
        QVERIFY(!messages[0].detail.isEmpty());
        QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
        QCOMPARE(after.st_rdev, before.st_rdev);
    }

    // The dialog's "Print to File" offers palquin.pdf where the user keeps documents, else in
    // the home folder, never the program's hidden data folder.
    void theDialogOffersAFileTheUserFinds_data() {
        QTest::addColumn<bool>("documents");
        QTest::newRow("documents folder") << true;
        QTest::newRow("no documents folder") << false;
    }
    void theDialogOffersAFileTheUserFinds() {
        QFETCH(bool, documents);
        UseServer();
        QDir(Path("Documents")).removeRecursively();
        QVERIFY(!documents || QDir(dir_.path()).mkpath("Documents"));
        QPrinter printer(QPrinter::HighResolution);
        PrepareDialogPrinter(printer);
        QPrintDialog dialog(&printer);
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
        QVERIFY(name != nullptr);
        QCOMPARE(name->text(), Path(documents ? "Documents/palquin.pdf" : "palquin.pdf"));
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::PrintSystemTest)
#include "print_system_test.moc"
