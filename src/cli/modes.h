// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers the modes of the command line share, and the modes themselves.

#include <QString>
#include <optional>
#include <string>

#include "calc/aim.h"
#include "calc/dish.h"
#include "catalogue/catalogue_text.h"
#include "catalogue/satellite_file.h"
#include "cli/command_line.h"

namespace palquin::cli {

/// The catalogue a mode reads: --catalogue FILE, else the default file, else (when the default
/// file does not exist yet) the built-in catalogue. Nothing is written. nullopt once a message
/// naming the file and the reason is on err.
std::optional<CatalogueText> ReadModeCatalogue(const Invocation& invocation, Context& context);

/// Millimetres as the window's fields take them: digits with one optional point (no sign, no
/// exponent), finite.
std::optional<double> PlainMillimetres(const QString& text);

/// A site in signed degrees (north and east positive): each coordinate
/// from its option when given, else from the saved settings.
struct SignedSite {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
};

/// The saved settings, read only when a value the options leave out is needed, or when
/// --catalogue names a file (which must then be readable). All empty when nothing was read;
/// nullopt once a message is on err.
std::optional<Settings> ModeSettings(const Invocation& invocation, Context& context, bool needed);

/// The site from the options and the saved settings; nullopt when a coordinate is neither given
/// nor saved in a form the formulas take (a message then names what to give).
std::optional<SignedSite> ResolveSite(const Invocation& invocation, const Settings& saved,
                                      Context& context);

/// "E 13.0" as the window heads a slot: the catalogue's positions have one decimal; a finer one
/// given on the command line is kept.
std::string CataloguePositionText(const OrbitalPosition& position);

/// Where the converters of --template and --layout are: the site and the focal length, each from
/// its option when given, else from the saved settings.
struct ConverterSite {
    SignedSite site;
    double focalMm = 0.0;
};
/// nullopt once a message is on err; *status then holds the exit status.
std::optional<ConverterSite> ResolveConverterSite(const Invocation& invocation, Context& context,
                                                  int* status);

/// With --precise, the dish of --dish, --dish-width and --offset-angle (each defaulting to the
/// common 80 cm offset dish) at the given distance from focus to centre; without it, none.
std::optional<DishGeometry> PreciseDish(const Invocation& invocation, double focusToCentreMm);

/// The saved focal length as the window's field reads it, when it is one the formulas take.
std::optional<double> SavedFocalMm(const std::string& text);
/// A message of the file layer about the file as an error line shows it: the file's name as an
/// argument is shown (at most 200 characters), every control character escaped.
QString ShownFileError(const std::string& error, const std::filesystem::path& file);

/// Writes a usage error's message (with the pointer to --help) and returns kExitUsage.
int UsageError(Context& context, const QString& message);

/// Writes text (UTF-8) to out; false, after a message on err, when it could not be written.
bool WriteOut(Context& context, const QByteArray& text);

/// --report: the pointing report of the whole catalogue on standard output.
int RunReport(const Invocation& invocation, Context& context);

/// --aim: how to aim at one satellite (true and magnetic azimuth, elevation, rotation, the sun's
/// time at that azimuth), as labelled lines or one JSON object.
int RunAim(const Invocation& invocation, Context& context);

/// --template: the 1:1 mounting template as a PDF file, replaced only when complete.
int RunTemplate(const Invocation& invocation, Context& context);

/// --layout: where each converter goes, by the window's rule or (--precise) by the dish's own
/// geometry, as lines or one JSON object.
int RunLayout(const Invocation& invocation, Context& context);

}  // namespace palquin::cli
