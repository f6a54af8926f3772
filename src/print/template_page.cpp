// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/template_page.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTransform>
#include <filesystem>
#include <string>

#include "platform/file_io.h"

namespace palquin {
namespace {

constexpr double kMmPerInch = 25.4;
// Smallest printable area that still holds the check bar and some drawing, mm.
constexpr double kMinPrintableWidthMm = kCheckBarMm + 10.0;
constexpr double kMinFrameHeightMm = 40.0;
constexpr double kBarLeftMm = 2.0;  // room for the "0" centred under the bar's start
constexpr double kPdfMarginMm = 10.0;
constexpr int kPdfResolutionDpi = 1200;

const QColor kInk(0, 0, 0);
const QColor kCollisionInk(255, 0, 0);
const QColor kRotationInk(255, 0, 255);

void SetError(QString* error, const QString& text) {
    if (error != nullptr) {
        *error = text;
    }
}

QPen PenMm(const QColor& colour, double widthMm) {
    QPen pen(colour, widthMm);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// Text is laid out by the device in its own pixels so a point size means points on paper; the
// rectangle is given in the painter's millimetres.
void TextMm(QPainter& painter, const QRectF& rectMm, int flags, const QString& text) {
    const QRectF onDevice = painter.worldTransform().mapRect(rectMm);
    painter.save();
    painter.resetTransform();
    painter.drawText(onDevice, flags, text);
    painter.restore();
}

class TemplatePainter {
  public:
    TemplatePainter(QPainter& painter, const TemplateInput& input, const TilePlan& plan,
                    const QRectF& frameMm, double pageWidthMm, double pageHeightMm)
        : painter_(painter),
          input_(input),
          plan_(plan),
          frame_(frameMm),
          pageWidthMm_(pageWidthMm),
          pageHeightMm_(pageHeightMm) {
        for (const Collision& collision : FindCollisions(input.converters)) {
            colliding_.resize(input.converters.size(), false);
            colliding_[collision.first] = true;
            colliding_[collision.second] = true;
        }
        const std::string line = CollisionSummary(input.converters);
        collisionLine_ = QString::fromStdString(line);
        dateText_ = input.dateText.empty()
                        ? QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))
                        : QString::fromStdString(input.dateText);
    }

    void Page(int row, int column) {
        Header(row, column);
        Footer();
        painter_.setPen(PenMm(kInk, 0.2));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(frame_);
        Converters(row, column);
        Orientation();
        AlignmentMarks(row, column);
    }

  private:
    void Font(double points, bool bold = false) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(points);
        font.setBold(bold);
        painter_.setFont(font);
    }

    void Header(int row, int column) {
        painter_.setPen(kInk);
        Font(10, true);
        TextMm(painter_, QRectF(0, 0, pageWidthMm_, 5.5), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Шаблон 1:1, вид спереди"));
        const int page = row * plan_.columns + column + 1;
        QString label = QStringLiteral("лист %1 из %2").arg(page).arg(plan_.Pages());
        if (plan_.Pages() > 1) {
            label += QStringLiteral(": ряд %1, столбец %2").arg(row + 1).arg(column + 1);
        }
        TextMm(painter_, QRectF(0, 0, pageWidthMm_, 5.5), Qt::AlignRight | Qt::AlignVCenter, label);
        Font(9);
        TextMm(painter_, QRectF(0, 5.5, pageWidthMm_, 5), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("место: %1    фокус: %2 мм    дата: %3")
                   .arg(QString::fromStdString(input_.siteText),
                        QString::number(input_.focalMm, 'g', 10), dateText_));
        if (!collisionLine_.isEmpty()) {
            painter_.setPen(kCollisionInk);
            TextMm(painter_, QRectF(0, 10.5, pageWidthMm_, 5), Qt::AlignLeft | Qt::AlignVCenter,
                   collisionLine_);
        }
        if (!input_.pageWarning.empty()) {
            // Large and red: a template for satellites that cannot be received must not pass for
            // a good one.
            painter_.setPen(kCollisionInk);
            Font(14, true);
            TextMm(painter_, QRectF(0, kTemplateHeaderMm, pageWidthMm_, kTemplateWarningMm),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   QString::fromStdString(input_.pageWarning));
        }
    }

    // A bar of exactly kCheckBarMm with a tick every 10 mm: the user measures it on paper.
    void Footer() {
        const double top = pageHeightMm_ - kTemplateFooterMm;
        const double barY = top + 5.5;
        painter_.setPen(PenMm(kInk, 0.3));
        painter_.drawLine(QPointF(kBarLeftMm, barY), QPointF(kBarLeftMm + kCheckBarMm, barY));
        painter_.setPen(PenMm(kInk, 0.2));
        for (int k = 0; k <= 10; ++k) {
            const double x = kBarLeftMm + k * 10.0;
            painter_.drawLine(QPointF(x, barY - 1.5), QPointF(x, barY + (k % 5 == 0 ? 3.0 : 1.5)));
        }
        painter_.setPen(kInk);
        Font(8);
        TextMm(painter_, QRectF(kBarLeftMm, top, kCheckBarMm, 3.8),
               Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("проверьте: 100 мм"));
        for (const auto& [x, text] : {std::pair{kBarLeftMm, QStringLiteral("0")},
                                      std::pair{kBarLeftMm + kCheckBarMm, QStringLiteral("100")}}) {
            TextMm(painter_, QRectF(x - 10.0, barY + 3.2, 20.0, 4.0),
                   Qt::AlignHCenter | Qt::AlignVCenter, text);
        }
        // Read as seen from behind the dish, every converter would go on the wrong side.
        const double textLeftMm = kBarLeftMm + kCheckBarMm + 8.0;
        if (pageWidthMm_ - textLeftMm > 30.0) {
            TextMm(painter_, QRectF(textLeftMm, top, pageWidthMm_ - textLeftMm, 9.0),
                   Qt::AlignRight | Qt::AlignVCenter | Qt::TextWordWrap,
                   QString::fromUtf8(kFrontViewText));
        }
    }

    void Converters(int row, int column) {
        const PointMm tile = plan_.TileOriginMm(row, column);
        painter_.save();
        painter_.setClipRect(frame_);
        // From here on the painter works in the layout's millimetres.
        painter_.translate(frame_.left() - tile.xMm, frame_.top() - tile.yMm);
        painter_.setBrush(Qt::NoBrush);
        for (std::size_t i = 0; i < input_.converters.size(); ++i) {
            const ConverterMm& converter = input_.converters[i];
            const QPointF centre(converter.centre.xMm, converter.centre.yMm);
            const double radius = converter.diameterMm / 2.0;
            const bool colliding = i < colliding_.size() && colliding_[i];
            painter_.setPen(colliding ? PenMm(kCollisionInk, 0.6) : PenMm(kInk, 0.3));
            painter_.drawEllipse(centre, radius, radius);

            const double arm = radius + kCrossOverhangMm;
            painter_.setPen(PenMm(kInk, 0.2));
            painter_.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
            painter_.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));

            const RotationLine line = converter.RotationLineMm();
            painter_.setPen(PenMm(kRotationInk, 0.3));
            painter_.drawLine(QPointF(line.first.xMm, line.first.yMm),
                              QPointF(line.second.xMm, line.second.yMm));

            painter_.setPen(colliding ? kCollisionInk : kInk);
            Font(10, true);
            TextMm(painter_,
                   QRectF(centre.x() - kCaptionHalfWidthMm * 2, centre.y() - 5.0,
                          kCaptionHalfWidthMm * 4, 10.0),
                   Qt::AlignCenter, QString::fromStdString(converter.positionText));
        }
        painter_.restore();
    }

    void Orientation() {
        painter_.setPen(kInk);
        Font(8);
        const QRectF inner = frame_.adjusted(1.0, 0.5, -1.0, -0.5);
        TextMm(painter_, inner, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("верх"));
        TextMm(painter_, inner, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("низ"));
        const QString east = QStringLiteral("восток");
        const QString west = QStringLiteral("запад");
        TextMm(painter_, inner, Qt::AlignLeft | Qt::AlignVCenter, input_.eastOnRight ? west : east);
        TextMm(painter_, inner, Qt::AlignRight | Qt::AlignVCenter,
               input_.eastOnRight ? east : west);
    }

    // Where two pages meet, both get the same numbered marks at a quarter and three quarters of
    // the shared edge, running in from it: cut one page along its frame, lay it edge to edge on
    // the other and the marks with the same number continue each other.
    void AlignmentMarks(int row, int column) {
        const int columns = plan_.columns;
        const int rows = plan_.rows;
        // Vertical edges are numbered first, row by row, then the horizontal ones.
        const auto verticalEdge = [&](int r, int c) { return r * (columns - 1) + c + 1; };
        const auto horizontalEdge = [&](int r, int c) {
            return rows * (columns - 1) + r * columns + c + 1;
        };
        Font(7);
        for (int k = 1; k <= 2; ++k) {
            const double along = k == 1 ? 0.25 : 0.75;
            const double y = frame_.top() + frame_.height() * along;
            const double x = frame_.left() + frame_.width() * along;
            if (column + 1 < columns) {
                Mark({frame_.right(), y}, {-kAlignmentMarkMm, 0},
                     QRectF(frame_.right() - 31.0, y - 4.5, 30.0, 4.0),
                     Qt::AlignRight | Qt::AlignBottom, verticalEdge(row, column), k);
            }
            if (column > 0) {
                Mark({frame_.left(), y}, {kAlignmentMarkMm, 0},
                     QRectF(frame_.left() + 1.0, y - 4.5, 30.0, 4.0),
                     Qt::AlignLeft | Qt::AlignBottom, verticalEdge(row, column - 1), k);
            }
            if (row + 1 < rows) {
                Mark({x, frame_.bottom()}, {0, -kAlignmentMarkMm},
                     QRectF(x + 1.0, frame_.bottom() - 5.0, 30.0, 4.0),
                     Qt::AlignLeft | Qt::AlignBottom, horizontalEdge(row, column), k);
            }
            if (row > 0) {
                Mark({x, frame_.top()}, {0, kAlignmentMarkMm},
                     QRectF(x + 1.0, frame_.top() + 1.0, 30.0, 4.0), Qt::AlignLeft | Qt::AlignTop,
                     horizontalEdge(row - 1, column), k);
            }
        }
    }

    void Mark(QPointF edge, QPointF inward, const QRectF& labelMm, int flags, int edgeNumber,
              int k) {
        painter_.setPen(PenMm(kInk, 0.3));
        painter_.drawLine(edge, edge + inward);
        painter_.setPen(kInk);
        TextMm(painter_, labelMm, flags, QStringLiteral("№%1.%2").arg(edgeNumber).arg(k));
    }

    QPainter& painter_;
    const TemplateInput& input_;
    const TilePlan& plan_;
    const QRectF frame_;
    const double pageWidthMm_;
    const double pageHeightMm_;
    std::vector<bool> colliding_;
    QString collisionLine_;
    QString dateText_;
};

}  // namespace

bool PaintTemplate(QPagedPaintDevice& device, const TemplateInput& input, QString* error) {
    if (input.converters.empty()) {
        SetError(error, QStringLiteral("Нет рассчитанных конвертеров для шаблона"));
        return false;
    }
    // Device pixels per millimetre; the painter is scaled by exactly this and nothing else.
    const double pxPerMmX = device.logicalDpiX() / kMmPerInch;
    const double pxPerMmY = device.logicalDpiY() / kMmPerInch;
    const double widthMm = device.width() / pxPerMmX;
    const double heightMm = device.height() / pxPerMmY;
    // The frame line stays inside the printable area; pages meet at the frame lines' centres.
    const double headerMm =
        kTemplateHeaderMm + (input.pageWarning.empty() ? 0.0 : kTemplateWarningMm);
    const QRectF frame(0.25, headerMm, widthMm - 0.5, heightMm - headerMm - kTemplateFooterMm);
    if (!(widthMm >= kMinPrintableWidthMm) || !(frame.height() >= kMinFrameHeightMm)) {
        SetError(error, QStringLiteral("Область печати слишком мала для шаблона"));
        return false;
    }
    std::vector<PointMm> centres;
    for (const ConverterMm& converter : input.converters) {
        centres.push_back(converter.centre);
    }
    const std::optional<TilePlan> plan =
        PlanTiles(ContentBoxMm(input.converters), frame.width(), frame.height(), centres);
    if (!plan) {
        SetError(error, QStringLiteral("Шаблон не помещается на %1 листов").arg(kMaxTemplatePages));
        return false;
    }

    QPainter painter;
    if (!painter.begin(&device)) {
        SetError(error, QStringLiteral("страницу шаблона не удалось нарисовать"));
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    TemplatePainter pages(painter, input, *plan, frame, widthMm, heightMm);
    for (int row = 0; row < plan->rows; ++row) {
        for (int column = 0; column < plan->columns; ++column) {
            if ((row > 0 || column > 0) && !device.newPage()) {
                painter.end();
                SetError(error, QStringLiteral("страницу шаблона не удалось нарисовать"));
                return false;
            }
            painter.setWorldTransform(QTransform::fromScale(pxPerMmX, pxPerMmY));
            pages.Page(row, column);
        }
    }
    if (!painter.end()) {
        SetError(error, QStringLiteral("страницу шаблона не удалось нарисовать"));
        return false;
    }
    return true;
}

bool WriteTemplatePdf(const QString& file, const TemplateInput& input, QString* error) {
    // Made whole in memory, then written by the program's file layer: no FIFO or device is ever
    // opened, hard links are kept, and a failure leaves the old file as it was.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    if (!WriteTemplatePdf(static_cast<QIODevice&>(out), input, error)) {
        return false;
    }
    const QByteArray& pdf = out.data();
    std::string why;
    if (!ReplaceFile(std::filesystem::path(QFile::encodeName(file).toStdString()),
                     std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())), &why)) {
        SetError(error, QString::fromStdString(why));
        return false;
    }
    return true;
}

bool WriteTemplatePdf(QIODevice& out, const TemplateInput& input, QString* error) {
    QPdfWriter writer(&out);
    writer.setResolution(kPdfResolutionDpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                    QPageLayout::Millimeter));
    writer.setCreator(QStringLiteral("Palquin"));
    writer.setTitle(QStringLiteral("Шаблон 1:1"));
    return PaintTemplate(writer, input, error);
}

}  // namespace palquin
