// SPDX-License-Identifier: GPL-3.0-or-later
// The window's flat frames, drawn without a style sheet: border and text each in their own
// colour, the line edit's border whole over the style's rounded panel, and the elements inside a
// group in the application's font while its title keeps the parent's.
#include <QApplication>
#include <QtTest>

#include "ui/flat_widgets.h"

using namespace palquin;

namespace {

const QColor kBorder(0, 0, 0);
const QColor kText(128, 0, 0);
const QColor kBackground(224, 224, 224);

QImage Render(QWidget& widget, const QSize& size) {
    widget.resize(size);
    return widget.grab().toImage();
}

bool Holds(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

// The outermost ring of pixels, all of one colour.
bool RingIs(const QImage& image, const QColor& colour) {
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, 0) != colour || image.pixelColor(x, image.height() - 1) != colour) {
            return false;
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(0, y) != colour || image.pixelColor(image.width() - 1, y) != colour) {
            return false;
        }
    }
    return true;
}

}  // namespace

class FlatWidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void labelBorderAndTextKeepTheirColours() {
        FlatLabel label(QStringLiteral("Центральный"), kBorder, nullptr);
        QPalette palette = label.palette();
        palette.setColor(QPalette::WindowText, kText);
        palette.setColor(QPalette::Window, kBackground);
        label.setPalette(palette);
        label.setAutoFillBackground(true);
        label.setAlignment(Qt::AlignCenter);
        const QImage image = Render(label, QSize(120, 24));
        QVERIFY(RingIs(image, kBorder));
        QVERIFY2(Holds(image, kText), "no pixel in the text's own colour");
        QCOMPARE(image.pixelColor(1, 1), kBackground);
        // The text lies inside the border.
        QCOMPARE(label.contentsRect(), QRect(1, 1, 118, 22));
    }

    void lineEditBorderIsWholeOverItsBackground() {
        const QColor grey(128, 128, 128);
        const QColor pink(255, 192, 192);
        FlatLineEdit field(QStringLiteral("50"), grey, nullptr);
        QPalette palette = field.palette();
        palette.setColor(QPalette::Base, pink);
        palette.setColor(QPalette::Text, Qt::black);
        field.setPalette(palette);
        const QImage image = Render(field, QSize(33, 16));
        QVERIFY(RingIs(image, grey));
        // The corners just inside the border, which the style's rounded panel leaves out.
        for (const QPoint& corner : {QPoint(1, 1), QPoint(31, 1), QPoint(1, 14), QPoint(31, 14)}) {
            QCOMPARE(image.pixelColor(corner), pink);
        }
    }

    void groupTitleTakesTheParentsFontItsElementsTheApplications() {
        QWidget client;
        QFont small = client.font();
        small.setPointSizeF(QApplication::font().pointSizeF() - 1);
        client.setFont(small);
        FlatGroupBox group(QStringLiteral("Координаты места"), Qt::white, 7, &client);
        QLabel inside(QStringLiteral("Широта:"), &group);
        QCOMPARE(inside.font().pointSizeF(), QApplication::font().pointSizeF());

        const QImage image = Render(group, QSize(200, 60));
        const QColor grey(128, 128, 128);
        QCOMPARE(image.pixelColor(0, 7), grey);  // the border starts below the title's middle
        QCOMPARE(image.pixelColor(0, 6), image.pixelColor(0, 0));  // nothing drawn above it
        QCOMPARE(image.pixelColor(199, 59), grey);
        QCOMPARE(image.pixelColor(100, 30), QColor(Qt::white));
        // The border line gives way to the title, and only there.
        QCOMPARE(image.pixelColor(5, 7), grey);
        QVERIFY(image.pixelColor(10, 7) != grey);
        QCOMPARE(image.pixelColor(190, 7), grey);
    }
};

QTEST_MAIN(FlatWidgetsTest)
#include "flat_widgets_test.moc"
