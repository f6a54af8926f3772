// SPDX-License-Identifier: GPL-3.0-or-later
// The window at the scale factor of QT_SCALE_FACTOR: same proportions, texts that fit, no element
// over another.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "common/window_fixture.h"

using namespace palquin;
using namespace palquin::testing_support;

class WindowGeometryTest : public QObject {
    Q_OBJECT

  private slots:
    void textsFitAndNothingOverlaps() {
        WindowFixture fixture(SampleFile({}));
        MainWindow& w = fixture.Window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        // Logical size is the same at every factor: the proportions are kept.
        QCOMPARE(w.Client()->size(), QSize(757, 602));
        Find<QLabel>(w, "Label1", 3)->setText(QStringLiteral("W 123.4"));
        for (const char* groupName : {"Frame1", "Frame2", "Frame4", "Frame5"}) {
            auto* group = Find<QGroupBox>(w, groupName);
            QList<QWidget*> shown;
            for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const QString name = child->objectName();
                const QFontMetrics metrics(child->font());
                auto* label = qobject_cast<QLabel*>(child);
                if (!child->isVisibleTo(group)) {
                    continue;
                } else if (label != nullptr && !label->wordWrap()) {
                    const QRect room = label->contentsRect();
                    QVERIFY2(metrics.horizontalAdvance(label->text()) <= room.width() &&
                                 metrics.height() <= room.height(),
                             qPrintable(name + QStringLiteral(": ") + label->text()));
                } else if (auto* button = qobject_cast<QPushButton*>(child)) {
                    // The zoom buttons are tiny: what must fit is the drawn glyph itself.
                    const QRect ink = metrics.tightBoundingRect(button->text());
                    QVERIFY2(ink.width() <= button->width() - 2 && ink.height() <= button->height(),
                             qPrintable(name));
                } else if (auto* field = qobject_cast<QLineEdit*>(child)) {
                    // The longest values a user types: a diameter, a coordinate, a focal length.
                    const QString longest = name.startsWith("diam") ? "120" : "-179.75";
                    QVERIFY2(metrics.horizontalAdvance(longest) < field->width() - 4,
                             qPrintable(name));
                } else if (label == nullptr && qobject_cast<QComboBox*>(child) == nullptr) {
                    continue;
                }
                QVERIFY2(group->rect().contains(child->geometry()), qPrintable(name));
                for (QWidget* other : shown) {
                    // The diameter field sits inside its slot's results label by design.
                    const QString pair = other->objectName() + ' ' + name;
                    const bool meant = pair.contains(QRegularExpression("^Label4_(\\d) diam_\\1$"));
                    QVERIFY2(meant || !child->geometry().intersects(other->geometry()),
                             qPrintable(name + QStringLiteral(" over ") + other->objectName()));
                }
                shown.append(child);
            }
        }
    }

    // Where the window does not fit the screen's work area, its client scrolls and its bottom
    // (the ticker, the zoom buttons) can be brought into view; where it fits, nothing scrolls.
    // PALQUIN_SCREEN_FITS, where set, says which of the two this run's screen is meant to show.
    void bottomWithinReach() {
        WindowFixture fixture(SampleFile({}));
        MainWindow& w = fixture.Window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::processEvents();
        const QRect available = w.screen()->availableGeometry();
        QCOMPARE(w.frameGeometry().height() <= available.height(), true);
        QCOMPARE(w.frameGeometry().width() <= available.width(), true);
        QScrollArea& scroll = *Find<QScrollArea>(w, "clientScroll");
        const QSize frame = w.frameGeometry().size() - w.geometry().size();
        const QSize natural = QSize(757, w.menuBar()->height() + 602) + frame;
        const bool fits = natural.height() <= available.height();
        const QString expected = qEnvironmentVariable("PALQUIN_SCREEN_FITS");
        QVERIFY(expected.isEmpty() || fits == (expected == QStringLiteral("1")));
        QCOMPARE(scroll.verticalScrollBar()->isVisible(), !fits);
        const int bar = fits ? 0 : scroll.verticalScrollBar()->width();
        QCOMPARE(scroll.horizontalScrollBar()->isVisible(),
                 natural.width() + bar > available.width());
        QCOMPARE(w.Client()->size(), QSize(757, 602));  // the layout is as it is
        for (const QString name : {"Label9", "cmdMin", "cmdMax"}) {
            auto* bottom = Find<QWidget>(w, name);
            scroll.ensureWidgetVisible(bottom, 0, 0);
            const QRect shown(bottom->mapTo(scroll.viewport(), QPoint()), bottom->size());
            const QRect view = scroll.viewport()->rect();
            // The ticker may be wider than a tiny screen: in view top to bottom, and in part.
            QVERIFY2(shown.top() >= 0 && shown.bottom() <= view.bottom() &&
                         view.intersects(shown) && (name == "Label9" || view.contains(shown)),
                     qPrintable(name));
        }
        // A click reaches a zoom button where the scrolling put it.
        const double scale = w.Layout().Scale();
        QTest::mouseClick(Find<QPushButton>(w, "cmdMax"), Qt::LeftButton);
        QVERIFY(w.Layout().Scale() != scale);
    }
};

QTEST_MAIN(WindowGeometryTest)
#include "window_geometry_test.moc"
