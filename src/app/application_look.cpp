// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application_look.h"

#include <QApplication>
#include <QIcon>
#include <QIconEngine>
#include <QLibraryInfo>
#include <QPainter>
#include <QPixmap>
#include <QTranslator>
#include <algorithm>
#include <iterator>
#include <optional>

namespace palquin {
namespace {

const QString kSvgPath = QStringLiteral(":/palquin/palquin.svg");

// PNG copies for the listed sizes in the normal mode, the SVG for everything else; the SVG's
// engine is made only when first needed.
class ProgramIconEngine : public QIconEngine {
  public:
    ProgramIconEngine() = default;
    ProgramIconEngine(const ProgramIconEngine&) = default;

    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (mode == QIcon::Normal && size.width() == size.height() &&
            std::find(std::begin(kProgramIconSizes), std::end(kProgramIconSizes), size.width()) !=
                std::end(kProgramIconSizes)) {
            QPixmap copy(QStringLiteral(":/palquin/icons/palquin-%1.png").arg(size.width()));
            if (!copy.isNull()) {
                return copy;
            }
        }
        return Svg().pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        if (mode != QIcon::Normal) {
            return Svg().availableSizes(mode, state);
        }
        QList<QSize> sizes;
        for (const int side : kProgramIconSizes) {
            sizes.append(QSize(side, side));
        }
        return sizes;
    }

    QString key() const override { return QStringLiteral("palquin"); }

  private:
    const QIcon& Svg() {
        if (!svg_) {
            svg_ = QIcon(kSvgPath);
        }
        return *svg_;
    }

    std::optional<QIcon> svg_;
};

}  // namespace

QIcon ProgramIcon() {
    return QIcon(new ProgramIconEngine);
}

bool PrepareApplication(QApplication& app) {
    QApplication::setWindowIcon(ProgramIcon());
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
