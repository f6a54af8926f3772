#include "catalogue/satellite_file.h"
#include "cli/modes.h"
#include "report/report.h"
#include "ui/text_codec.h"

namespace palquin::cli {

int RunReport(const Invocation& invocation, Context& context) {
    const std::optional<CatalogueText> catalogue = ReadModeCatalogue(invocation, context);
    if (!catalogue) {
        return kExitFailure;
    }
    const SettingsTexts saved = SettingsFromLines(catalogue->Settings());
    const std::vector<std::string> lines = BuildCatalogueReportLines(
        SiteText(invocation, QStringLiteral("latitude"), saved[0]),
        SiteText(invocation, QStringLiteral("longitude"), saved[2]), *catalogue);
    // The lines as the window shows its entries, in UTF-8, one per line; written in pieces so a
    // reader such as head sees the first lines at once.
    constexpr qsizetype kPieceBytes = 1 << 16;
    QByteArray text;
    for (const std::string& line : lines) {
        text.append(DecodeFileText(line, catalogue->Encoding()).toUtf8()).append('\n');
        if (text.size() >= kPieceBytes) {
            if (!WriteOut(context, text)) {
                return kExitFailure;
            }
            text.clear();
        }
    }
    return WriteOut(context, text) ? kExitOk : kExitFailure;
}

}  // namespace palquin::cli
