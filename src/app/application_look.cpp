// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application_look.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace palquin {

bool PrepareApplication(QApplication& app) {
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/palquin/palquin.svg")));
    auto* qtTexts = new QTranslator(&app);
    if (!qtTexts->load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTexts;
        return false;
    }
    QCoreApplication::installTranslator(qtTexts);
    return true;
}

}  // namespace palquin
