// The template written into real PDF files and measured back with poppler's pdftotext.
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <map>

#include "print/template_page.h"

namespace palquin {
namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;
constexpr double kToleranceMm = 0.5;

struct Word {
    int page = 0;
    QString text;
    QRectF boxMm;
};

// Every word of the file with its page and box, in millimetres from the page's top-left corner.
QList<Word> ReadWords(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        return {};
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" "
                       "yMax=\"([-0-9.]+)\">([^<]*)</word>"));
    QList<Word> words;
    int page = 0;
    for (const QRegularExpressionMatch& m : tag.globalMatch(html)) {
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.append(
            {page, m.captured(5), QRectF(topLeft * kMmPerPoint, bottomRight * kMmPerPoint)});
    }
    return words;
}

int PageCount(const QList<Word>& words) {
    return words.isEmpty() ? 0 : words.back().page;
}

// The box around consecutive words that read `phrase`, below `belowMm` on the page; empty when
// there is none.
QRectF Phrase(const QList<Word>& words, const QString& phrase, double belowMm = 0.0) {
    const QStringList parts = phrase.split(QLatin1Char(' '));
    for (qsizetype i = 0; i + parts.size() <= words.size(); ++i) {
        QRectF box;
        bool match = true;
        for (qsizetype k = 0; k < parts.size() && match; ++k) {
            const Word& w = words[i + k];
            match = w.text == parts[k] && w.page == words[i].page && w.boxMm.top() > belowMm;
            box = box.isNull() ? w.boxMm : box.united(w.boxMm);
        }
        if (match) {
            return box;
        }
    }
    return {};
}

TemplateInput Input(std::vector<ConverterMm> converters) {
    TemplateInput input;
    input.converters = std::move(converters);
    input.siteText = "55.75 N 37.6 E";
    input.focalMm = 600;
    input.dateText = "07.12.2026";
    return input;
}

}  // namespace

class TemplatePdfTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    QString Path(const QString& name) const { return dir_.filePath(name); }

  private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed; the PDF cannot be measured");
        }
        QVERIFY(dir_.isValid());
    }

    // A site in Moscow and three satellites, 36 E in the middle, as calculated.
    void OnePageAtTrueSize() {
        std::string buildError;
        const std::optional<TemplateInput> input =
            BuildTemplateInput({55.75,
                                "N",
                                37.6,
                                "E",
                                600,
                                {{"E 36.0", 50}, {"E 31.5", 50}, {"E 39.0", 50}},
                                "07.12.2026"},
                               &buildError);
        QVERIFY2(input, buildError.c_str());
        QString error;
        QVERIFY2(WriteTemplatePdf(Path("moscow.pdf"), *input, &error), qPrintable(error));

        const QList<Word> words = ReadWords(Path("moscow.pdf"));
        QCOMPARE(PageCount(words), 1);
        // Position texts are looked for below the header, where the collision line may name them.
        const double belowHeaderMm = 10.0 + kTemplateHeaderMm;
        const QRectF central = Phrase(words, "E 36.0", belowHeaderMm);
        QVERIFY(!central.isNull());
        for (std::size_t i = 1; i < input->converters.size(); ++i) {
            const ConverterMm& converter = input->converters[i];
            const QRectF text =
                Phrase(words, QString::fromStdString(converter.positionText), belowHeaderMm);
            QVERIFY2(!text.isNull(), converter.positionText.c_str());
            const QPointF off = text.center() - central.center() -
                                QPointF(converter.centre.xMm, converter.centre.yMm);
            QVERIFY2(off.manhattanLength() < kToleranceMm, converter.positionText.c_str());
        }
        // The check bar's end labels sit under its ends, on one line.
        const QRectF check = Phrase(words, QStringLiteral("проверьте: 100 мм"));
        QVERIFY(!check.isNull());
        const QRectF zero = Phrase(words, QStringLiteral("0"), check.bottom());
        const QRectF hundred = Phrase(words, QStringLiteral("100"), check.bottom());
        QVERIFY(!zero.isNull() && !hundred.isNull());
        QVERIFY2(std::abs(hundred.center().x() - zero.center().x() - kCheckBarMm) < kToleranceMm,
                 qPrintable(QString::number(hundred.center().x() - zero.center().x())));
        for (const char* phrase :
             {"вид от хвоста", "верх", "низ", "восток", "запад", "место: 55.75 N 37.6 E",
              "фокус: 600 мм", "дата: 07.12.2026", "лист 1 из 1"}) {
            QVERIFY2(!Phrase(words, QString::fromUtf8(phrase)).isNull(), phrase);
        }
        // East lies right of a dish aimed south.
        QVERIFY(Phrase(words, "восток").left() > Phrase(words, "запад").right());

        // The bar itself, rasterised at ten pixels a millimetre: the longest dark run in the
        // footer.
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) {
            QSKIP("pdftoppm (poppler-utils) is not installed; the page cannot be rasterised");
        }
        constexpr int kPxPerMm = 10;
        QCOMPARE(QProcess::execute("pdftoppm", {"-r", QString::number(kPxPerMm * 25.4), "-gray",
                                                "-singlefile", Path("moscow.pdf"), Path("bar")}),
                 0);
        const QImage page(Path("bar.pgm"));
        QVERIFY(!page.isNull());
        int longest = 0;
        // The footer: the lowest kTemplateFooterMm above the 10 mm bottom margin, less the first
        // millimetre where the frame's bottom line runs.
        const int top = page.height() - static_cast<int>((10 + kTemplateFooterMm - 1) * kPxPerMm);
        for (int y = top; y < page.height(); ++y) {
            int run = 0;
            for (int x = 0; x < page.width(); ++x) {
                run = qGray(page.pixel(x, y)) < 128 ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        }
        // The bar plus half a tick's width at each end: 100.2 mm.
        QVERIFY2(std::abs(double(longest) / kPxPerMm - kCheckBarMm) < kToleranceMm,
                 qPrintable(QString::number(longest)));
    }

    // The menu prints through a printer; a printer writing PDF gives the very same page.
    void PrinterDrawsTheSamePage() {
        const TemplateInput input =
            Input({{"E 36.0", {0, 0}, 60, 1.1}, {"E 13.0", {40, -30}, 60, 15.8}});
        QString error;
        QVERIFY2(WriteTemplatePdf(Path("writer.pdf"), input, &error), qPrintable(error));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Path("printer.pdf"));
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QVERIFY2(PrintTemplate(printer, input, &error), qPrintable(error));

        const QList<Word> a = ReadWords(Path("writer.pdf"));
        const QList<Word> b = ReadWords(Path("printer.pdf"));
        QCOMPARE(a.size(), b.size());
        for (qsizetype i = 0; i < a.size(); ++i) {
            QCOMPARE(a[i].text, b[i].text);
            QVERIFY2((a[i].boxMm.center() - b[i].boxMm.center()).manhattanLength() < 0.1,
                     qPrintable(a[i].text));
        }
        // Bodies 50 mm apart with 60 mm needed: the header says so.
        QVERIFY(
            !Phrase(a, QStringLiteral("E 36.0 и E 13.0 мешают друг другу: 50 мм из 60")).isNull());
    }

    // Converters 400 mm out in four directions: more than a sheet each way.
    void LargeLayoutTilesWithMeetingMarks() {
        const TemplateInput input = Input({{"E 36.0", {0, 0}, 50, 0},
                                           {"E 1.0", {-400, 0}, 50, 0},
                                           {"E 2.0", {400, 0}, 50, 0},
                                           {"E 3.0", {0, -400}, 50, 0},
                                           {"E 4.0", {0, 400}, 50, 0}});
        QString error;
        QVERIFY2(WriteTemplatePdf(Path("large.pdf"), input, &error), qPrintable(error));
        const QList<Word> words = ReadWords(Path("large.pdf"));
        const int pages = PageCount(words);
        QVERIFY2(pages >= 12, qPrintable(QString::number(pages)));  // 860 x 860 mm on A4

        std::map<QString, QList<Word>> marks;
        QSet<int> labelledPages;
        for (const Word& w : words) {
            if (w.text.startsWith(QStringLiteral("№"))) {
                marks[w.text].append(w);
            }
            if (w.text == QStringLiteral("лист")) {
                labelledPages.insert(w.page);
            }
        }
        QCOMPARE(labelledPages.size(), pages);
        QVERIFY(!marks.empty());
        for (const auto& [label, found] : marks) {
            QVERIFY2(found.size() == 2 && found[0].page != found[1].page, qPrintable(label));
            const QRectF a = found[0].boxMm;
            const QRectF b = found[1].boxMm;
            // Side by side: the same height on both pages; one above the other: the same left.
            const bool sideBySide = std::abs(a.top() - b.top()) < 0.05;
            const bool stacked = std::abs(a.left() - b.left()) < 0.05;
            QVERIFY2(sideBySide != stacked, qPrintable(label));
        }
        for (const char* text : {"E 1.0", "E 2.0", "E 3.0", "E 4.0"}) {
            QVERIFY2(!Phrase(words, QString::fromUtf8(text), 10.0 + kTemplateHeaderMm).isNull(),
                     text);
        }
        const QString last = QStringLiteral("лист %1 из %1:").arg(pages);
        QVERIFY(!Phrase(words, last).isNull());
    }

    // A failed write leaves the old file as it was.
    void RefusalsKeepTheOldFile() {
        const QString path = Path("old.pdf");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        QString error;
        // Five kilometres wide: far more sheets than allowed.
        QVERIFY(!WriteTemplatePdf(
            path, Input({{"E 36.0", {0, 0}, 50, 0}, {"E 1.0", {5e6, 0}, 50, 0}}), &error));
        QCOMPARE(error, QStringLiteral("Шаблон не помещается на 100 листов"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));

        QVERIFY(!WriteTemplatePdf(dir_.path(), Input({{"E 36.0", {0, 0}, 50, 0}}), &error));
        QVERIFY(error.startsWith(QStringLiteral("Не удалось записать файл")));
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::TemplatePdfTest)
#include "template_pdf_test.moc"
