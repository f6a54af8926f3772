// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/print_job.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/file_io.h"
#include "print/print_server.h"

#if PALQUIN_HAVE_CUPS
#include "print/cups_library.h"
#endif

namespace palquin {
namespace {

QPageLayout FallbackLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

// The page size and the smallest margins the printer itself reports.
QPageLayout PrinterLayout(const QString& queue) {
    QPrinter probe(QPrinter::HighResolution);
    probe.setPrinterName(queue);
    if (!probe.isValid()) {
        return FallbackLayout();
    }
    return probe.pageLayout();
}

}  // namespace

PrintJob::PrintJob(PrintDestination destination, QString title)
    : destination_(std::move(destination)), title_(std::move(title)) {
    document_.setFileTemplate(QDir::temp().filePath(QStringLiteral("palquin-XXXXXX.pdf")));
}

PrintJob::~PrintJob() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

bool PrintJob::Fail(const QString& reason) {
    if (error_.isEmpty()) {
        error_ = reason;
    }
    return false;
}

bool PrintJob::Begin() {
    if (!OpenDocument()) {
        return false;
    }
    if (!painter_.begin(device_)) {
        return Fail(QStringLiteral("страницу не удалось нарисовать"));
    }
    started_ = true;
    return true;
}

QPagedPaintDevice* PrintJob::BeginDevice() {
    if (!OpenDocument()) {
        return nullptr;
    }
    started_ = true;
    return device_;
}

bool PrintJob::OpenDocument() {
    QPageLayout layout = FallbackLayout();
    if (destination_.kind == PrintDestination::Kind::PdfFile) {
        if (destination_.name.isEmpty()) {
            return Fail(QStringLiteral("не указано имя файла PDF"));
        }
    } else {
        // Asked first, away from this thread and with a short timeout: everything below talks to
        // the print system with its own long timeouts.
        const PrintServerState server = ProbePrintServer();
        if (destination_.kind == PrintDestination::Kind::NamedPrinter) {
            if (server.kind != PrintServerState::Kind::Answers) {
                return Fail(DefaultPrinterProblem(server));
            }
            queue_ = destination_.name;
        } else {
            const QString problem = DefaultPrinterProblem(server);
            if (!problem.isEmpty()) {
                return Fail(problem);
            }
            queue_ = server.defaultQueue;
        }
        layout = PrinterLayout(queue_);
    }
    if (destination_.layout) {
        layout = *destination_.layout;
    }

#if PALQUIN_HAVE_CUPS
    const bool toPdf = true;
#else
    const bool toPdf = destination_.kind == PrintDestination::Kind::PdfFile;
#endif
    if (toPdf) {
        if (!document_.open()) {
            return Fail(
                QStringLiteral("нет места для временного файла: %1").arg(document_.errorString()));
        }
        document_.close();  // the writer writes it by name
        pdf_ = std::make_unique<QPdfWriter>(document_.fileName());
        pdf_->setResolution(kResolutionDpi);
        pdf_->setTitle(title_);
        pdf_->setCreator(QStringLiteral("Palquin"));
        device_ = pdf_.get();
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPrinterName(queue_);
        printer_->setCopyCount(destination_.copies);
        printer_->setResolution(kResolutionDpi);
        printer_->setDocName(title_);
        device_ = printer_.get();
    }
    if (!device_->setPageLayout(layout)) {
        return Fail(QStringLiteral("такой размер страницы невозможен"));
    }
    return true;
}

QRectF PrintJob::PageArea() const {
    if (device_ == nullptr) {
        return QRectF();
    }
    // The painter's origin is the top left of the printable area.
    const QPageLayout layout = device_->pageLayout();
    return QRectF(QPointF(0.0, 0.0), QSizeF(layout.paintRectPixels(device_->logicalDpiX()).size()));
}

bool PrintJob::NewPage() {
    return started_ && device_->newPage();
}

PrintResult PrintJob::Finish() {
    if (started_) {
        started_ = false;
        // A drawing that brought its own painter has ended it already.
        if (painter_.isActive() && !painter_.end()) {
            Fail(QStringLiteral("документ не удалось закончить"));
        }
        if (error_.isEmpty()) {
            Deliver();
        }
    }
    if (error_.isEmpty() && device_ == nullptr) {
        Fail(QStringLiteral("задание не началось"));
    }
    return {error_.isEmpty(), error_};
}

bool PrintJob::Deliver() {
    if (destination_.kind == PrintDestination::Kind::PdfFile) {
        // The user's file is written by the program's own file layer, as every file it writes: a
        // FIFO or a device is refused without blocking, hard links are kept, and on any failure
        // the old file stays whole.
        QFile made(document_.fileName());
        if (!made.open(QIODevice::ReadOnly)) {
            return Fail(QStringLiteral("документ PDF не удалось прочитать"));
        }
        const QByteArray bytes = made.readAll();
        if (bytes.isEmpty()) {
            return Fail(QStringLiteral("документ PDF пуст"));
        }
        std::string error;
        const std::filesystem::path target(QFile::encodeName(destination_.name).toStdString());
        if (!ReplaceFile(target,
                         std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                         &error)) {
            return Fail(QString::fromStdString(error));
        }
        return true;
    }
#if PALQUIN_HAVE_CUPS
    std::string unavailable;
    const CupsLibrary* cups = Cups(&unavailable);
    if (cups == nullptr) {
        return Fail(QString::fromStdString(unavailable));
    }
    cups_option_t* options = nullptr;
    int count = 0;
    if (destination_.copies > 1) {
        count = cups->addOption("copies", QByteArray::number(destination_.copies).constData(),
                                count, &options);
    }
    if (destination_.layout) {
        const QByteArray media = destination_.layout->pageSize().key().toUtf8();
        count = cups->addOption("media", media.constData(), count, &options);
    }
    if (destination_.duplex) {
        count = cups->addOption("sides", "two-sided-long-edge", count, &options);
    }
    if (destination_.trueSize) {
        count = cups->addOption("print-scaling", "none", count, &options);
    }
    const int job = cups->printFile(queue_.toLocal8Bit().constData(),
                                    QFile::encodeName(document_.fileName()).constData(),
                                    title_.toUtf8().constData(), count, options);
    cups->freeOptions(count, options);
    if (job == 0) {
        const ipp_status_t status = cups->lastError();
        // A stopped or rejecting queue says so when the job arrives.
        if (status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS) {
            return Fail(QStringLiteral("очередь не принимает задания"));
        }
        return Fail(QStringLiteral("сервер печати отказал в задании: %1")
                        .arg(QString::fromUtf8(cups->lastErrorString())));
    }
#endif
    return true;
}

}  // namespace palquin
