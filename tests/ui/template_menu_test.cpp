// The menu item "Шаблон 1:1": the print dialog answered by a recorder, the template written by
// the production printer into a PDF file and read back with poppler's pdftotext.
#include <QAction>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "print/system_printer.h"
#include "ui/print_failure.h"
#include "ui/template_menu.h"
#include "window_fixture.h"

namespace palquin {
namespace {

PrintDestination PdfFile(const QString& path) {
    PrintDestination destination;
    destination.kind = PrintDestination::Kind::PdfFile;
    destination.name = path;
    return destination;
}

// The print dialog answered without showing it: accepted means "print to this PDF file". The
// pages are drawn and delivered by the production printer.
class PdfAnsweringPrinter : public Printer {
  public:
    PdfAnsweringPrinter(const QString& pdf, bool accept) : accept_(accept), system_(PdfFile(pdf)) {}
    bool ChooseDestination(QWidget* /*parent*/) override {
        ++dialogs;
        return accept_;
    }
    PrintResult PrintWidget(QWidget& widget, const QString& jobTitle) override {
        return system_.PrintWidget(widget, jobTitle);
    }
    PrintResult PrintTemplatePages(const TemplateInput& input, const QString& jobTitle) override {
        ++templates;
        return system_.PrintTemplatePages(input, jobTitle);
    }
    int dialogs = 0;
    int templates = 0;

  private:
    bool accept_;
    SystemPrinter system_;
};

QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class TemplateMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void printsTheLayoutAfterTheDialog_data();
    void printsTheLayoutAfterTheDialog();
};

void TemplateMenuTest::printsTheLayoutAfterTheDialog_data() {
    QTest::addColumn<bool>("calculate");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("pdfName");  // relative to a temporary folder
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QString>("message");  // the one message expected, if any
    QTest::addColumn<bool>("written");
    QTest::newRow("printed") << true << true << "t.pdf" << 1 << QString() << true;
    QTest::newRow("cancelled") << true << false << "t.pdf" << 1 << QString() << false;
    QTest::newRow("nothing calculated yet")
        << false << true << "t.pdf" << 0 << kNothingToPrintMessage << false;
    QTest::newRow("file cannot be written")
        << true << true << "no such folder/t.pdf" << 1 << kPrintFailedMessage << false;
}

void TemplateMenuTest::printsTheLayoutAfterTheDialog() {
    QFETCH(bool, calculate);
    QFETCH(bool, accept);
    QFETCH(QString, pdfName);
    QFETCH(int, dialogs);
    QFETCH(QString, message);
    QFETCH(bool, written);

    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("satellite.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(testing::SampleFile({"36;0;E;Eutelsat 36B;;;", "13;0;E;Hot Bird 13;;;"}).c_str());
    file.close();
    const QString pdf = folder.filePath(pdfName);
    PdfAnsweringPrinter printer(pdf, accept);
    testing::RecordingNotifier notifier;
    MainWindowSetup setup;
    setup.folder = folder.path().toStdString();
    setup.notifier = &notifier;
    setup.printer = &printer;
    setup.reportPath = folder.filePath(QStringLiteral("printOut.txt")).toStdString();
    frmMain main(setup);
    main.show();
    if (calculate) {
        testing::Choose(main, 0, 0);  // 36 E in the centre
        testing::Choose(main, 2, 1);  // 13 E in slot 2
        QVERIFY(main.Layout().SlotMm(2).has_value());
    }
    QCOMPARE(notifier.messages.size(), size_t{0});

    main.mnuTemplate->trigger();

    QCOMPARE(printer.dialogs, dialogs);
    const auto& messages = notifier.messages;
    QCOMPARE(messages.size(), message.isEmpty() ? size_t{0} : size_t{1});
    if (!message.isEmpty()) {
        QCOMPARE(messages[0].text, message);
        QCOMPARE(messages[0].title, kAppTitle);
    }
    QCOMPARE(QFile::exists(pdf), written);
    if (!written) {
        return;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QSKIP("pdftotext (poppler-utils) is not installed; the PDF cannot be read back");
    }
    const QString text = PdfText(pdf);
    for (const char* phrase :
         {"E 36.0", "E 13.0", "проверьте: 100 мм", "место: 55.75 N 37.6 E", "фокус: 600 мм"}) {
        QVERIFY2(text.contains(QString::fromUtf8(phrase)), qPrintable(text));
    }
}

}  // namespace palquin

QTEST_MAIN(palquin::TemplateMenuTest)
#include "template_menu_test.moc"
