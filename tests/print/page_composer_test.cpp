// SPDX-License-Identifier: GPL-3.0-or-later
// Composing a widget onto a page: the fit rule and sharpness at print resolution.
#include <QPainter>
#include <QtTest>

#include "diagram/compass_view.h"
#include "print/page_composer.h"

namespace palquin {

class PageComposerTest : public QObject {
    Q_OBJECT
  private slots:
    // Wide fills the width; tall is centred across, at the top; small is enlarged; empty: nothing.
    void fitsKeepingTheAspect() {
        const struct {
            QSizeF source;
            QRectF area, expected;
        } rows[] = {
            {{200, 100}, {0, 0, 1000, 1000}, {0, 0, 1000, 500}},
            {{100, 200}, {10, 20, 1000, 1000}, {260, 20, 500, 1000}},
            {{317, 132}, {0, 0, 3170, 5000}, {0, 0, 3170, 1320}},
            {{0, 50}, {5, 6, 100, 100}, {5, 6, 0, 0}},
        };
        for (const auto& row : rows) {
            QCOMPARE(FitToArea(row.source, row.area), row.expected);
        }
    }

    // A screen image blown up to the page would draw a slanted line as a staircase of steps as
    // tall as the scale; drawn onto the page itself, its edge moves with almost every row.
    void linesStaySharpAtPrintResolution() {
        CompassView compass(PictureCompassLayout());
        compass.PointNeedle(135.0);  // down and to the left
        compass.show();
        QImage page(4000, 3000, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        ComposeWidgetPage(painter, compass, page.rect());
        painter.end();
        const QRectF target = FitToArea(QSizeF(compass.size()), page.rect());
        const double pxPerTw = target.width() / compass.width() / 15.0;
        // The needle's middle stretch, 1200 to 1500 twips down: where its yellow starts per row.
        const int first = static_cast<int>(target.top() + 1200 * pxPerTw);
        const int last = static_cast<int>(target.top() + 1500 * pxPerTw);
        const auto yellow = [](QRgb p) { return qBlue(p) + 100 < qMin(qRed(p), qGreen(p)); };
        int previous = -1;
        int moves = 0;
        for (int y = first; y <= last; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
            const int edge = static_cast<int>(std::find_if(row, row + page.width(), yellow) - row);
            moves += previous >= 0 && edge != previous ? 1 : 0;
            previous = edge;
        }
        QVERIFY2(moves * 2 > last - first, qPrintable(QString("%1 moves").arg(moves)));
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::PageComposerTest)
#include "page_composer_test.moc"
