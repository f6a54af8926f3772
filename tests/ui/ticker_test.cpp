// The about ticker's cycle: empty for the first tick period, ten lines, one empty tick, again.
#include <QLabel>
#include <QtTest>

#include "ui/ticker.h"
#include "window_fixture.h"

using palquin::AboutTicker;
using palquin::testing::WindowFixture;

class TickerTest : public QObject {
    Q_OBJECT

  private slots:
    void cyclesThroughTenLinesAndOneEmptyTick() {
        WindowFixture fixture("");
        AboutTicker& ticker = fixture.Window().Ticker();
        QLabel* label = fixture.Window().Label9;
        QCOMPARE(ticker.Timer().interval(), 4000);
        QVERIFY(ticker.Timer().isActive());
        QCOMPARE(ticker.Index(), 0);
        QCOMPARE(label->text(), QString());
        QCOMPARE(ticker.Lines().size(), 10);
        QCOMPARE(ticker.Lines()[0],
                 QStringLiteral("Программа Dorvik предназначена для расчета мультифида и "
                                "определения направления на спутник."));

        for (int cycle = 0; cycle < 3; ++cycle) {
            for (int line = 0; line < 10; ++line) {
                ticker.Tick();
                QCOMPARE(label->text(), ticker.Lines()[line]);
                QVERIFY(ticker.Index() <= 10);
            }
            ticker.Tick();
            QCOMPARE(label->text(), QString());
            QCOMPARE(ticker.Index(), 0);
        }
    }

    void timerDrivesTheTicks() {
        WindowFixture fixture("");
        AboutTicker& ticker = fixture.Window().Ticker();
        ticker.Timer().setInterval(1);  // the period itself is asserted above
        QTRY_VERIFY(ticker.Index() > 0);
    }
};

QTEST_MAIN(TickerTest)
#include "ticker_test.moc"
