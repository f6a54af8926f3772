// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs speak Russian like the rest of the window, and windows carry the program's icon.
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "app/application_look.h"

using namespace palquin;

namespace {

bool RussianQtInstalled() {
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm");
}

// The texts of the buttons a user sees, without their shortcut marks.
QStringList VisibleButtonTexts(const QWidget& window) {
    QStringList texts;
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->isVisible() && !button->text().isEmpty()) {
            texts << button->text().remove(u'&');
        }
    }
    return texts;
}

}  // namespace

class ApplicationLookTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        // An English locale, as on a machine set up in English: the texts must not depend on it.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        russian_ = PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    }

    // The print dialog (shown without exec, read, closed: no one has to answer it) and the
    // buttons of message boxes and file dialogs.
    void qtDialogsSpeakRussian() {
        if (!RussianQtInstalled()) {
            QSKIP("Qt's Russian translation is not installed (qt6-translations-l10n)");
        }
        QVERIFY(russian_);
        QPrinter printer;
        QPrintDialog dialog(&printer);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QStringList texts = VisibleButtonTexts(dialog);
        dialog.close();
        for (const char* english : {"Print", "Cancel", "Options >>", "Properties"}) {
            QVERIFY2(!texts.contains(english), qPrintable(texts.join(" | ")));
        }
        for (const char* russian : {"Печать", "Отмена"}) {
            QVERIFY2(texts.contains(QString::fromUtf8(russian)), qPrintable(texts.join(" | ")));
        }
        QVERIFY2(dialog.windowTitle() != "Print", qPrintable(dialog.windowTitle()));

        using Button = QDialogButtonBox::StandardButton;
        const std::pair<Button, const char*> buttons[] = {
            {Button::Ok, "OK"},          {Button::Cancel, "Отмена"}, {Button::Open, "Открыть"},
            {Button::Save, "Сохранить"}, {Button::Yes, "Да"},        {Button::No, "Нет"}};
        for (const auto& [button, russian] : buttons) {
            QDialogButtonBox box(button);
            const QString text = box.button(button)->text().remove(u'&');
            QVERIFY2(text == QString::fromUtf8(russian), qPrintable(text));
        }
    }

    // Every window gets the program's own picture, not Qt's generic one.
    void windowsCarryTheProgramsIcon() {
        if (!QImageReader::supportedImageFormats().contains("svg")) {
            QSKIP("Qt's SVG plug-in is not installed (libqt6svg6)");
        }
        // The picture itself (the ready-drawn sizes are checked against the SVG below).
        const QImage icon = QApplication::windowIcon().pixmap(64, 64).toImage();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon, ProgramIcon().pixmap(64, 64).toImage());
        QWidget window;
        QCOMPARE(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }

    // The ready-drawn sizes are the SVG's picture, not an older one: the PNG copies must be
    // drawn again whenever resources/palquin.svg changes (PALQUIN_DRAW_ICON_COPIES=resources/icons
    // makes this test write them there). Other sizes come from the SVG itself.
    void iconCopiesMatchTheSvg_data() {
        QTest::addColumn<int>("side");
        for (const int side : kProgramIconSizes) {
            QTest::addRow("copy %d", side) << side;
        }
        QTest::addRow("drawn 24") << 24;
        QTest::addRow("drawn 48") << 48;
    }
    void iconCopiesMatchTheSvg() {
        QFETCH(int, side);
        if (!QImageReader::supportedImageFormats().contains("svg")) {
            QSKIP("Qt's SVG plug-in is not installed (libqt6svg6)");
        }
        const QSize size(side, side);
        const QImage shown =
            ProgramIcon().pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage drawn = QIcon(QStringLiteral(":/palquin/palquin.svg"))
                                 .pixmap(size, 1.0)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32);
        if (const QString to = qEnvironmentVariable("PALQUIN_DRAW_ICON_COPIES"); !to.isEmpty()) {
            if (std::find(std::begin(kProgramIconSizes), std::end(kProgramIconSizes), side) !=
                std::end(kProgramIconSizes)) {
                QVERIFY(drawn.save(QStringLiteral("%1/palquin-%2.png").arg(to).arg(side), "PNG"));
            }
            return;
        }
        QCOMPARE(shown.size(), size);
        QCOMPARE(drawn.size(), size);
        int differing = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QColor a = shown.pixelColor(x, y);
                const QColor b = drawn.pixelColor(x, y);
                const int most =
                    std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                              std::abs(a.blue() - b.blue()), std::abs(a.alpha() - b.alpha())});
                differing += most > 8 ? 1 : 0;
            }
        }
        QVERIFY2(differing == 0, qPrintable(QString("%1 pixels differ").arg(differing)));
    }

  private:
    bool russian_ = false;
};

QTEST_MAIN(ApplicationLookTest)
#include "application_look_test.moc"
