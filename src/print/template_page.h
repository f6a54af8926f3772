// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "print/template_input.h"

class QIODevice;
class QPagedPaintDevice;

namespace palquin {

/// Bands of every template page, mm, inside the printable area: the header (title, site, page
/// label), the frame with the drawing, the footer (check bar).
inline constexpr double kTemplateHeaderMm = 17.0;
inline constexpr double kTemplateFooterMm = 14.0;
/// The band under the header that carries the page warning, when there is one.
inline constexpr double kTemplateWarningMm = 10.0;
/// Length of the bar the user measures to see that nothing was scaled.
inline constexpr double kCheckBarMm = 100.0;
/// How far an alignment mark reaches into the frame from the edge two pages share.
inline constexpr double kAlignmentMarkMm = 8.0;

/// Draws the 1:1 template on any paged device (printer, PDF file) at true size: one millimetre of
/// the layout is one millimetre on paper, whatever the device's resolution. A drawing larger than
/// the frame is cut over several pages. False, with a Russian message in *error, when the
/// printable area is too small, the drawing would need too many pages, or the device refuses.
bool PaintTemplate(QPagedPaintDevice& device, const TemplateInput& input, QString* error);

/// The same drawing into a PDF file on A4 paper with 10 mm margins. The file is replaced only
/// when the whole document was written.
bool WriteTemplatePdf(const QString& file, const TemplateInput& input, QString* error);

/// The same PDF document written to an open device (a buffer, for a caller that saves the bytes
/// itself).
bool WriteTemplatePdf(QIODevice& out, const TemplateInput& input, QString* error);

}  // namespace palquin
