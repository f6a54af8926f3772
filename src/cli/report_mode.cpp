#include <algorithm>

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
    // The lines as the window shows its entries, in UTF-8, one per line, written in pieces as
    // they are made: a reader such as head sees the first lines at once, and the lines of a
    // large catalogue are never all held.
    constexpr size_t kPieceBytes = 1 << 16;
    const FileEncoding encoding = catalogue->Encoding();
    std::string text;
    text.reserve(kPieceBytes + 4096);
    const auto writeText = [&context, &text] {
        return WriteOut(context,
                        QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())));
    };
    bool written = true;
    ForEachCatalogueReportLine(SiteText(invocation, QStringLiteral("latitude"), saved[0]),
                               SiteText(invocation, QStringLiteral("longitude"), saved[2]),
                               *catalogue, [&](std::string_view line) {
                                   // ASCII reads the same in both encodings.
                                   if (std::all_of(line.begin(), line.end(), [](char c) {
                                           return static_cast<unsigned char>(c) < 0x80;
                                       })) {
                                       text.append(line);
                                   } else {
                                       text.append(DecodeFileText(line, encoding).toStdString());
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
