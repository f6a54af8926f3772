// SPDX-License-Identifier: GPL-3.0-or-later
// The picture window: caption, aiming lines, clicks, and its page through a recording printer.
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QTimeZone>
#include <QtTest>

#include "common/window_fixture.h"
#include "diagram/compass_view.h"
#include "diagram/twips.h"
#include "print/page_composer.h"
#include "print/printer.h"
#include "ui/picture_window.h"

using namespace palquin::testing_support;

namespace palquin {
namespace {

const QString kEntry = QStringLiteral("36;0;E;<b>Eutelsat</b> 36B;;;");
const QDateTime kMidsummer(QDate(2026, 6, 21), QTime(6, 0), QTimeZone::utc());
const GeoPosition kMoscow{55.75, 37.6};

struct AimRow {
    const char* name;
    std::optional<double> e0;
    std::optional<GeoPosition> site;
    const char* degrees;    // the caption's azimuth; empty: no caption
    const char* text = "";  // empty: no aiming lines, hidden
    const char* tip = "";
    QDateTime now = kMidsummer;
    const char* zone = "UTC";
};

// Eutelsat 36 from Moscow at midsummer: the sun stands over it a few minutes after local solar
// noon (09:32 UTC at 37.6 E). 01:30 in Berlin on the night the clocks go forward: the sun's time
// is in summer time. The latitude field takes up to 180 degrees.
const AimRow kAimRows[] = {
    {"Moscow time", 181.935, kMoscow, "181.9",
     "Магнитный азимут: 169.8° (склонение +12.1°, WMM2025)\n"
     "Солнце на этом азимуте: 12:36 (высота 57.7°)",
     "Часовой пояс: Europe/Moscow (UTC+03:00)", kMidsummer, "Europe/Moscow"},
    {"the day the clocks change", 180.0, kMoscow, "180",
     "Магнитный азимут: 167.9° (склонение +12.1°, WMM2025)\n"
     "Солнце на этом азимуте: 11:34 (высота 37.7°)",
     "Часовой пояс: Europe/Berlin (UTC+02:00)",
     QDateTime(QDate(2026, 3, 29), QTime(0, 30), QTimeZone::utc()), "Europe/Berlin"},
    {"latitude off the globe", 181.935, GeoPosition{120.0, 37.6}, "181.9"},
    {"no site", 181.935, std::nullopt, "181.9"},
    {"no calculation yet", std::nullopt, kMoscow, ""},
    {"azimuth 0 counts as none", 0.0, kMoscow, ""},
};

PictureAimSetup Aim(std::optional<GeoPosition> site, QDateTime now = kMidsummer,
                    QTimeZone zone = QTimeZone::utc()) {
    return {site, [now] { return now; }, zone};
}

const auto TwPoint = [](double x, double y) { return QPoint(TwToPx(x), TwToPx(y)); };
const auto Tw = [](double x, double y, double width, double height) {
    return QRect(TwPoint(x, y), QSize(TwToPx(width), TwToPx(height)));
};

}  // namespace

class PictureWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void captionAndAim_data() {
        QTest::addColumn<size_t>("row");
        for (size_t i = 0; i < std::size(kAimRows); ++i) {
            QTest::newRow(kAimRows[i].name) << i;
        }
    }
    void captionAndAim() {
        QFETCH(size_t, row);
        const AimRow& r = kAimRows[row];
        const QTimeZone zone(r.zone);
        if (!zone.isValid()) {
            QSKIP(qPrintable(QStringLiteral("no time zone %1 here (tzdata)").arg(r.zone)));
        }
        PictureDialog picture(r.e0, kEntry, nullptr, nullptr, nullptr, Aim(r.site, r.now, zone));
        picture.show();
        const QString caption = *r.degrees != 0 ? r.degrees + QStringLiteral("°\r\n") + kEntry : "";
        QCOMPARE(picture.windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(picture.captionLabel->text(), caption);
        QCOMPARE(picture.captionLabel->textFormat(),
                 Qt::PlainText);  // the <b> of the entry stays text
        const LineTw& needle = picture.compass->Layout().needle;
        QCOMPARE(needle.visible, !caption.isEmpty());
        if (r.e0 == 180.0) {  // south: straight down, 1000 twips from the dial's centre
            QCOMPARE(QPointF(needle.x2Tw, needle.y2Tw), QPointF(967.5, 1957.5));
        }
        QLabel& aim = *picture.aimLabel;
        QCOMPARE(QStringList({aim.text(), aim.toolTip()}), QStringList({r.text, r.tip}));
        QCOMPARE(aim.isVisible(), *r.text != 0);
        QCOMPARE(aim.palette().color(QPalette::WindowText), QColor(255, 255, 0));
        // Without lines the window is 4755 x 1980 twips; with them it grows by a strip below the
        // caption's box that holds both lines.
        const QSize classic = Tw(0, 0, 4755, 1980).size();
        QCOMPARE(picture.size(),
                 aim.isVisible() ? QSize(classic.width(), picture.height()) : classic);
        QVERIFY(!aim.isVisible() ||
                (aim.y() >= classic.height() && aim.height() >= aim.heightForWidth(aim.width()) &&
                 picture.rect().contains(aim.geometry())));
    }

    void clicks_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("printerFails");
        QTest::newRow("background") << TwPoint(4650, 1900) << true << 0 << false;
        QTest::newRow("caption") << TwPoint(2300, 250) << true << 0 << false;
        QTest::newRow("aiming lines") << TwPoint(1500, 2100) << true << 0 << false;
        QTest::newRow("compass cross") << TwPoint(960, 400) << true << 0 << false;
        QTest::newRow("letter N") << TwPoint(1087, 247) << false << 0 << false;
        QTest::newRow("letter E") << TwPoint(207, 887) << false << 0 << false;
        QTest::newRow("print button") << TwPoint(1900, 100) << false << 1 << false;
        QTest::newRow("print button, failing") << TwPoint(1900, 100) << false << 1 << true;
    }
    void clicks() {
        QFETCH(QPoint, at);
        QFETCH(bool, closes);
        QFETCH(int, pages);
        QFETCH(bool, printerFails);
        RecordingPrinter printer;
        printer.fail = printerFails;
        RecordingNotifier notifier;
        PictureDialog picture(180.0, kEntry, &printer, &notifier, nullptr, Aim(kMoscow));
        picture.show();
        QWidget* target = picture.childAt(at) ? picture.childAt(at) : &picture;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&picture, at));
        QCOMPARE(picture.isVisible(), !closes);
        QCOMPARE(printer.printed, QStringList(pages, QStringLiteral("frmpicture")));
        QCOMPARE(notifier.messages.size(), size_t{printerFails});
    }

    // With the default catalogue's central entry the caption keeps all its lines, the aiming
    // lines lie below it, and the page of the window carries them.
    void stripBelowTheWholeCaption() {
        const QString entry =
            QStringLiteral("56;0;E;Express AT1 (Экспресс-АТ1, Россия);https://www.rscc.ru/;;");
        PictureDialog picture(199.4, entry, nullptr, nullptr, nullptr, Aim(kMoscow));
        picture.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picture));
        const QLabel& caption = *picture.captionLabel;
        const QLabel& aim = *picture.aimLabel;
        QCOMPARE(caption.geometry(), Tw(2040, 120, 2565, 1755));
        QVERIFY2(caption.heightForWidth(caption.width()) <= caption.height(),
                 qPrintable(QString::number(caption.heightForWidth(caption.width()))));
        QVERIFY(aim.isVisible() && aim.y() >= caption.geometry().bottom());
        QCOMPARE(aim.text().count('\n'), 1);

        // On the page: the strip's band has yellow text on black, as on the screen.
        QImage page(2000, 2000, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        ComposeWidgetPage(painter, picture, page.rect());
        painter.end();
        const QRectF target = FitToArea(QSizeF(picture.size()), page.rect());
        const double scale = target.width() / picture.width();
        int yellow = 0;
        for (int y = int(target.top() + aim.y() * scale);
             y < int(target.top() + aim.geometry().bottom() * scale); ++y) {
            for (int x = int(target.left()); x < int(target.right()); ++x) {
                const QRgb p = page.pixel(x, y);
                yellow += qRed(p) > 150 && qGreen(p) > 150 && qBlue(p) < 100 ? 1 : 0;
            }
        }
        QVERIFY2(yellow > 100, qPrintable(QString::number(yellow)));
        QCOMPARE(page.pixelColor(int(target.left()) + 2, int(target.bottom()) - 2),
                 QColor(Qt::black));
    }

    // Label4(0) opens it, modal, with what the window holds at that moment, and nothing later.
    void centralResultsLabelOpensItReadingOnce() {
        WindowFixture fixture(SampleFile({kEntry.toStdString(), "13;0;E;Hot Bird;;;"}));
        fixture.Open([](MainWindowSetup& setup) {
            setup.now = [] { return kMidsummer; };
            setup.zone = QTimeZone::utc();
        });
        MainWindow& main = fixture.Window();
        main.show();
        Choose(main, 0, 0);
        QTest::mouseClick(Find<QLabel>(main, "Label4", 1), Qt::LeftButton);
        QCOMPARE(main.findChild<PictureDialog*>(), nullptr);
        QTest::mouseClick(Find<QLabel>(main, "Label4", 0), Qt::LeftButton);
        QPointer<PictureDialog> picture = main.findChild<PictureDialog*>();
        QVERIFY(picture && picture->isVisible());
        QCOMPARE(picture->windowModality(), Qt::ApplicationModal);
        const QString caption = picture->captionLabel->text();
        QVERIFY(caption.endsWith("\r\n" + kEntry));
        // The aiming lines are for the site of the fields, with the window's clock and zone.
        const PictureDialog north(main.CentralAzimuthDeg(), kEntry, nullptr, nullptr, nullptr,
                                  Aim(kMoscow));
        QCOMPARE(picture->aimLabel->text(), north.aimLabel->text());
        Choose(main, 0, 1);
        QCOMPARE(picture->captionLabel->text(), caption);
        // Closing discards it; the next opening starts afresh. South and west count negative.
        QTest::mouseClick(picture, Qt::LeftButton, {}, TwPoint(4650, 1900));
        QTRY_VERIFY(picture.isNull());
        Find<QComboBox>(main, "cmbNS")->setEditText(QStringLiteral("S"));
        Find<QComboBox>(main, "cmbEW")->setEditText(QStringLiteral("W"));
        QTest::mouseClick(Find<QLabel>(main, "Label4", 0), Qt::LeftButton);
        picture = main.findChild<PictureDialog*>();
        QVERIFY(picture && picture->captionLabel->text().endsWith(QStringLiteral("Hot Bird;;;")));
        const PictureDialog south(main.CentralAzimuthDeg(), kEntry, nullptr, nullptr, nullptr,
                                  Aim(GeoPosition{-55.75, -37.6}));
        QCOMPARE(picture->aimLabel->text(), south.aimLabel->text());
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::PictureWindowTest)
#include "picture_window_test.moc"
