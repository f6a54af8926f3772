#include <cmath>

#include "catalogue/satellite_file.h"
#include "cli/arguments.h"
#include "cli/modes.h"
#include "report/report.h"
#include "text/text_codec.h"

namespace palquin::cli {

int RunReport(const Invocation& invocation, Context& context) {
    const std::optional<CatalogueText> catalogue = ReadModeCatalogue(invocation, context);
    if (!catalogue) {
        return kExitFailure;
    }
    const std::optional<SignedSite> site =
        ResolveSite(invocation, SettingsFromLines(catalogue->Settings()), context);
    if (!site) {
        return kExitUsage;
    }
    // Magnitudes with hemisphere letters, as the window's fields hold them.
    const Site hemispheres{std::abs(site->latitudeDeg), site->latitudeDeg < 0.0 ? "S" : "N",
                           std::abs(site->longitudeDeg), site->longitudeDeg < 0.0 ? "W" : "E"};
    const std::vector<std::string> lines = BuildSiteReportLines(hemispheres, *catalogue);
    // The lines as the window shows its entries, in UTF-8, one per line; written in pieces so a
    // reader such as head sees the first lines at once.
    constexpr qsizetype kPieceBytes = 1 << 16;
    QByteArray text;
    for (const std::string& line : lines) {
        const QString shown = DecodeFileText(line, catalogue->Encoding());
        // Bytes of a catalogue must not retitle or clear the user's terminal; into a pipe or a
        // file they go unchanged.
        text.append(
                (context.outIsTerminal.value_or(false) ? EscapeControls(shown) : shown).toUtf8())
            .append('\n');
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
