// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QTemporaryFile>
#include <memory>
#include <optional>

#include "print/printer.h"

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace palquin {

/// Where a print job goes.
struct PrintDestination {
    enum class Kind { DefaultPrinter, NamedPrinter, PdfFile };
    Kind kind = Kind::DefaultPrinter;
    QString name;  ///< the queue of a NamedPrinter, the path of a PdfFile
    int copies = 1;
    std::optional<QPageLayout> layout;  ///< page size and margins; else the printer's default
    bool duplex = false;
    bool trueSize = false;  ///< ask the print system to print the pages unscaled
};

/// One print job. The pages are drawn at 600 dpi into a PDF document in a temporary file; only
/// a finished document is delivered, queued with the print system as one job or written to the
/// PDF file in one piece, so that nothing is ever printed half. The document is a QPdfWriter
/// rather than a QPrinter: widgets rendered onto a printer go through a pixmap, onto a PDF
/// writer they draw their text and lines as such.
///
///     PrintJob job(destination, title);
///     if (job.Begin()) { draw on job.Painter() inside job.PageArea(); job.NewPage(); ... }
///     PrintResult result = job.Finish();
class PrintJob {
  public:
    static constexpr int kResolutionDpi = 600;

    PrintJob(PrintDestination destination, QString title);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    /// Finds the printer and starts the document; false when there is no printer or nothing to
    /// draw on (Finish then reports why).
    bool Begin();
    /// As Begin, for a drawing that starts its own painter on the document and makes its own
    /// pages: the document, or null when there is nothing to draw on.
    QPagedPaintDevice* BeginDevice();
    /// The drawing failed: nothing of the document is delivered, Finish reports the reason.
    void Abandon(const QString& reason) { Fail(reason); }
    QPainter& Painter() { return painter_; }
    /// The printable area of the page, device pixels of Painter().
    QRectF PageArea() const;
    bool NewPage();
    /// Ends the document and delivers it. Without a successful Begin nothing is delivered.
    PrintResult Finish();

  private:
    bool Fail(const QString& reason);
    bool OpenDocument();
    bool Deliver();

    PrintDestination destination_;
    QString title_;
    QString queue_;  ///< the resolved printer queue
    QTemporaryFile document_;
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPrinter> printer_;  ///< only without CUPS, printing through Qt
    QPagedPaintDevice* device_ = nullptr;
    QPainter painter_;
    bool started_ = false;
    QString error_;
};

}  // namespace palquin
