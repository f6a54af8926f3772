// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where an extra converter really belongs on a given reflector, and what it loses there.
//
// Frame: the front view, that is a person standing in front of the reflector and looking at its
// face and at the converters' tails. x is to the right in that view, y is up, depth is toward the
// reflector; all in millimetres. A reflector inverts the image, so a satellite west of the central
// one (a larger azimuth for a dish facing south) lands to the east of the central converter, which
// is on the right in the front view; a lower satellite lands above.

namespace palquin {

enum class DishType {
    Offset,      ///< a section of a paraboloid beside its axis; the converter arm comes from below
    PrimeFocus,  ///< a paraboloid round its axis, the converter in front of the centre
};

/// What a user can measure on the dish.
struct DishGeometry {
    DishType type = DishType::Offset;
    /// From the central converter's focus to the centre of the reflector, what a tape gives.
    double focusToCentreMm = 600.0;
    /// The reflector's width (its horizontal size; for an offset dish the projected aperture).
    double widthMm = 800.0;
    /// Offset dish only: the angle between the beam and the normal of the rim's plane.
    double offsetAngleDeg = 24.0;
};

/// A direction from the site: azimuth from north through east, elevation above the horizon.
struct SkyDirection {
    double azimuthDeg = 0.0;
    double elevationDeg = 0.0;
};

/// A direction in the dish's own frame, seen from the dish toward the sky: the sines of the
/// angles to the right (as seen from behind, looking out) and up from the beam's axis.
struct BeamOffset {
    double towardRight = 0.0;  ///< cos(el)·sin(az − e0): positive for a larger azimuth
    double towardUp = 0.0;     ///< sin(el)·cos(u0) − cos(el)·sin(u0)·cos(az − e0)
    double separationDeg = 0.0;
};

/// The place of a converter relative to the central one, in the front view.
struct ConverterPlace {
    double xFrontMm = 0.0;  ///< positive to the right in the front view
    double upMm = 0.0;      ///< positive up
    double depthMm = 0.0;   ///< positive toward the reflector
    double separationDeg = 0.0;
};

/// The extra satellite's direction in the frame of a dish aimed at the central one. Exact for
/// any pair of directions, the zenith included: it works on vectors, not on azimuth differences.
BeamOffset OffsetInDishFrame(SkyDirection central, SkyDirection extra);

/// Lo's empirical beam-deviation factor (1 + 0.36·t²) ÷ (1 + t²), t = tan(ψ/2), with ψ the half
/// angle the reflector subtends at the focus, taken as 2·atan(width ÷ 4F).
double BeamDeviationFactor(const DishGeometry& dish);

/// F ÷ BDF: how far a converter moves sideways per unit of the sine of the beam's deviation.
double EffectiveFocalLengthMm(const DishGeometry& dish);

/// The closed form: sideways F_eff·cos(el)·sin(az − e0), vertically −F_eff times the up
/// component, deeper by F_eff·(1 − cos θ).
ConverterPlace PlaceConverter(const DishGeometry& dish, SkyDirection central, SkyDirection extra);

/// How finely the reflector is sampled for the loss.
enum class LossAccuracy {
    Quick,      ///< fast enough for ten slots on every recalculation
    Reference,  ///< the fine integration the quick one is checked against
};

/// The best gain a converter for the given beam offset can reach relative to the central
/// converter, in dB (0 or negative): scalar physical optics over the reflector at 11.7 GHz, a
/// cos^q feed with −10 dB at the rim aimed at the reflector's centre, the converter moved to its
/// best sideways, vertical and axial place. Not finite for a geometry that is no dish.
double ConverterLossDb(const DishGeometry& dish, BeamOffset offset,
                       LossAccuracy accuracy = LossAccuracy::Quick);

/// Below this a converter is not worth mounting: it receives little or nothing in bad weather.
inline constexpr double kUnreliableLossDb = -3.0;

}  // namespace palquin
