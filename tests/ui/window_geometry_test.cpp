// The window at the scale factor of QT_SCALE_FACTOR: same proportions, texts that fit, no element
// over another.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "window_fixture.h"

using namespace palquin;
using namespace palquin::testing;

class WindowGeometryTest : public QObject {
    Q_OBJECT

  private slots:
    void textsFitAndNothingOverlaps() {
        WindowFixture fixture(SampleFile({}));
        frmMain& w = fixture.Window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        // Logical size is the same at every factor: the proportions are kept.
        QCOMPARE(w.centralWidget()->size(), QSize(757, 602));
        w.Label1[3]->setText(QStringLiteral("W 123.4"));
        for (QWidget* group : QList<QWidget*>{w.Frame1, w.Frame2, w.Frame4, w.Frame5}) {
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
};

QTEST_MAIN(WindowGeometryTest)
#include "window_geometry_test.moc"
