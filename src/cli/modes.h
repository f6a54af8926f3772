#pragma once

// Helpers the modes of the command line share, and the modes themselves.

#include <QString>
#include <optional>
#include <string>

#include "catalogue/catalogue_text.h"
#include "catalogue/satellite_file.h"
#include "cli/command_line.h"

namespace palquin::cli {

/// The catalogue a mode reads: --catalogue FILE, else the default file, else (when the default
/// file does not exist yet) the built-in catalogue. Nothing is written. nullopt once a message
/// naming the file and the reason is on err.
std::optional<CatalogueText> ReadModeCatalogue(const Invocation& invocation, Context& context);

/// A site text: the option's value when given, else the saved setting as the window would
/// hold it (a saved coordinate outside 0 to 180 is cleared there at start-up).
std::string SiteText(const Invocation& invocation, const QString& option,
                     const std::string& savedText);

/// Writes text (UTF-8) to out; false, after a message on err, when it could not be written.
bool WriteOut(Context& context, const QByteArray& text);

/// --report: the pointing report of the whole catalogue on standard output.
int RunReport(const Invocation& invocation, Context& context);

}  // namespace palquin::cli
