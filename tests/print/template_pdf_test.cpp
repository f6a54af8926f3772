// SPDX-License-Identifier: GPL-3.0-or-later
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

    // Converters where the layout puts them, millimetre for millimetre, the check bar's end
    // labels 100 mm apart; the two 50 mm apart that need 60 mm in red and named in the header.
    void OnePageAtTrueSize() {
        const QString pdf = dir_.filePath("one.pdf");
        const TemplateInput input = Input({{"E 36.0", {0, 0}, 60, 0},
                                           {"E 13.0", {40, -30}, 60, 20},
                                           {"E 75.0", {-60, 50}, 50, -10}});
        QVERIFY(WriteTemplatePdf(pdf, input, nullptr));
        const QList<Word> words = ReadWords(pdf);
        QVERIFY(!words.isEmpty() && words.back().page == 1);
        QVERIFY(!Phrase(words, "E 36.0 и E 13.0 мешают друг другу: 50 мм из 60").isNull());
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
        const QRectF west = Phrase(words, "запад");
        QVERIFY(!west.isNull() && Phrase(words, "восток").left() > west.right());

        // Red pixels at ten a millimetre in the square around each body.
        QCOMPARE(QProcess::execute("pdftoppm",
                                   {"-r", "254", "-png", "-singlefile", pdf, dir_.filePath("one")}),
                 0);
        const QImage page(dir_.filePath("one.png"));
        const auto red = [&](const char* text, double radiusMm) {
            const QPointF centre = Phrase(words, text, kBelowHeaderMm).center() * 10;
            int n = 0;
            for (int y = int(centre.y() - radiusMm * 10); y < centre.y() + radiusMm * 10; ++y) {
                for (int x = int(centre.x() - radiusMm * 10); x < centre.x() + radiusMm * 10; ++x) {
                    const QRgb p = page.pixel(x, y);
                    n += qRed(p) > 200 && qGreen(p) < 100 && qBlue(p) < 100;
                }
            }
            return n;
        };
        QVERIFY(red("E 36.0", 31) > 5000 && red("E 13.0", 31) > 5000);  // each circle: ~14000
        QCOMPARE(red("E 75.0", 26), 0);
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
        QVERIFY(!words.isEmpty() && words.back().page == 20);  // 860 x 860 mm, frames 190 x 246
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
    }

    // A refused write leaves the old file as it was.
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
    }
};

}  // namespace palquin

QTEST_MAIN(palquin::TemplatePdfTest)
#include "template_pdf_test.moc"
