// SPDX-License-Identifier: GPL-3.0-or-later
// The file menu's "Шаблон 1:1" and "печать": the print dialog answered by a recorder, the pages
// written by the production printer into a PDF file and read back with poppler's pdftotext.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "common/window_fixture.h"
#include "print/system_printer.h"
#include "ui/print_failure.h"
#include "ui/template_menu.h"

using namespace palquin::testing_support;

namespace palquin {

// The print dialog answered without showing it: accepted means "print to this PDF file".
struct PdfAnsweringPrinter : SystemPrinter {
    PdfAnsweringPrinter(const QString& pdf, bool accepts)
        : SystemPrinter({.kind = PrintDestination::Kind::PdfFile, .name = pdf, .layout = {}}),
          accept(accepts) {}
    // The print system is never asked: these rows are about the pages.
    PrintResult CheckBeforeDialog() override { return {true, QString()}; }
    bool ChooseDestination(QWidget* /*parent*/) override {
        ++dialogs;
        return accept;
    }
    bool accept;
    int dialogs = 0;
};

class TemplateMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void printsTheLayoutAfterTheDialog_data() {
        QTest::addColumn<bool>("templateItem");  // else "печать"
        QTest::addColumn<bool>("accept");
        // The one message expected, if any; it names what goes wrong: nothing calculated yet, or
        // a PDF file in a folder that does not exist.
        QTest::addColumn<QString>("message");
        QTest::newRow("template") << true << true << QString();
        QTest::newRow("template, cancelled") << true << false << QString();
        QTest::newRow("template, nothing calculated yet") << true << true << kNothingToPrintMessage;
        QTest::newRow("template, file cannot be written") << true << true << kPrintFailedMessage;
        QTest::newRow("window") << false << true << QString();
        QTest::newRow("window, cancelled") << false << false << QString();
        QTest::newRow("window, file cannot be written") << false << true << kPrintFailedMessage;
    }
    void printsTheLayoutAfterTheDialog() {
        QFETCH(bool, templateItem);
        QFETCH(bool, accept);
        QFETCH(QString, message);
        const bool calculate = message != kNothingToPrintMessage;
        QTemporaryDir out;
        const QString pdf =
            out.filePath(message == kPrintFailedMessage ? "no such folder/t.pdf" : "t.pdf");
        PdfAnsweringPrinter printer(pdf, accept);
        WindowFixture fixture(SampleFile({"36;0;E;Eutelsat 36B;;;", "13;0;E;Hot Bird 13;;;"}),
                              nullptr, &printer);
        MainWindow& main = fixture.Window();
        COMPARE_TEXT(main, "mnuTemplate", "Шаблон 1:1");
        QVERIFY(
            Find<QMenu>(main, "mnuFile")->actions().contains(Find<QAction>(main, "mnuTemplate")));
        if (calculate) {
            Choose(main, 0, 0);  // 36 E in the centre
            Choose(main, 2, 1);  // 13 E in slot 2
            // Edited after the calculation, without Ok: the page shows the layout as drawn, and
            // its header the site and focal length that layout was calculated from.
            Find<QLineEdit>(main, "fokus")->setText("900");
            Find<QLineEdit>(main, "sh")->setText("50");
        }
        const QSize before = main.size();
        Find<QAction>(main, templateItem ? "mnuTemplate" : "mnuPrint")->trigger();
        QCOMPARE(printer.dialogs, calculate ? 1 : 0);  // nothing to print: no dialog
        const auto& messages = fixture.Notifier().messages;
        QCOMPARE(messages.size(), size_t{!message.isEmpty()});
        QVERIFY(message.isEmpty() || messages[0].text == message);
        QCOMPARE(main.size(), before);
        QVERIFY(Find<QLabel>(main, "Label10")->isHidden());
        const bool written = accept && message.isEmpty();
        QCOMPARE(QFile::exists(pdf), written);
        if (!written) {
            return;
        }
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed; the PDF cannot be read back");
        }
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(60000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        // The template's labels; the window's banner and the lower panel, there only on paper.
        const QStringList phrases = templateItem
                                        ? QStringList{"E 36.0", "E 13.0", "проверьте: 100 мм",
                                                      "место: 55.75 N 37.6 E", "фокус: 600 мм"}
                                        : QStringList{"Расчет мультифида", "181.9°"};
        for (const QString& phrase : phrases) {
            QVERIFY2(text.contains(phrase), qPrintable(phrase + " not in: " + text));
        }
        QVERIFY2(!templateItem || (!text.contains("900") && !text.contains("место: 50 ")),
                 qPrintable("the fields' site or focal length in: " + text));
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::TemplateMenuTest)
#include "template_menu_test.moc"
