// The links window: filled from the slot's links, the hover colours, and a click handing the
// link to the desktop, once to a recorder and once to a stub xdg-open first on PATH.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include "core/desktop_open.h"
#include "ui/link_opener.h"
#include "ui/links_window.h"
#include "window_fixture.h"

using palquin::frmMain;
using palquin::http;
using palquin::linkSlot;
using palquin::testing::Choose;
using palquin::testing::SampleFile;
using palquin::testing::WindowFixture;

namespace {

class RecordingOpener : public palquin::LinkOpener {
  public:
    void Open(const QString& text) override { opened.append(text); }
    QStringList opened;
};

// Catalogue rows: 0 with three links, 1 with empty links, 2 with an empty third link.
const std::vector<std::string> kEntries = {
    "13;0;E;Hot Bird;https://a.example/one;docs/two.pdf;three",
    "19;2;E;Astra;;;",
    "36;0;E;Eutelsat;x;y;",
};

void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void MoveOver(QWidget* widget) {
    const QPointF at = widget->rect().center();
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Clicks the slot's heading and returns the links window that opened.
http* OpenLinks(frmMain& window, int slot) {
    Click(window.Label1[static_cast<size_t>(slot)]);
    return window.findChild<http*>();
}

void CloseLinks(http* links) {
    links->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList Shown(const http& links) {
    QStringList texts;
    for (const QLabel* label : links.Label1) {
        texts.append(label->text());
    }
    return texts;
}

QString Colours(const http& links) {
    QString colours;
    for (const QLabel* label : links.Label1) {
        const QColor c = label->palette().color(QPalette::WindowText);
        colours += c == QColor(255, 255, 0) ? u'Y' : c == QColor(0, 0, 255) ? u'B' : u'?';
    }
    return colours;
}

}  // namespace

class LinksWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheSlotsLinksAtEachOpening() {
        WindowFixture fixture(SampleFile(kEntries));
        frmMain& w = fixture.Window();
        Choose(w, 0, 1);  // a central satellite first: without it no slot is calculated

        struct Step {
            const char* what;
            std::function<void()> act;
            int slot;
            QStringList expected;
        };
        const std::vector<Step> steps = {
            {"slot without a choice", [] {}, 3, {"", "", ""}},
            {"three links",
             [&] { Choose(w, 3, 0); },
             3,
             {"https://a.example/one", "docs/two.pdf", "three"}},
            {"another slot stays empty", [] {}, 4, {"", "", ""}},
            {"a new choice brings its links", [&] { Choose(w, 3, 2); }, 3, {"x", "y", ""}},
            {"empty links", [&] { Choose(w, 3, 1); }, 3, {"", "", ""}},
            {"cleared by the user",
             [&] {
                 w.Combo1[3]->lineEdit()->selectAll();
                 QTest::keyClick(w.Combo1[3]->lineEdit(), Qt::Key_Delete);
             },
             3,
             {"", "", ""}},
        };
        for (const Step& step : steps) {
            step.act();
            http* links = OpenLinks(w, step.slot);
            QVERIFY2(links != nullptr, step.what);
            QCOMPARE(linkSlot, step.slot);
            QVERIFY2(Shown(*links) == step.expected,
                     qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(step.what),
                                                             Shown(*links).join(u'|'))));
            QVERIFY(links->isModal());
            CloseLinks(links);
            QCOMPARE(linkSlot, 0);
            QVERIFY(w.findChild<http*>() == nullptr);
        }
    }

    void hoverLeavesTheLastLabelYellow() {
        http links({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, nullptr);
        QCOMPARE(links.windowTitle(), QStringLiteral("Ссылки"));
        QCOMPARE(Colours(links), QStringLiteral("BBB"));
        MoveOver(links.Label1[0]);
        QCOMPARE(Colours(links), QStringLiteral("YBB"));
        MoveOver(links.Label1[2]);
        QCOMPARE(Colours(links), QStringLiteral("BBY"));
        MoveOver(&links);  // the background
        QCOMPARE(Colours(links), QStringLiteral("BBY"));
    }

    void clickOpensTheWholeTextAndEmptyLinesNothing() {
        RecordingOpener opener;
        const QString longLink = QStringLiteral("https://a.example/") + QString(5000, u'q');
        WindowFixture fixture(SampleFile({"13;0;E;Sat;<b>x</b>;" + longLink.toStdString() + ";"}),
                              &opener);
        frmMain& w = fixture.Window();
        Choose(w, 0, 0);
        http* links = OpenLinks(w, 0);
        QVERIFY(links != nullptr);
        QCOMPARE(links->Label1[0]->text(), QStringLiteral("<b>x</b>"));
        QCOMPARE(links->Label1[0]->textFormat(), Qt::PlainText);
        for (QLabel* label : links->Label1) {
            Click(label);
        }
        QCOMPARE(opener.opened, QStringList({QStringLiteral("<b>x</b>"), longLink}));
        QVERIFY(links->isVisible());  // opening a link keeps the window
        CloseLinks(links);
    }

    // The real handler: a stub xdg-open records the bytes of its arguments.
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
        QVERIFY(stub.isValid());
        const QString record = stub.filePath(QStringLiteral("record"));
        // Each argument ends in NUL; the record appears whole, by a rename, when the stub ends.
        QFile script(stub.filePath(QStringLiteral("xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done "
                                    "> '%1.tmp' && mv '%1.tmp' '%1'\n")
                         .arg(record)
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", stub.path().toUtf8() + ":" + oldPath);
        auto restore = qScopeGuard([&] { qputenv("PATH", oldPath); });

        palquin::DesktopLinkOpener opener;
        WindowFixture fixture(SampleFile({"13;0;E;Sat;" + link.toStdString() + ";;"}), &opener);
        Choose(fixture.Window(), 0, 0);
        http* links = OpenLinks(fixture.Window(), 0);
        QVERIFY(links != nullptr);
        Click(links->Label1[0]);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 30000);
        QFile recorded(record);
        QVERIFY(recorded.open(QIODevice::ReadOnly));
        QCOMPARE(recorded.readAll(), argument + '\0');
        // The handler ran in the program's folder; nothing there ran the text as a command.
        QCOMPARE(QDir(QString::fromStdString(fixture.FolderPath())).entryList(QDir::Files),
                 QStringList({QStringLiteral("satellite.txt")}));
        QVERIFY(!QFile::exists(stub.filePath(QStringLiteral("x"))));
        CloseLinks(links);
    }

    void noHandlerOrNoTextOpensNothing() {
        QTemporaryDir empty;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", empty.path().toUtf8());
        auto restore = qScopeGuard([&] { qputenv("PATH", oldPath); });
        QVERIFY(!palquin::OpenWithDesktop("https://a.example/"));
        qputenv("PATH", oldPath);
        QVERIFY(!palquin::OpenWithDesktop(""));
        QVERIFY(!palquin::OpenWithDesktop(std::string_view("a\0b", 3)));
    }
};

QTEST_MAIN(LinksWindowTest)
#include "links_window_test.moc"
