// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>

#include "catalogue/satellite_file.h"
#include "cli/arguments.h"
#include "cli/modes.h"
#include "layout/site.h"
#include "platform/file_io.h"
#include "report/report.h"
#include "text/text_codec.h"

namespace palquin::cli {

int RunReport(const Invocation& invocation, Context& context) {
    const std::optional<CatalogueText> catalogue = ReadModeCatalogue(invocation, context);
    if (!catalogue) {
        return kExitFailure;
    }
    const std::optional<SignedSite> site =
        ResolveSite(invocation, NamedSettings(SettingsFromLines(catalogue->Settings())), context);
    if (!site) {
        return kExitUsage;
    }
    // Magnitudes with their hemispheres, as the window's fields hold them.
    const Site hemispheres = ToSite(SiteDeg{site->latitudeDeg, site->longitudeDeg});
    // The lines as the window shows its entries, in UTF-8, one per line, written in pieces as
    // they are made: a reader such as head sees the first lines at once, and the lines of a
    // large catalogue are never all held.
    constexpr size_t kPieceBytes = 1 << 16;
    WidenOutputPipe();  // the reader then wakes once a megabyte rather than every 64 KB
    const FileEncoding encoding = catalogue->Encoding();
    const bool terminal = context.outIsTerminal.value_or(false);
    std::string text;
    text.reserve(kPieceBytes + 4096);
    const auto writeText = [&context, &text] {
        return WriteOut(context,
                        QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())));
    };
    bool written = true;
    ForEachSiteReportLine(hemispheres, *catalogue, [&](std::string_view line) {
        // Printable ASCII reads the same in both encodings and holds no control byte: it goes
        // out as it is. Only the rest (often just the horizon's mark) is decoded.
        const auto plain = std::find_if_not(line.begin(), line.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7f;
        });
        const auto plainLength = static_cast<size_t>(plain - line.begin());
        text.append(line.substr(0, plainLength));
        if (plainLength < line.size()) {
            const QString shown = DecodeFileText(line.substr(plainLength), encoding);
            // Bytes of a catalogue must not retitle or clear the user's terminal; into a pipe or
            // a file they go unchanged.
            text.append((terminal ? EscapeControls(shown) : shown).toStdString());
        }
        text.push_back('\n');
        if (text.size() >= kPieceBytes) {
            written = writeText();
            text.clear();  // keeps its room
        }
        return written;
    });
    return written && writeText() ? kExitOk : kExitFailure;
}

}  // namespace palquin::cli
