// Composing a widget onto a page: the fit rule, sharpness at print resolution, whole-or-nothing
// delivery of a PDF file.
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "diagram/compass_view.h"
#include "print/page_composer.h"
#include "print/print_job.h"

namespace palquin {

class PageComposerTest : public QObject {
    Q_OBJECT
  private slots:
    // Wide fills the width; tall is centred across, at the top; small is enlarged; empty is
    // nothing.
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
        const auto yellow = [](QRgb p) {
            return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) < 100;
        };
        int previous = -1;
        int moves = 0;
        for (int y = first; y <= last; ++y) {
            int edge = 0;
            while (edge < page.width() && !yellow(page.pixel(edge, y))) {
                ++edge;
            }
            QVERIFY2(edge < page.width(), qPrintable(QString("no needle on row %1").arg(y)));
            moves += previous >= 0 && edge != previous ? 1 : 0;
            previous = edge;
        }
        QVERIFY2(moves * 2 > last - first, qPrintable(QString("%1 moves").arg(moves)));
    }

    // Without a folder or a name nothing is written; otherwise a whole PDF file.
    void deliversAPdfWholeOrNotAtAll() {
        QTemporaryDir dir;
        QWidget widget;
        widget.resize(100, 50);
        const auto print = [&widget](const QString& path) {
            PrintJob job({.kind = PrintDestination::Kind::PdfFile, .name = path}, "test");
            if (job.Begin()) {
                ComposeWidgetPage(job.Painter(), widget, job.PageArea());
            }
            return job.Finish();
        };
        for (const QString& path : {dir.filePath("missing/page.pdf"), QString()}) {
            const PrintResult result = print(path);
            QVERIFY(!result.ok && !result.reason.isEmpty());
        }
        QVERIFY(QDir(dir.path()).isEmpty());
        QVERIFY(print(dir.filePath("page.pdf")).ok);
        QFile pdf(dir.filePath("page.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::PageComposerTest)
#include "page_composer_test.moc"
