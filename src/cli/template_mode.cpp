// SPDX-License-Identifier: GPL-3.0-or-later
#include <QBuffer>
#include <charconv>
#include <cmath>
#include <system_error>

#include "calc/aim.h"
#include "cli/arguments.h"
#include "cli/modes.h"
#include "core/field_ranges.h"
#include "core/numeric_value.h"
#include "platform/file_io.h"
#include "print/template_input.h"
#include "print/template_page.h"

namespace palquin::cli {

int RunTemplate(const Invocation& invocation, Context& context) {
    // Every value was checked when the command line was read.
    const std::filesystem::path out =
        PathFromArgument(invocation.Value(QStringLiteral("template")).value_or(QString()));
    // The catalogue in use must never turn into a PDF, whatever name leads to it.
    std::error_code sameError;
    if (std::filesystem::equivalent(out, invocation.catalogue.value_or(context.defaultCatalogue),
                                    sameError)) {
        context.err << ArgumentBytes(
            QStringLiteral("palquin: шаблон не записан: файл «%1» — это каталог спутников, "
                           "укажите для шаблона другой файл\n")
                .arg(ShownArgument(PathText(out))));
        context.err.flush();
        return kExitFailure;
    }
    int status = kExitOk;
    const std::optional<ConverterSite> where = ResolveConverterSite(invocation, context, &status);
    if (!where) {
        return status;
    }
    const SignedSite& site = where->site;
    const double focalMm = where->focalMm;
    const std::optional<QString> diameterText = invocation.Value(QStringLiteral("diameter"));
    const double diameterMm = diameterText
                                  ? PlainMillimetres(*diameterText).value_or(kDefaultDiameterMm)
                                  : kDefaultDiameterMm;

    TemplateRequest request;
    request.latitudeDeg = std::abs(site.latitudeDeg);
    request.ns = site.latitudeDeg < 0.0 ? "S" : "N";
    request.longitudeDeg = std::abs(site.longitudeDeg);
    request.ew = site.longitudeDeg < 0.0 ? "W" : "E";
    request.focalMm = focalMm;
    request.dish = PreciseDish(invocation, focalMm);
    QStringList positions{invocation.Value(QStringLiteral("central")).value_or(QString())};
    positions += invocation.Values(QStringLiteral("extra"));
    for (const QString& text : positions) {
        const std::optional<OrbitalPosition> position = ParseOrbitalPosition(text.toStdString());
        if (!position) {
            return UsageError(context, QStringLiteral("неверная позиция спутника «%1»").arg(text));
        }
        request.converters.push_back({CataloguePositionText(*position), diameterMm});
    }

    std::string problem;
    std::vector<std::string> warnings;
    const std::optional<TemplateInput> input = BuildTemplateInput(request, &problem, &warnings);
    if (!input) {
        context.err << ArgumentBytes(QStringLiteral("palquin: шаблон не записан: %1\n")
                                         .arg(QString::fromStdString(problem)));
        context.err.flush();
        return kExitFailure;
    }
    for (const std::string& warning : warnings) {
        context.err << "palquin: предупреждение: " << warning << '\n';
    }

    // The document is made in memory and the file replaced in one piece: a failure anywhere
    // leaves the old file as it was.
    QByteArray pdf;
    QString error;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        if (!WriteTemplatePdf(buffer, *input, &error)) {
            context.err << ArgumentBytes(
                QStringLiteral("palquin: шаблон не записан: %1\n").arg(error));
            context.err.flush();
            return kExitFailure;
        }
    }
    std::string writeError;
    if (!ReplaceFile(out, std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())),
                     &writeError)) {
        context.err << ArgumentBytes(QStringLiteral("palquin: шаблон не записан: %1\n")
                                         .arg(ShownFileError(writeError, out)));
        context.err.flush();
        return kExitFailure;
    }
    context.err.flush();
    return kExitOk;
}

}  // namespace palquin::cli
