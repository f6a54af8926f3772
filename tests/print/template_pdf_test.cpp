// The template written into real PDF files and read back with poppler's pdftotext and pdftoppm.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <map>

#include "print/template_page.h"

namespace palquin {
namespace {

struct Word {
    int page = 0;
    QString text;
    QRectF boxMm;
};

// Every word of the file with its page and box, in millimetres from the page's top-left corner.
QList<Word> ReadWords(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-bbox", pdf, "-"});
    process.waitForFinished(-1);
    static const QRegularExpression tag(
        "<page |<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" "
        "yMax=\"([-0-9.]+)\">([^<]*)</word>");
    QList<Word> words;
    int page = 0;
    for (const QRegularExpressionMatch& m : tag.globalMatch(process.readAllStandardOutput())) {
        if (m.captured(0) == "<page ") {
            ++page;
            continue;
        }
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.append({page, m.captured(5), QRectF(topLeft * 25.4 / 72, bottomRight * 25.4 / 72)});
    }
    return words;
}

// The box around consecutive words that read `phrase`, below `belowMm` on their page; empty when
// there is none.
QRectF Phrase(const QList<Word>& words, const QString& phrase, double belowMm = 0.0) {
    const QStringList parts = phrase.split(' ');
    for (qsizetype i = 0; i + parts.size() <= words.size(); ++i) {
        QRectF box = words[i].boxMm;
        bool match = true;
        for (qsizetype k = 0; k < parts.size() && match; ++k) {
            const Word& w = words[i + k];
            match = w.text == parts[k] && w.page == words[i].page && w.boxMm.top() > belowMm;
            box = box.united(w.boxMm);
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
    return input;
}

// Position texts are looked for below the header, where the collision line may name them.
constexpr double kBelowHeaderMm = 10.0 + kTemplateHeaderMm;

}  // namespace

class TemplatePdfTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
            QStandardPaths::findExecutable("pdftoppm").isEmpty()) {
            QSKIP("poppler-utils are not installed; the PDF cannot be read back");
        }
    }

    // Converters where the layout puts them, millimetre for millimetre, and the check bar's end
    // labels 100 mm apart.
    void OnePageAtTrueSize() {
        const TemplateInput input = Input({{"E 36.0", {0, 0}, 50, 0},
                                           {"E 13.0", {50, -35}, 50, 20},
                                           {"E 75.0", {-55, 40}, 50, -10}});
        QVERIFY(WriteTemplatePdf(dir_.filePath("one.pdf"), input, nullptr));
        const QList<Word> words = ReadWords(dir_.filePath("one.pdf"));
        QVERIFY(!words.isEmpty() && words.back().page == 1);
        const QRectF central = Phrase(words, "E 36.0", kBelowHeaderMm);
        for (const ConverterMm& converter : input.converters) {
            const QString text = QString::fromStdString(converter.positionText);
            const QPointF off = Phrase(words, text, kBelowHeaderMm).center() - central.center() -
                                QPointF(converter.centre.xMm, converter.centre.yMm);
            QVERIFY2(off.manhattanLength() < 0.5, qPrintable(text));
        }
        const QRectF check = Phrase(words, "проверьте: 100 мм");
        const double barMm = Phrase(words, "100", check.bottom()).center().x() -
                             Phrase(words, "0", check.bottom()).center().x();
        QVERIFY2(qAbs(barMm - kCheckBarMm) < 0.5, qPrintable(QString::number(barMm)));
        // East lies right of a dish aimed south.
        QVERIFY(Phrase(words, "восток").left() > Phrase(words, "запад").right());
    }

    // Bodies 50 mm apart that need 60 mm are drawn in red and named in the header; 85 mm apart
    // they are not.
    void CollidingConvertersInRed() {
        for (const double xMm : {40.0, 80.0}) {
            const TemplateInput input =
                Input({{"E 36.0", {0, 0}, 60, 0}, {"E 13.0", {xMm, -30}, 60, 0}});
            QVERIFY(WriteTemplatePdf(dir_.filePath("c.pdf"), input, nullptr));
            const QRectF header =
                Phrase(ReadWords(dir_.filePath("c.pdf")), "E 36.0 и E 13.0 мешают друг другу:");
            QCOMPARE(header.isNull(), xMm > 60);
            QCOMPARE(QProcess::execute("pdftoppm", {"-r", "50", "-png", "-singlefile",
                                                    dir_.filePath("c.pdf"), dir_.filePath("c")}),
                     0);
            const QImage page(dir_.filePath("c.png"));
            int red = 0;
            for (int y = static_cast<int>(kBelowHeaderMm * 2); y < page.height(); ++y) {
                for (int x = 0; x < page.width(); ++x) {
                    const QRgb p = page.pixel(x, y);
                    red += qRed(p) > 200 && qGreen(p) < 100 && qBlue(p) < 100 ? 1 : 0;
                }
            }
            QVERIFY2((red > 100) == (xMm < 60), qPrintable(QString::number(red)));
        }
    }

    // Converters 400 mm out in four directions: more than a sheet each way. Each numbered mark
    // is on two pages, at the same height when side by side, the same left when stacked.
    void LargeLayoutTilesWithMeetingMarks() {
        const TemplateInput input = Input({{"E 36.0", {0, 0}, 50, 0},
                                           {"E 1.0", {-400, 0}, 50, 0},
                                           {"E 2.0", {400, 0}, 50, 0},
                                           {"E 3.0", {0, -400}, 50, 0},
                                           {"E 4.0", {0, 400}, 50, 0}});
        QVERIFY(WriteTemplatePdf(dir_.filePath("large.pdf"), input, nullptr));
        const QList<Word> words = ReadWords(dir_.filePath("large.pdf"));
        const int pages = words.isEmpty() ? 0 : words.back().page;
        QCOMPARE(pages, 20);  // 860 x 860 mm on frames of 190 x 246 mm
        std::map<QString, QList<Word>> marks;
        for (const Word& w : words) {
            if (w.text.startsWith("№")) {
                marks[w.text].append(w);
            }
        }
        QCOMPARE(marks.size(), size_t{2 * (4 * 4 + 3 * 5)});
        for (const auto& [label, found] : marks) {
            QVERIFY2(found.size() == 2 && found[0].page != found[1].page, qPrintable(label));
            const bool sideBySide = qAbs(found[0].boxMm.top() - found[1].boxMm.top()) < 0.05;
            const bool stacked = qAbs(found[0].boxMm.left() - found[1].boxMm.left()) < 0.05;
            QVERIFY2(sideBySide != stacked, qPrintable(label));
        }
        for (const ConverterMm& converter : input.converters) {
            QVERIFY(!Phrase(words, converter.positionText.c_str(), kBelowHeaderMm).isNull());
        }
        QVERIFY(!Phrase(words, QString("лист %1 из %1:").arg(pages)).isNull());
    }

    // A refused or failed write leaves the old file as it was.
    void RefusalsKeepTheOldFile() {
        const QString path = dir_.filePath("old.pdf");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QString error;
        // Five kilometres wide: far more sheets than allowed.
        QVERIFY(!WriteTemplatePdf(
            path, Input({{"E 36.0", {0, 0}, 50, 0}, {"E 1.0", {5e6, 0}, 50, 0}}), &error));
        QCOMPARE(error, QString("Шаблон не помещается на 100 листов"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QVERIFY(!WriteTemplatePdf(dir_.path(), Input({{"E 36.0", {0, 0}, 50, 0}}), &error));
        QVERIFY(error.startsWith("Не удалось записать файл"));
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::TemplatePdfTest)
#include "template_pdf_test.moc"
