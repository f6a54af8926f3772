// The picture window, and the print sequences of both windows through a recording printer.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>
#include <functional>
#include <memory>

#include "diagram/compass_view.h"
#include "diagram/twips.h"
#include "print/printer.h"
#include "ui/picture_window.h"
#include "window_fixture.h"

namespace palquin {
namespace {

using testing::RecordingNotifier;

const QString kEntry = QStringLiteral("36;0;E;<b>Eutelsat</b> 36B;;;");

// Records every page instead of printing it; onPrint looks at the window at that moment.
class RecordingPrinter : public Printer {
  public:
    bool ChooseDestination(QWidget* /*parent*/) override {
        ++dialogs;
        return choose;
    }
    PrintResult PrintWidget(QWidget& widget, const QString& /*jobTitle*/) override {
        printed.push_back(widget.objectName());
        if (onPrint) {
            onPrint();
        }
        return {!fail, fail ? QStringLiteral("recorded failure") : QString()};
    }
    PrintResult PrintTemplatePages(const TemplateInput& /*input*/,
                                   const QString& /*jobTitle*/) override {
        return {false, QStringLiteral("no template here")};
    }

    bool choose = true;
    bool fail = false;
    int dialogs = 0;
    QStringList printed;
    std::function<void()> onPrint;
};

// Moscow, the site of the sample settings.
const GeoPosition kMoscow{55.75, 37.6};

QDateTime Utc(int year, int month, int day, int hour, int minute) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc());
}

const QDateTime kMidsummer = Utc(2026, 6, 21, 6, 0);

PictureAimSetup AimAt(std::optional<GeoPosition> site, const QDateTime& now,
                      const QTimeZone& zone) {
    PictureAimSetup aim;
    aim.site = site;
    aim.now = [now] { return now; };
    aim.zone = zone;
    return aim;
}

// A main window with the sample catalogue, slot 0 on the first entry when calculate is set.
struct MainFixture {
    explicit MainFixture(bool calculate) {
        QFile file(folder.filePath(QStringLiteral("satellite.txt")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(testing::SampleFile({kEntry.toStdString(), "13;0;E;Hot Bird;;;"}).c_str());
            file.close();
        }
        MainWindowSetup setup;
        setup.folder = folder.path().toStdString();
        setup.notifier = &notifier;
        setup.printer = &printer;
        setup.reportPath = folder.filePath(QStringLiteral("printOut.txt")).toStdString();
        setup.now = [] { return kMidsummer; };
        setup.zone = QTimeZone::utc();
        window = std::make_unique<frmMain>(setup);
        window->show();
        if (calculate) {
            testing::Choose(*window, 0, 0);
        }
    }
    frmpicture* Picture() const { return window->findChild<frmpicture*>(); }

    QTemporaryDir folder;
    RecordingNotifier notifier;
    RecordingPrinter printer;
    std::unique_ptr<frmMain> window;
};

QRect Tw(double left, double top, double width, double height) {
    return QRect(TwToPx(left), TwToPx(top), TwToPx(width), TwToPx(height));
}

QPoint TwPoint(double x, double y) {
    return QPoint(TwToPx(x), TwToPx(y));
}

}  // namespace

class PictureWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void elementsAtTheirPlaces();
    void needleAndCaption_data();
    void needleAndCaption();
    void aimLines_data();
    void aimLines();
    void clicks_data();
    void clicks();
    void centralResultsLabelOpensItModalReadingOnce();
    void printButtonPrintsTheWindowAsItStands_data();
    void printButtonPrintsTheWindowAsItStands();
    void mainWindowPrintsEnlargedWithBannerThenRestores_data();
    void mainWindowPrintsEnlargedWithBannerThenRestores();
};

void PictureWindowTest::elementsAtTheirPlaces() {
    frmpicture picture(180.0, kEntry, nullptr, nullptr);
    picture.show();
    QCOMPARE(picture.windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(picture.size(), Tw(0, 0, 4755, 1980).size());
    QCOMPARE(picture.palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(picture.Label5->geometry(), Tw(2040, 120, 2565, 1755));
    QCOMPARE(picture.Prt->geometry(), Tw(1800, 0, 200, 200));
    QVERIFY(picture.Prt->text().isEmpty());
    // The button sits over the compass's drawing area and still takes its clicks.
    QCOMPARE(picture.childAt(picture.Prt->geometry().center()), picture.Prt);
    const CompassLayout& dial = picture.compass->Layout();
    QCOMPARE(dial.circle.topTw, 50.0);
    QCOMPARE(dial.circle.heightTw, 1815.0);
    QCOMPARE(dial.needleColor, QColor(255, 255, 0));
    QCOMPARE(picture.compass->pos(), QPoint(0, 0));
}

void PictureWindowTest::needleAndCaption_data() {
    QTest::addColumn<QVariant>("e0");  // invalid: not set
    QTest::addColumn<bool>("needle");
    QTest::addColumn<double>("endX");
    QTest::addColumn<double>("endY");
    QTest::addColumn<QString>("caption");
    QTest::newRow("south, straight down")
        << QVariant(180.0) << true << 967.5 << 1957.5 << QStringLiteral("180\u00B0\r\n") + kEntry;
    QTest::newRow("east, clipped beyond the left edge")
        << QVariant(90.0) << true << -32.5 << 957.5 << QStringLiteral("90\u00B0\r\n") + kEntry;
    QTest::newRow("rounded to one decimal")
        << QVariant(181.935) << true << 967.5 + 33.76 << 957.5 + 999.43
        << QStringLiteral("181.9\u00B0\r\n") + kEntry;
    QTest::newRow("no calculation yet: empty compass")
        << QVariant() << false << 0.0 << 0.0 << QString();
    QTest::newRow("azimuth 0 counts as none") << QVariant(0.0) << false << 0.0 << 0.0 << QString();
}

void PictureWindowTest::needleAndCaption() {
    QFETCH(QVariant, e0);
    QFETCH(bool, needle);
    QFETCH(double, endX);
    QFETCH(double, endY);
    QFETCH(QString, caption);
    const std::optional<double> azimuth =
        e0.isValid() ? std::optional<double>(e0.toDouble()) : std::nullopt;
    frmpicture picture(azimuth, kEntry, nullptr, nullptr);
    const LineTw& line = picture.compass->Layout().needle;
    QCOMPARE(line.visible, needle);
    if (needle) {
        QCOMPARE(line.x1Tw, 960.0);
        QCOMPARE(line.y1Tw, 960.0);
        QVERIFY2(qAbs(line.x2Tw - endX) < 0.01 && qAbs(line.y2Tw - endY) < 0.01,
                 qPrintable(QStringLiteral("needle ends at %1, %2").arg(line.x2Tw).arg(line.y2Tw)));
    }
    QCOMPARE(picture.Label5->text(), caption);
    QCOMPARE(picture.Label5->textFormat(), Qt::PlainText);  // the <b> of the entry stays text
}

void PictureWindowTest::aimLines_data() {
    QTest::addColumn<QVariant>("e0");           // invalid: not set
    QTest::addColumn<QVariant>("latitudeDeg");  // invalid: no site; longitude 37.6
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QByteArray>("zoneId");  // empty: UTC
    QTest::addColumn<QString>("text");       // empty: no lines, hidden
    QTest::addColumn<QString>("tip");
    // Eutelsat 36 from Moscow at midsummer: the compass reads about 12 degrees less than the true
    // azimuth (181.9), and the sun stands over the satellite a few minutes after local solar
    // noon (09:32 UTC at 37.6 E), 90 - 55.75 + 23.44 degrees high.
    const QString magnetic =
        QStringLiteral("Магнитный азимут: 169.8° (склонение +12.1°, WMM2025)\n");
    QTest::newRow("Moscow time") << QVariant(181.935) << QVariant(55.75) << kMidsummer
                                 << QByteArray("Europe/Moscow")
                                 << magnetic + QStringLiteral(
                                                   "Солнце на этом азимуте: 12:36 (высота 57.7°)")
                                 << QStringLiteral("Часовой пояс: Europe/Moscow (UTC+03:00)");
    QTest::newRow("the same moment in UTC")
        << QVariant(181.935) << QVariant(55.75) << kMidsummer << QByteArray()
        << magnetic + QStringLiteral("Солнце на этом азимуте: 09:36 (высота 57.7°)")
        << QStringLiteral("Часовой пояс: UTC (UTC+00:00)");
    // 01:30 in Berlin on the night the clocks go forward: the sun's time, solar noon at 37.6 E
    // (09:34 UTC), is in summer time.
    QTest::newRow("the day the clocks change")
        << QVariant(180.0) << QVariant(55.75) << Utc(2026, 3, 29, 0, 30)
        << QByteArray("Europe/Berlin")
        << QStringLiteral(
               "Магнитный азимут: 167.9° (склонение +12.1°, WMM2025)\n"
               "Солнце на этом азимуте: 11:34 (высота 37.7°)")
        << QStringLiteral("Часовой пояс: Europe/Berlin (UTC+02:00)");
    // At midwinter the sun sets in the south-west long before it could reach 250 degrees.
    QTest::newRow("no such moment today")
        << QVariant(250.0) << QVariant(55.75) << Utc(2026, 12, 21, 9, 0)
        << QByteArray("Europe/Moscow")
        << QStringLiteral(
               "Магнитный азимут: 237.8° (склонение +12.2°, WMM2025)\n"
               "Солнце на этом азимуте сегодня не бывает")
        << QStringLiteral("Часовой пояс: Europe/Moscow (UTC+03:00)");
    // The latitude field takes up to 180 degrees.
    QTest::newRow("latitude off the globe")
        << QVariant(181.935) << QVariant(120.0) << kMidsummer << QByteArray("Europe/Moscow")
        << QString() << QString();
    QTest::newRow("no calculation yet") << QVariant() << QVariant(55.75) << kMidsummer
                                        << QByteArray("Europe/Moscow") << QString() << QString();
    QTest::newRow("azimuth 0 counts as none")
        << QVariant(0.0) << QVariant(55.75) << kMidsummer << QByteArray("Europe/Moscow")
        << QString() << QString();
    QTest::newRow("no site") << QVariant(181.935) << QVariant() << kMidsummer
                             << QByteArray("Europe/Moscow") << QString() << QString();
}

void PictureWindowTest::aimLines() {
    QFETCH(QVariant, e0);
    QFETCH(QVariant, latitudeDeg);
    QFETCH(QDateTime, now);
    QFETCH(QByteArray, zoneId);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    const QTimeZone zone = zoneId.isEmpty() ? QTimeZone::utc() : QTimeZone(zoneId);
    if (!zone.isValid()) {
        QSKIP(qPrintable(QStringLiteral("the time zone %1 is not on this machine (tzdata)")
                             .arg(QString::fromLatin1(zoneId))));
    }
    const std::optional<double> azimuth =
        e0.isValid() ? std::optional<double>(e0.toDouble()) : std::nullopt;
    frmpicture picture(
        azimuth, kEntry, nullptr, nullptr, nullptr,
        AimAt(latitudeDeg.isValid() ? std::optional<GeoPosition>(
                                          GeoPosition{latitudeDeg.toDouble(), kMoscow.longitudeDeg})
                                    : std::nullopt,
              now, zone));
    picture.show();
    QCOMPARE(picture.lblAim->text(), text);
    QCOMPARE(picture.lblAim->toolTip(), tip);
    QCOMPARE(picture.lblAim->isVisible(), !text.isEmpty());
    QCOMPARE(picture.lblAim->textFormat(), Qt::PlainText);
    QCOMPARE(picture.lblAim->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QCOMPARE(picture.lblAim->font().family(), picture.Label5->font().family());
    if (!text.isEmpty()) {
        // Inside the caption's column and the client area, so the printout has it; the
        // caption keeps its box.
        const QRect column = Tw(2040, 120, 2565, 1755);
        QVERIFY(column.contains(picture.lblAim->geometry()));
        QVERIFY(picture.rect().contains(picture.lblAim->geometry()));
        QCOMPARE(picture.Label5->geometry(), column);
        QVERIFY(picture.lblAim->height() >= picture.lblAim->heightForWidth(column.width()));
    }
}

void PictureWindowTest::clicks_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("prints");
    QTest::newRow("background") << TwPoint(4650, 1900) << true << 0;
    QTest::newRow("caption") << TwPoint(3000, 900) << true << 0;
    QTest::newRow("aiming lines") << TwPoint(3000, 1800) << true << 0;
    QTest::newRow("compass cross") << TwPoint(960, 400) << true << 0;
    QTest::newRow("letter N") << TwPoint(1087, 247) << false << 0;
    QTest::newRow("letter E") << TwPoint(207, 887) << false << 0;
    QTest::newRow("print button") << TwPoint(1900, 100) << false << 1;
}

void PictureWindowTest::clicks() {
    QFETCH(QPoint, at);
    QFETCH(bool, closes);
    QFETCH(int, prints);
    RecordingPrinter printer;
    RecordingNotifier notifier;
    frmpicture picture(180.0, kEntry, &printer, &notifier, nullptr,
                       AimAt(kMoscow, kMidsummer, QTimeZone::utc()));
    picture.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picture));
    QWidget* target = picture.childAt(at);
    if (target == nullptr) {
        target = &picture;
    }
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&picture, at));
    QCOMPARE(picture.isVisible(), !closes);
    QCOMPARE(printer.printed.size(), prints);
    QVERIFY(notifier.messages.empty());
}

void PictureWindowTest::centralResultsLabelOpensItModalReadingOnce() {
    MainFixture fixture(true);
    frmMain& main = *fixture.window;
    QTest::mouseClick(main.Label4[1], Qt::LeftButton);
    QCOMPARE(fixture.Picture(), nullptr);

    QTest::mouseClick(main.Label4[0], Qt::LeftButton);
    frmpicture* picture = fixture.Picture();
    QVERIFY(picture != nullptr);
    QVERIFY(picture->isVisible());
    QCOMPARE(picture->windowModality(), Qt::ApplicationModal);
    const QString caption = picture->Label5->text();
    QVERIFY(caption.endsWith(QStringLiteral("\r\n") + kEntry));
    // The aiming lines are for the site of the fields, with the window's clock and zone.
    const frmpicture north(main.e0(), kEntry, nullptr, nullptr, nullptr,
                           AimAt(kMoscow, kMidsummer, QTimeZone::utc()));
    QVERIFY(!north.lblAim->text().isEmpty());
    QCOMPARE(picture->lblAim->text(), north.lblAim->text());

    // Later calculations do not reach an open picture window.
    testing::Choose(main, 0, 1);
    QCOMPARE(picture->Label5->text(), caption);

    // Closing discards it; the next opening starts afresh.
    QPointer<frmpicture> closed(picture);
    QTest::mouseClick(picture, Qt::LeftButton, {}, TwPoint(4650, 1900));
    QTRY_VERIFY(closed.isNull());
    // South and west count negative.
    main.cmbNS->setEditText(QStringLiteral("S"));
    main.cmbEW->setEditText(QStringLiteral("W"));
    QTest::mouseClick(main.Label4[0], Qt::LeftButton);
    QVERIFY(fixture.Picture() != nullptr);
    QVERIFY(fixture.Picture()->Label5->text().endsWith(QStringLiteral("Hot Bird;;;")));
    const frmpicture south(main.e0(), kEntry, nullptr, nullptr, nullptr,
                           AimAt(GeoPosition{-55.75, -37.6}, kMidsummer, QTimeZone::utc()));
    QCOMPARE(fixture.Picture()->lblAim->text(), south.lblAim->text());
}

void PictureWindowTest::printButtonPrintsTheWindowAsItStands_data() {
    QTest::addColumn<bool>("fail");
    QTest::newRow("printed") << false;
    QTest::newRow("failed") << true;
}

void PictureWindowTest::printButtonPrintsTheWindowAsItStands() {
    QFETCH(bool, fail);
    RecordingPrinter printer;
    printer.fail = fail;
    RecordingNotifier notifier;
    frmpicture picture(180.0, kEntry, &printer, &notifier, nullptr,
                       AimAt(kMoscow, kMidsummer, QTimeZone::utc()));
    picture.show();
    const QString caption = picture.Label5->text();
    bool aimOnPage = false;
    printer.onPrint = [&] {
        aimOnPage = picture.lblAim->isVisible() && !picture.lblAim->text().isEmpty() &&
                    picture.rect().contains(picture.lblAim->geometry());
    };
    QTest::mouseClick(picture.Prt, Qt::LeftButton);
    QVERIFY(aimOnPage);
    QCOMPARE(printer.printed, QStringList{QStringLiteral("frmpicture")});
    QCOMPARE(printer.dialogs, 0);
    QCOMPARE(notifier.messages.size(), size_t{fail ? 1u : 0u});
    if (fail) {
        QCOMPARE(notifier.messages[0].text, QStringLiteral("Печать невозможна!"));
        QCOMPARE(notifier.messages[0].title, QStringLiteral("Palquin"));
    }
    QVERIFY(picture.isVisible());
    QCOMPARE(picture.Label5->text(), caption);
    QVERIFY(picture.compass->Layout().needle.visible);
}

void PictureWindowTest::mainWindowPrintsEnlargedWithBannerThenRestores_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<bool>("dialogAccepted");
    QTest::addColumn<bool>("fail");
    QTest::addColumn<int>("pages");
    QTest::newRow("button, printed") << false << true << false << 1;
    QTest::newRow("button, failed") << false << true << true << 1;
    QTest::newRow("menu, printed") << true << true << false << 1;
    QTest::newRow("menu, failed") << true << true << true << 1;
    QTest::newRow("menu, cancelled") << true << false << false << 0;
}

void PictureWindowTest::mainWindowPrintsEnlargedWithBannerThenRestores() {
    QFETCH(bool, fromMenu);
    QFETCH(bool, dialogAccepted);
    QFETCH(bool, fail);
    QFETCH(int, pages);
    MainFixture fixture(true);
    frmMain& main = *fixture.window;
    fixture.printer.choose = dialogAccepted;
    fixture.printer.fail = fail;
    bool bannerShown = false;
    double outerTw = 0;
    bool panelInside = false;
    fixture.printer.onPrint = [&] {
        bannerShown = main.Label10->isVisible();
        outerTw = main.OuterHeightTw();
        panelInside = main.centralWidget()->rect().contains(
            main.Frame6->geometry().topLeft() + main.Label500[1]->geometry().bottomRight());
    };
    const QSize before = main.size();

    if (fromMenu) {
        main.mnuPrint->trigger();
    } else {
        QTest::mouseClick(main.cmdPrint, Qt::LeftButton);
    }

    QCOMPARE(fixture.printer.dialogs, fromMenu ? 1 : 0);
    QCOMPARE(fixture.printer.printed.size(), pages);
    if (pages > 0) {
        QCOMPARE(fixture.printer.printed[0], QStringLiteral("client"));
        QVERIFY(bannerShown);
        QCOMPARE(outerTw, frmMain::kPrintOuterHeightTw);
        QVERIFY(panelInside);  // the compass panel's boxes are on the page
    }
    QCOMPARE(fixture.notifier.messages.size(), size_t{fail ? 1u : 0u});
    if (fail) {
        QCOMPARE(fixture.notifier.messages[0].text, QStringLiteral("Печать невозможна!"));
        QCOMPARE(fixture.notifier.messages[0].title, QStringLiteral("Palquin"));
    }
    QCOMPARE(main.OuterHeightTw(), frmMain::kNormalOuterHeightTw);
    QCOMPARE(main.size(), before);
    QVERIFY(main.Label10->isHidden());
}

}  // namespace palquin

QTEST_MAIN(palquin::PictureWindowTest)
#include "picture_window_test.moc"
