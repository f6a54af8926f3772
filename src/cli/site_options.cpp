// SPDX-License-Identifier: GPL-3.0-or-later
#include <charconv>
#include <cmath>

#include "calc/aim.h"
#include "cli/modes.h"
#include "core/numeric_value.h"

namespace palquin::cli {
namespace {

// A saved coordinate as the window holds it: a magnitude (read as the window reads its field)
// with the hemisphere letter of its list, here only within the range the formulas take.
std::optional<double> SavedCoordinate(const std::string& magnitude, const std::string& letter,
                                      const char* positive, const char* negative, double limit) {
    if (magnitude.empty() || (letter != positive && letter != negative)) {
        return std::nullopt;
    }
    const double value = NumericValue(magnitude);
    if (!std::isfinite(value) || value < 0.0 || value > limit) {
        return std::nullopt;
    }
    return letter == negative ? -value : value;
}

}  // namespace

std::string CataloguePositionText(const OrbitalPosition& position) {
    char buffer[64];
    const double tenths = position.degrees * 10.0;
    const auto result = std::abs(tenths - std::round(tenths)) < 1e-9
                            ? std::to_chars(buffer, buffer + sizeof buffer, position.degrees,
                                            std::chars_format::fixed, 1)
                            : std::to_chars(buffer, buffer + sizeof buffer, position.degrees);
    return std::string(1, position.hemisphere) + " " + std::string(buffer, result.ptr);
}

std::optional<ConverterSite> ResolveConverterSite(const Invocation& invocation, Context& context,
                                                  int* status) {
    const std::optional<QString> focalText = invocation.Value(QStringLiteral("focal"));
    const bool everythingGiven = invocation.Has(QStringLiteral("latitude")) &&
                                 invocation.Has(QStringLiteral("longitude")) && focalText;
    const std::optional<Settings> saved = ModeSettings(invocation, context, !everythingGiven);
    if (!saved) {
        *status = kExitFailure;
        return std::nullopt;
    }
    const std::optional<SignedSite> site = ResolveSite(invocation, *saved, context);
    if (!site) {
        *status = kExitUsage;
        return std::nullopt;
    }
    const std::optional<double> focalMm =
        focalText ? PlainMillimetres(*focalText) : SavedFocalMm(saved->focal);
    if (!focalMm) {
        *status = UsageError(context, QStringLiteral("в каталоге не сохранено фокусное "
                                                     "расстояние: укажите --focal"));
        return std::nullopt;
    }
    return ConverterSite{*site, *focalMm};
}

std::optional<DishGeometry> PreciseDish(const Invocation& invocation, double focusToCentreMm) {
    if (!invocation.Has(QStringLiteral("precise"))) {
        return std::nullopt;
    }
    // Every value was checked when the command line was read.
    DishGeometry dish;
    if (invocation.Value(QStringLiteral("dish")) == QStringLiteral("prime")) {
        dish.type = DishType::PrimeFocus;
    }
    dish.focusToCentreMm = focusToCentreMm;
    if (const std::optional<QString> width = invocation.Value(QStringLiteral("dish-width"))) {
        dish.widthMm = PlainMillimetres(*width).value_or(dish.widthMm);
    }
    if (const std::optional<QString> angle = invocation.Value(QStringLiteral("offset-angle"))) {
        dish.offsetAngleDeg = PlainMillimetres(*angle).value_or(dish.offsetAngleDeg);
    }
    return dish;
}

std::optional<double> SavedFocalMm(const std::string& text) {
    const double value = NumericValue(text);
    return std::isfinite(value) && value > 0.0 ? std::optional(value) : std::nullopt;
}

std::optional<Settings> ModeSettings(const Invocation& invocation, Context& context, bool needed) {
    if (!needed && !invocation.catalogue) {
        return Settings{};
    }
    const std::optional<CatalogueText> catalogue = ReadModeCatalogue(invocation, context);
    if (!catalogue) {
        return std::nullopt;
    }
    return NamedSettings(SettingsFromLines(catalogue->Settings()));
}

std::optional<SignedSite> ResolveSite(const Invocation& invocation, const Settings& saved,
                                      Context& context) {
    // The options were checked when the command line was read.
    const std::optional<QString> latitudeText = invocation.Value(QStringLiteral("latitude"));
    const std::optional<QString> longitudeText = invocation.Value(QStringLiteral("longitude"));
    const std::optional<double> latitude =
        latitudeText ? ParseLatitude(latitudeText->toStdString())
                     : SavedCoordinate(saved.latitude, saved.ns, "N", "S", 90.0);
    const std::optional<double> longitude =
        longitudeText ? ParseLongitude(longitudeText->toStdString())
                      : SavedCoordinate(saved.longitude, saved.ew, "E", "W", 180.0);
    QStringList missing;
    if (!latitude) {
        missing.append(QStringLiteral("--latitude"));
    }
    if (!longitude) {
        missing.append(QStringLiteral("--longitude"));
    }
    if (!missing.isEmpty()) {
        UsageError(context, QStringLiteral("в каталоге не сохранено место приёма, которое можно "
                                           "рассчитать: укажите %1")
                                .arg(missing.join(QStringLiteral(" и "))));
        return std::nullopt;
    }
    return SignedSite{*latitude, *longitude};
}

}  // namespace palquin::cli
