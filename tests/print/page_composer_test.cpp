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

// A screen image blown up to 600 dpi would turn the compass's one-pixel cross line into a band
// six or more device pixels wide; drawn onto the page itself it stays a hairline.
void PageComposerTest::linesStaySharpAtPrintResolution() {
    CompassView compass(PictureCompassLayout());
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

    // The vertical cross line runs at x = 960 twips (64 px); look half-way down it, away from
    // the needle and the letters.
    const int y = static_cast<int>(target.top() + 1400.0 / 15.0 * scale);
    int crossPixels = 0;
    for (int x = 0; x < page.width(); ++x) {
        const QColor c = page.pixelColor(x, y);
        if (c.green() > 200 && c.red() < 100 && c.blue() < 100) {
            ++crossPixels;
        }
    }
    QVERIFY2(crossPixels >= 1 && crossPixels <= 3,
             qPrintable(QStringLiteral("%1 green pixels across the cross line").arg(crossPixels)));
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
