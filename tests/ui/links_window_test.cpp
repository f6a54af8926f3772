// SPDX-License-Identifier: GPL-3.0-or-later
// The links window: filled from the slot's links at each opening, the hover colour, and a click
// handing the whole link over, to a recorder and to a stub xdg-open first on PATH.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <fstream>

#include "common/window_fixture.h"
#include "platform/desktop_open.h"
#include "ui/link_opener.h"
#include "ui/links_window.h"

using namespace palquin::testing_support;

namespace palquin {
namespace {

// Y for the hover colour, B for the link colour.
QString Colours(const LinksDialog& links) {
    QString seen;
    for (const QLabel* label : links.linkLabels) {
        const QColor c = label->palette().color(QPalette::WindowText);
        seen += c == QColor(255, 255, 0) ? u'Y' : c == QColor(0, 0, 255) ? u'B' : u'?';
    }
    return seen;
}

}  // namespace

class LinksWindowTest : public QObject {
    Q_OBJECT
  private slots:
    // Each opening shows the slot's links as they are then, "<b>x</b>" as it stands and a long
    // link by its start; the last line the mouse touched is yellow; a left click hands over the
    // whole text, an empty line nothing, a right or middle click nothing at all.
    void showsTheSlotsLinksAtEachOpening() {
        RecordingOpener opener;
        const QString longLink = QStringLiteral("https://a.example/a b ") + QString(5000, u'q');
        WindowFixture fixture(
            SampleFile({"13;0;E;Hot Bird;<b>x</b>;" + longLink.toStdString() + ";3",
                        "19;2;E;Astra;;;", "36;0;E;Eutelsat;x;y;"}),
            &opener);
        MainWindow& w = fixture.Window();
        // A central satellite first: without it no slot is calculated.
        Choose(w, 0, 1);
        struct Step {
            std::function<void()> act;
            int slot;
            QStringList expected;
        };
        const Step steps[] = {
            {[&] { Choose(w, 3, 0); }, 3, {"<b>x</b>", longLink, "3"}},
            {[] {}, 4, {"", "", ""}},
            {[&] { Choose(w, 3, 2); }, 3, {"x", "y", ""}},
            {[&] {
                 QLineEdit* line = Find<QComboBox>(w, "Combo1", 3)->lineEdit();
                 line->selectAll();
                 QTest::keyClick(line, Qt::Key_Delete);
             },
             3,
             {"", "", ""}},
        };
        for (const Step& step : steps) {
            step.act();
            QTest::mouseClick(Find<QLabel>(w, "Label1", step.slot), Qt::LeftButton);
            LinksDialog* links = w.findChild<LinksDialog*>();
            QVERIFY(links != nullptr && links->isModal());
            QCOMPARE(links->Slot(), step.slot);
            QCOMPARE(Colours(*links), QStringLiteral("BBB"));
            QTest::mouseMove(links->linkLabels[1]);
            QTest::mouseMove(links->linkLabels[0]);
            QTest::mouseMove(links, QPoint(1, 1));  // nothing watches the background
            QCOMPARE(Colours(*links), QStringLiteral("YBB"));
            for (size_t k = 0; k < links->linkLabels.size(); ++k) {
                QLabel* label = links->linkLabels[k];
                QCOMPARE(label->textFormat(), Qt::PlainText);
                QCOMPARE(label->text().isEmpty(), step.expected[k].isEmpty());
                QVERIFY(step.expected[k].startsWith(label->text()));
                // Only the left button opens: the others do nothing.
                QTest::mouseClick(label, Qt::RightButton);
                QTest::mouseClick(label, Qt::MiddleButton);
                QCOMPARE(opener.opened, QStringList());
                QTest::mouseClick(label, Qt::LeftButton);
                QCOMPARE(opener.opened.join(u'|'), step.expected[k]);  // one text or none
                opener.opened.clear();
            }
            QVERIFY(links->isVisible());
            links->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(w.findChild<LinksDialog*>(), nullptr);
        }
    }

    // The real handler: a stub xdg-open first on PATH records the bytes of its arguments, each
    // ending in NUL; the record appears whole, by a rename, when the stub ends.
    void handlerGetsTheTextAsOneArgument() {
        QTemporaryDir stub;
        QDir::setCurrent(stub.path());  // where a shell would run "touch x"
        const QString script = stub.filePath(QStringLiteral("xdg-open"));
        std::ofstream(script.toStdString())
            << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done >\"$0.tmp\" &&\n"
               "mv \"$0.tmp\" \"$0.record\"\n";
        QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
        QFile record(script + QStringLiteral(".record"));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", stub.path().toUtf8() + ":" + oldPath);
        auto restore = qScopeGuard([&] { qputenv("PATH", oldPath); });
        DesktopLinkOpener opener;
        // A relative link that starts with "-" would be an option to xdg-open: it goes as the
        // same path from the current folder.
        const std::pair<QString, QString> handed[] = {
            {QStringLiteral("https://пример.рф/п"), QStringLiteral("https://пример.рф/п")},
            {QStringLiteral("docs/a b  c?a=1&b=%41%20\"'`d\\e$(touch x) && touch x | touch x"), {}},
            {QStringLiteral("--help"), QStringLiteral("./--help")},
            {QStringLiteral("-x.pdf"), QStringLiteral("./-x.pdf")},
            {QStringLiteral("a-b"), {}},
        };
        for (const auto& [link, expected] : handed) {
            LinksDialog links(0, {link}, &opener);
            links.show();
            QTest::mouseClick(links.linkLabels[0], Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(record.exists(), 30000);
            QVERIFY(record.open(QIODevice::ReadOnly));
            QCOMPARE(record.readAll(), (expected.isEmpty() ? link : expected).toUtf8() + '\0');
            QVERIFY(record.remove());
        }
        // Nothing ran the text as a command.
        QVERIFY(!QFile::exists(stub.filePath(QStringLiteral("x"))));
        // Without a handler on PATH, or with no text to hand over, nothing opens.
        qputenv("PATH", stub.filePath(QStringLiteral("none")).toUtf8());
        QVERIFY(!OpenWithDesktop("https://a.example/"));
        qputenv("PATH", oldPath);
        QVERIFY(!OpenWithDesktop(""));
        QVERIFY(!OpenWithDesktop(std::string_view("a\0b", 3)));
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::LinksWindowTest)
#include "links_window_test.moc"
