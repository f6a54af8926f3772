// Composing a widget onto a page: the fit rule, sharpness at print resolution, whole-or-nothing
// delivery of a PDF file.
#include <QDir>
#include <QFile>
#include <QImage>
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
    void fitsKeepingTheAspect_data();
    void fitsKeepingTheAspect();
    void linesStaySharpAtPrintResolution();
    void deliversAPdfWholeOrNotAtAll_data();
    void deliversAPdfWholeOrNotAtAll();
};

void PageComposerTest::fitsKeepingTheAspect_data() {
    QTest::addColumn<QSizeF>("source");
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("wide source fills the width")
        << QSizeF(200, 100) << QRectF(0, 0, 1000, 1000) << QRectF(0, 0, 1000, 500);
    QTest::newRow("tall source centred across, at the top")
        << QSizeF(100, 200) << QRectF(10, 20, 1000, 1000) << QRectF(260, 20, 500, 1000);
    QTest::newRow("small source is enlarged")
        << QSizeF(317, 132) << QRectF(0, 0, 3170, 5000) << QRectF(0, 0, 3170, 1320);
    QTest::newRow("empty source draws nothing")
        << QSizeF(0, 50) << QRectF(5, 6, 100, 100) << QRectF(5, 6, 0, 0);
}

void PageComposerTest::fitsKeepingTheAspect() {
    QFETCH(QSizeF, source);
    QFETCH(QRectF, area);
    QFETCH(QRectF, expected);
    QCOMPARE(FitToArea(source, area), expected);
}

// A screen image blown up to the page would draw a slanted line as a staircase of steps as
// tall as the scale; drawn onto the page itself, its edge moves with almost every device row.
void PageComposerTest::linesStaySharpAtPrintResolution() {
    CompassView compass(PictureCompassLayout());
    compass.PointNeedle(135.0);  // down and to the left
    compass.show();
    QImage page(4000, 3000, QImage::Format_RGB32);
    page.fill(Qt::white);
    const QRectF area(0, 0, page.width(), page.height());
    {
        QPainter painter(&page);
        ComposeWidgetPage(painter, compass, area);
    }
    const QRectF target = FitToArea(QSizeF(compass.size()), area);
    const double scale = target.width() / compass.width();
    QVERIFY2(scale >= 6.0, qPrintable(QStringLiteral("scale %1").arg(scale)));

    // The needle's middle stretch, rows 1200 to 1500 twips: left edge of the yellow per row.
    const int firstRow = static_cast<int>(target.top() + 1200.0 / 15.0 * scale);
    const int lastRow = static_cast<int>(target.top() + 1500.0 / 15.0 * scale);
    int previousEdge = -1;
    int moves = 0;
    for (int y = firstRow; y <= lastRow; ++y) {
        int edge = -1;
        for (int x = 0; x < page.width() && edge < 0; ++x) {
            const QColor c = page.pixelColor(x, y);
            edge = c.red() > 200 && c.green() > 200 && c.blue() < 100 ? x : -1;
        }
        QVERIFY2(edge >= 0, qPrintable(QStringLiteral("no needle on row %1").arg(y)));
        moves += previousEdge >= 0 && edge != previousEdge ? 1 : 0;
        previousEdge = edge;
    }
    const int rows = lastRow - firstRow;
    QVERIFY2(moves * 2 > rows,
             qPrintable(QStringLiteral("the edge moved on %1 of %2 rows").arg(moves).arg(rows)));
}

void PageComposerTest::deliversAPdfWholeOrNotAtAll_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<bool>("delivered");
    QTest::newRow("into an existing folder") << QStringLiteral("page.pdf") << true;
    QTest::newRow("into a missing folder") << QStringLiteral("missing/page.pdf") << false;
    QTest::newRow("without a name") << QString() << false;
}

void PageComposerTest::deliversAPdfWholeOrNotAtAll() {
    QFETCH(QString, relativePath);
    QFETCH(bool, delivered);
    QTemporaryDir dir;
    const QString path = relativePath.isEmpty() ? QString() : dir.filePath(relativePath);
    QWidget widget;
    widget.resize(100, 50);
    PrintDestination destination;
    destination.kind = PrintDestination::Kind::PdfFile;
    destination.name = path;
    PrintJob job(destination, QStringLiteral("test"));
    if (job.Begin()) {
        ComposeWidgetPage(job.Painter(), widget, job.PageArea());
    }
    const PrintResult result = job.Finish();
    QCOMPARE(result.ok, delivered);
    QCOMPARE(result.reason.isEmpty(), delivered);
    if (delivered) {
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    } else {
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }
}

}  // namespace palquin

QTEST_MAIN(palquin::PageComposerTest)
#include "page_composer_test.moc"
