// The window at a scale factor given on the command line (QT_SCALE_FACTOR must be set before the
// application starts): same proportions, texts that fit, no element over another; and the open
// list of a selector as wide as its longest entry.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "window_fixture.h"

using palquin::frmMain;
using palquin::testing::SampleFile;
using palquin::testing::WindowFixture;

namespace {

double g_scale = 1.0;

// The elements that show text and may not run into each other.
QList<QWidget*> Elements(QWidget* group) {
    QList<QWidget*> shown;
    for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisibleTo(group) && (qobject_cast<QLabel*>(child) != nullptr ||
                                          qobject_cast<QLineEdit*>(child) != nullptr ||
                                          qobject_cast<QComboBox*>(child) != nullptr ||
                                          qobject_cast<QPushButton*>(child) != nullptr)) {
            shown.append(child);
        }
    }
    return shown;
}

// The diameter field sits inside the lower part of its slot's results label by design.
bool MeantToOverlap(const QWidget* a, const QWidget* b) {
    const QString pair = a->objectName() + QLatin1Char('/') + b->objectName();
    static const QRegularExpression kDiameterInResults(
        QStringLiteral("^(diam_(\\d)/Label4_\\2|Label4_(\\d)/diam_\\3)$"));
    return kDiameterInResults.match(pair).hasMatch();
}

}  // namespace

class WindowGeometryTest : public QObject {
    Q_OBJECT

  private slots:
    void textsFitAndNothingOverlaps() {
        WindowFixture fixture(SampleFile({}));
        frmMain& w = fixture.Window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.devicePixelRatio(), g_scale);
        // Logical size is the same at every factor: the proportions are kept.
        QCOMPARE(w.centralWidget()->size(), QSize(757, 602));
        w.Label1[3]->setText(QStringLiteral("W 123.4"));
        for (QWidget* group : QList<QWidget*>{w.Frame1, w.Frame2, w.Frame4, w.Frame5}) {
            const QList<QWidget*> shown = Elements(group);
            for (QWidget* element : shown) {
                const QString name = element->objectName();
                QVERIFY2(group->rect().contains(element->geometry()), qPrintable(name));
                const QFontMetrics metrics(element->font());
                if (auto* label = qobject_cast<QLabel*>(element); label && !label->wordWrap()) {
                    const QRect room = label->contentsRect();
                    QVERIFY2(metrics.horizontalAdvance(label->text()) <= room.width() &&
                                 metrics.height() <= room.height(),
                             qPrintable(name + QStringLiteral(": ") + label->text()));
                } else if (auto* button = qobject_cast<QPushButton*>(element)) {
                    // The zoom buttons are tiny: what must fit is the drawn glyph itself.
                    const QRect ink = metrics.tightBoundingRect(button->text());
                    QVERIFY2(ink.width() <= button->width() - 2 && ink.height() <= button->height(),
                             qPrintable(name));
                } else if (auto* field = qobject_cast<QLineEdit*>(element)) {
                    // The longest values a user types: a diameter, a coordinate, a focal length.
                    const QString longest = name.startsWith(QStringLiteral("diam"))
                                                ? QStringLiteral("120")
                                                : QStringLiteral("-179.75");
                    QVERIFY2(metrics.horizontalAdvance(longest) < field->width() - 4,
                             qPrintable(name));
                }
            }
            for (qsizetype a = 0; a < shown.size(); ++a) {
                for (qsizetype b = a + 1; b < shown.size(); ++b) {
                    if (!MeantToOverlap(shown[a], shown[b])) {
                        QVERIFY2(!shown[a]->geometry().intersects(shown[b]->geometry()),
                                 qPrintable(shown[a]->objectName() + QStringLiteral(" over ") +
                                            shown[b]->objectName()));
                    }
                }
            }
        }
    }

    void openListIsAsWideAsItsLongestEntry_data() {
        QTest::addColumn<int>("descriptionLength");
        QTest::newRow("short entries keep the selector's width") << 3;
        QTest::newRow("a long entry widens the list") << 60;
        QTest::newRow("a huge entry stops at the screen") << 5000;
    }
    void openListIsAsWideAsItsLongestEntry() {
        QFETCH(int, descriptionLength);
        const std::string longest =
            "36;0;E;" + std::string(static_cast<size_t>(descriptionLength), 'W') + ";;;";
        WindowFixture fixture(SampleFile({"13;0;E;A;;;", longest, "9;0;E;B;;;"}));
        frmMain& w = fixture.Window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QComboBox* selector = w.Combo1[6];
        const QSize closed = selector->size();
        selector->showPopup();
        QWidget* list = selector->view()->window();
        QTRY_VERIFY(list->isVisible());
        const int screenPx = selector->screen()->availableGeometry().width();
        const int textPx = QFontMetrics(selector->view()->font())
                               .horizontalAdvance(QString::fromStdString(longest));
        const int least = std::min(std::max(textPx, closed.width()), screenPx);
        const int most = std::min(std::max(textPx + 80, closed.width()), screenPx);
        QVERIFY2(list->width() >= least && list->width() <= most,
                 qPrintable(QString("list %1 px, text %2 px").arg(list->width()).arg(textPx)));
        QVERIFY(selector->screen()->availableGeometry().contains(list->geometry()));
        selector->hidePopup();
        QCOMPARE(selector->size(), closed);
    }
};

int main(int argc, char** argv) {
    // The scale factor comes first on the command line and must be in place before Qt starts.
    if (argc > 1 && argv[1][0] != '-') {
        g_scale = std::atof(argv[1]);
        qputenv("QT_SCALE_FACTOR", argv[1]);
        --argc;
        ++argv;
        argv[0] = argv[-1];
    }
    QApplication app(argc, argv);
    WindowGeometryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_geometry_test.moc"
