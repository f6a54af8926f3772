// The links window: filled from the slot's links at each opening, the hover colour, and a click
// handing the whole link over, once to a recorder and once to a stub xdg-open first on PATH.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "core/desktop_open.h"
#include "ui/link_opener.h"
#include "ui/links_window.h"
#include "window_fixture.h"

namespace palquin {
namespace {

using testing::Choose;
using testing::SampleFile;
using testing::WindowFixture;

struct RecordingOpener : LinkOpener {
    void Open(const QString& text) override { opened.append(text); }
    QStringList opened;
};

// Clicks the slot's heading and returns the links window that opened.
http* OpenLinks(frmMain& window, int slot) {
    QTest::mouseClick(window.Label1[static_cast<size_t>(slot)], Qt::LeftButton);
    return window.findChild<http*>();
}

void CloseLinks(http* links) {
    links->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class LinksWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheSlotsLinksAtEachOpening() {
        // Rows: 0 with three links, 1 with none, 2 with an empty third link.
        WindowFixture fixture(SampleFile({"13;0;E;Hot Bird;https://a.example/one;docs/two.pdf;3",
                                          "19;2;E;Astra;;;", "36;0;E;Eutelsat;x;y;"}));
        frmMain& w = fixture.Window();
        Choose(w, 0, 1);  // a central satellite first: without it no slot is calculated
        QLineEdit* edit = w.Combo1[3]->lineEdit();
        struct Step {
            std::function<void()> act;
            int slot;
            QStringList expected;
        };
        const Step steps[] = {
            {[] {}, 3, {"", "", ""}},
            {[&] { Choose(w, 3, 0); }, 3, {"https://a.example/one", "docs/two.pdf", "3"}},
            {[] {}, 4, {"", "", ""}},
            {[&] { Choose(w, 3, 2); }, 3, {"x", "y", ""}},
            {[&] { Choose(w, 3, 1); }, 3, {"", "", ""}},
            {[&] {
                 edit->selectAll();
                 QTest::keyClick(edit, Qt::Key_Delete);
             },
             3,
             {"", "", ""}},
        };
        for (const Step& step : steps) {
            step.act();
            http* links = OpenLinks(w, step.slot);
            QVERIFY(links != nullptr && links->isModal());
            QCOMPARE(linkSlot, step.slot);
            QStringList shown;
            for (const QLabel* label : links->Label1) {
                shown.append(label->text());
            }
            QCOMPARE(shown, step.expected);
            CloseLinks(links);
            QCOMPARE(linkSlot, 0);
            QCOMPARE(w.findChild<http*>(), nullptr);
        }
    }

    // Nothing watches the background: the last label touched stays yellow.
    void hoverLeavesTheLastLabelYellow() {
        http links({"a", "b", "c"}, nullptr);
        links.show();
        const auto colours = [&links] {
            QString seen;
            for (const QLabel* label : links.Label1) {
                const QColor c = label->palette().color(QPalette::WindowText);
                seen += c == QColor(255, 255, 0) ? u'Y' : c == QColor(0, 0, 255) ? u'B' : u'?';
            }
            return seen;
        };
        QCOMPARE(colours(), QStringLiteral("BBB"));
        QTest::mouseMove(links.Label1[0]);
        QCOMPARE(colours(), QStringLiteral("YBB"));
        QTest::mouseMove(links.Label1[2]);
        QCOMPARE(colours(), QStringLiteral("BBY"));
        QTest::mouseMove(&links, QPoint(1, 1));  // the background
        QCOMPARE(colours(), QStringLiteral("BBY"));
    }

    // The label shows "<b>x</b>" as it stands and the start of a long link; a click hands over
    // the whole text, blanks included; an empty line opens nothing and the window stays.
    void clickOpensTheWholeText() {
        RecordingOpener opener;
        const QString longLink = QStringLiteral("https://a.example/a b ") + QString(5000, u'q');
        WindowFixture fixture(SampleFile({"13;0;E;Sat;<b>x</b>;" + longLink.toStdString() + ";"}),
                              &opener);
        Choose(fixture.Window(), 0, 0);
        http* links = OpenLinks(fixture.Window(), 0);
        QVERIFY(links != nullptr);
        QCOMPARE(links->Label1[0]->text(), QStringLiteral("<b>x</b>"));
        QCOMPARE(links->Label1[0]->textFormat(), Qt::PlainText);
        for (QLabel* label : links->Label1) {
            QTest::mouseClick(label, Qt::LeftButton);
        }
        QCOMPARE(opener.opened, QStringList({QStringLiteral("<b>x</b>"), longLink}));
        QVERIFY(links->isVisible());
        CloseLinks(links);
    }

    // The real handler: a stub xdg-open records the bytes of its arguments, each ending in NUL.
    void handlerGetsTheTextAsOneArgument_data() {
        QTest::addColumn<QByteArray>("link");      // as written in satellite.txt (Windows-1251)
        QTest::addColumn<QByteArray>("argument");  // as the handler must receive it (UTF-8)
        QTest::newRow("cyrillic") << QByteArray("https://\xef\xf0\xe8\xec\xe5\xf0.\xf0\xf4/\xef")
                                  << QByteArray("https://пример.рф/п");
        const QByteArray shell = "docs/a b  c?a=1&b=%41%20\"'`d\\e$(touch x) && touch x | touch x";
        QTest::newRow("blanks, quotes, escapes and shell syntax") << shell << shell;
    }
    void handlerGetsTheTextAsOneArgument() {
        QFETCH(QByteArray, link);
        QFETCH(QByteArray, argument);
        QTemporaryDir stub;
        const QString record = stub.filePath(QStringLiteral("record"));
        QFile script(stub.filePath(QStringLiteral("xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        // The record appears whole, by a rename, when the stub ends.
        script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done "
                                    "> '%1.tmp' && mv '%1.tmp' '%1'\n")
                         .arg(record)
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", stub.path().toUtf8() + ":" + oldPath);
        auto restore = qScopeGuard([&] { qputenv("PATH", oldPath); });

        DesktopLinkOpener opener;
        WindowFixture fixture(SampleFile({"13;0;E;Sat;" + link.toStdString() + ";;"}), &opener);
        Choose(fixture.Window(), 0, 0);
        http* links = OpenLinks(fixture.Window(), 0);
        QVERIFY(links != nullptr);
        QTest::mouseClick(links->Label1[0], Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 30000);
        QFile recorded(record);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        QCOMPARE(recorded.readAll(), argument + '\0');
        // Nothing ran the text as a command, here or in the program's folder.
        QCOMPARE(QDir(QString::fromStdString(fixture.FolderPath())).entryList(QDir::Files),
                 QStringList({QStringLiteral("satellite.txt")}));
        QVERIFY(!QFile::exists(stub.filePath(QStringLiteral("x"))));
        CloseLinks(links);

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
