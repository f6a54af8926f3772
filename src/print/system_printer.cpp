// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/system_printer.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <QStandardPaths>

#include "print/page_composer.h"
#include "print/print_server.h"
#include "print/template_page.h"

namespace palquin {

QString SuggestedPdfPath() {
    // Somewhere the user looks for files, never the program's own (hidden) data folder.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    return QDir(folder).filePath(QStringLiteral("palquin.pdf"));
}

void PrepareDialogPrinter(QPrinter& printer) {
    // A file name of its own for "Print to File"; the format set back afterwards keeps the
    // default printer the dialog's first choice.
    printer.setOutputFileName(SuggestedPdfPath());
    printer.setOutputFormat(QPrinter::NativeFormat);
}

FileSafePrintDialog::FileSafePrintDialog(QPrinter* printer, QWidget* parent)
    : QPrintDialog(printer, parent) {
    // OK runs Qt's check of the fields, which opens the file; it goes through here first.
    for (QDialogButtonBox* buttons : findChildren<QDialogButtonBox*>()) {
        if (QObject::disconnect(buttons, SIGNAL(accepted()), this, SLOT(_q_checkFields()))) {
            connect(buttons, &QDialogButtonBox::accepted, this, &FileSafePrintDialog::CheckFields);
        }
    }
}

void FileSafePrintDialog::CheckFields() {
#ifndef _WIN32
    const auto* file = findChild<QLineEdit*>(QStringLiteral("filename"));
    if (file != nullptr && file->isEnabled() && !file->text().isEmpty()) {
        const QByteArray name = QFile::encodeName(file->text());
        struct stat link {};
        struct stat target {};
        if (::lstat(name.constData(), &link) == 0 &&
            (::stat(name.constData(), &target) != 0 || !S_ISREG(target.st_mode))) {
            uncheckedFile_ = file->text();
            QDialog::accept();
            return;
        }
    }
#endif
    QMetaObject::invokeMethod(this, "_q_checkFields");
}

PrintResult SystemPrinter::CheckBeforeDialog() {
    // Only a server that takes the connection and then says nothing hangs the dialog; without
    // any server the dialog still offers a PDF file.
    if (ProbePrintServer().kind == PrintServerState::Kind::Silent) {
        return {false, QStringLiteral("сервер печати не отвечает")};
    }
    return {true, QString()};
}

bool SystemPrinter::ChooseDestination(QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    PrepareDialogPrinter(printer);
    FileSafePrintDialog dialog(&printer, parent);
    // One page, always all of it.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    PrintDestination picked;
    if (!dialog.UncheckedFile().isEmpty()) {
        picked.kind = PrintDestination::Kind::PdfFile;
        picked.name = dialog.UncheckedFile();
        chosen_ = picked;
        return true;
    }
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        picked.kind = PrintDestination::Kind::PdfFile;
        picked.name = printer.outputFileName();
    } else {
        picked.kind = PrintDestination::Kind::NamedPrinter;
        picked.name = printer.printerName();
    }
    picked.copies = printer.copyCount();
    picked.layout = printer.pageLayout();
    picked.duplex = printer.duplex() != QPrinter::DuplexNone;
    chosen_ = picked;
    return true;
}

PrintResult SystemPrinter::PrintWidget(QWidget& widget, const QString& jobTitle) {
    PrintJob job(chosen_.value_or(fixed_), jobTitle);
    chosen_.reset();
    if (job.Begin()) {
        ComposeWidgetPage(job.Painter(), widget, job.PageArea());
    }
    return job.Finish();
}

PrintResult SystemPrinter::PrintTemplatePages(const TemplateInput& input, const QString& jobTitle) {
    PrintDestination destination = chosen_.value_or(fixed_);
    chosen_.reset();
    // Pages of a template are cut and taped edge to edge: one side each, never scaled.
    destination.duplex = false;
    destination.trueSize = true;
    PrintJob job(destination, jobTitle);
    if (QPagedPaintDevice* document = job.BeginDevice()) {
        QString error;
        if (!PaintTemplate(*document, input, &error)) {
            job.Abandon(error);
        }
    }
    return job.Finish();
}

}  // namespace palquin
