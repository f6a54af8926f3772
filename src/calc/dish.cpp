// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/dish.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "core/angles.h"

namespace palquin {

namespace {

// Ku band, the middle of the range the dishes of our users receive.
constexpr double kFrequencyHz = 11.7e9;
constexpr double kSpeedOfLightMmPerS = 299792458.0e3;
constexpr double kWaveNumberPerMm = 2.0 * kPi * kFrequencyHz / kSpeedOfLightMmPerS;
// The feed's field falls to this at the rim: −10 dB of power.
constexpr double kRimTaperField = 0.31622776601683794;  // 10^(−10/20)
constexpr double kLoBeamDeviationConstant = 0.36;

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}
Vec3 Unit(Vec3 a) {
    const double length = Length(a);
    return {a.x / length, a.y / length, a.z / length};
}

// Local east, north, up.
Vec3 SkyVector(SkyDirection direction) {
    const double az = DegToRad(direction.azimuthDeg);
    const double el = DegToRad(direction.elevationDeg);
    return {std::cos(el) * std::sin(az), std::cos(el) * std::cos(az), std::sin(el)};
}

// The reflector as a section of the paraboloid z = (x² + y²) ÷ 4f, its axis z toward the sky, x up
// and y to the right as seen from behind the dish looking out; the focus at (0, 0, f). The
// projected aperture is a disc round (centreX, 0).
struct Paraboloid {
    double focalMm = 0.0;
    double centreXMm = 0.0;
    double radiusMm = 0.0;

    double Height(double x, double y) const { return (x * x + y * y) / (4.0 * focalMm); }
    Vec3 Focus() const { return {0.0, 0.0, focalMm}; }
    Vec3 Centre() const { return {centreXMm, 0.0, Height(centreXMm, 0.0)}; }
};

Paraboloid ParaboloidOf(const DishGeometry& dish) {
    Paraboloid p;
    p.radiusMm = dish.widthMm / 2.0;
    if (dish.type == DishType::PrimeFocus) {
        p.focalMm = dish.focusToCentreMm;
        return p;
    }
    // The rim's plane leans by the offset angle α: tan α = centreX ÷ 2f; the focus lies
    // f + centreX² ÷ 4f = f ÷ cos²α from the reflector's centre.
    const double alpha = DegToRad(dish.offsetAngleDeg);
    p.focalMm = dish.focusToCentreMm * std::cos(alpha) * std::cos(alpha);
    p.centreXMm = 2.0 * p.focalMm * std::tan(alpha);
    return p;
}

struct AperturePoint {
    Vec3 position;
    double areaMm2 = 0.0;
};

// The midpoint rule on rings of equal width, each cut into equal sectors.
std::vector<AperturePoint> SampleAperture(const Paraboloid& p, int rings, int sectors) {
    std::vector<AperturePoint> points;
    points.reserve(static_cast<std::size_t>(rings * sectors));
    const double ringWidth = p.radiusMm / rings;
    const double sectorAngle = 2.0 * kPi / sectors;
    for (int i = 0; i < rings; ++i) {
        const double rho = (i + 0.5) * ringWidth;
        for (int j = 0; j < sectors; ++j) {
            const double phi = (j + 0.5) * sectorAngle;
            const double x = p.centreXMm + rho * std::cos(phi);
            const double y = rho * std::sin(phi);
            points.push_back({{x, y, p.Height(x, y)}, rho * ringWidth * sectorAngle});
        }
    }
    return points;
}

// The feed's exponent q in cos^q: −10 dB at the rim, the rim's angle averaged round it (an offset
// reflector's rim is not at one angle from the feed's axis).
double FeedExponent(const Paraboloid& p) {
    constexpr int kRimSamples = 64;
    const Vec3 focus = p.Focus();
    const Vec3 axis = Unit(p.Centre() - focus);
    double sum = 0.0;
    for (int j = 0; j < kRimSamples; ++j) {
        const double phi = 2.0 * kPi * j / kRimSamples;
        const double x = p.centreXMm + p.radiusMm * std::cos(phi);
        const double y = p.radiusMm * std::sin(phi);
        const Vec3 toRim = Unit(Vec3{x, y, p.Height(x, y)} - focus);
        sum += std::acos(std::clamp(Dot(toRim, axis), -1.0, 1.0));
    }
    const double rimAngle = sum / kRimSamples;
    return std::log(kRimTaperField) / std::log(std::cos(rimAngle));
}

// What a converter at feed receives of a plane wave arriving from the direction incoming
// (a unit vector toward the satellite): the sum over the aperture of the feed's pattern toward
// each point, spread over the distance, with the phase of the whole path.
class Receiver {
  public:
    Receiver(const Paraboloid& p, int rings, int sectors)
        : paraboloid_(p), points_(SampleAperture(p, rings, sectors)), q_(FeedExponent(p)) {}

    double Power(Vec3 incoming, Vec3 feed) const {
        const Vec3 axis = Unit(paraboloid_.Centre() - feed);
        std::complex<double> sum = 0.0;
        for (const AperturePoint& point : points_) {
            const Vec3 toPoint = point.position - feed;
            const double distance = Length(toPoint);
            const double cosine = Dot(toPoint, axis) / distance;
            if (cosine <= 0.0) {
                continue;
            }
            const double amplitude = std::pow(cosine, q_) / distance * point.areaMm2;
            const double path = distance - Dot(incoming, point.position);
            sum += std::polar(amplitude, -kWaveNumberPerMm * path);
        }
        return std::norm(sum);
    }

  private:
    Paraboloid paraboloid_;
    std::vector<AperturePoint> points_;
    double q_;
};

// Climbs from start by steps along the axes that shrink from a few millimetres to a fraction of
// one: the gain changes by 1 dB over 5 to 8 mm sideways, far more slowly along the axis.
double Climb(const Receiver& receiver, Vec3 incoming, Vec3 start, double startPower,
             double finestStepMm) {
    Vec3 best = start;
    double bestPower = startPower;
    std::array<double, 3> step = {4.0, 4.0, 16.0};
    while (step[0] > finestStepMm) {
        bool moved = false;
        for (int axis = 0; axis < 3; ++axis) {
            for (const double sign : {1.0, -1.0}) {
                Vec3 trial = best;
                (axis == 0 ? trial.x : axis == 1 ? trial.y : trial.z) += sign * step[axis];
                const double power = receiver.Power(incoming, trial);
                if (power > bestPower) {
                    bestPower = power;
                    best = trial;
                    moved = true;
                    break;
                }
            }
        }
        if (!moved) {
            for (double& s : step) {
                s /= 2.0;
            }
        }
    }
    return bestPower;
}

// How finely one search samples the reflector and the focal region.
struct SearchPlan {
    int scanRings;  ///< the aperture grid of the scan, which only has to find the main lobe
    int scanSectors;
    int rings;  ///< the aperture grid the best place is refined and measured on
    int sectors;
    double scanStepMm;  ///< along the sideways line of the closed form
    std::vector<double> depthScales;
    std::size_t climbs;  ///< how many of the best scanned places are refined
    double finestStepMm;
};

SearchPlan PlanFor(LossAccuracy accuracy) {
    if (accuracy == LossAccuracy::Quick) {
        return {10, 32, 16, 48, 2.0, {0.0, 0.5, 1.0}, 1, 0.5};
    }
    return {48, 144, 64, 192, 1.0, {0.0, 0.25, 0.5, 0.75, 1.0, 1.25, 1.5}, 3, 0.2};
}

// The focal spot of a beam off the axis is smeared by coma, with side lobes that are peaks of
// their own, and the closed form misses its centre by up to a few wavelengths at 25°. So the
// search scans the line of the closed form (85 % to 112 % of its sideways distance, at a few
// depths) on a coarse grid, then climbs from the best places on the fine one.
double BestPower(const Paraboloid& paraboloid, const SearchPlan& plan, Vec3 incoming, Vec3 sideways,
                 Vec3 deeper) {
    const Vec3 focus = paraboloid.Focus();
    const Receiver scan(paraboloid, plan.scanRings, plan.scanSectors);
    const double sidewaysMm = Length(sideways);
    const int steps = std::max(1, static_cast<int>(std::ceil(0.27 * sidewaysMm / plan.scanStepMm)));
    std::vector<std::pair<double, Vec3>> places;
    for (int i = 0; i <= steps; ++i) {
        const double s = 0.85 + 0.27 * i / steps;
        for (const double d : plan.depthScales) {
            const Vec3 place{focus.x + s * sideways.x + d * deeper.x,
                             focus.y + s * sideways.y + d * deeper.y,
                             focus.z + s * sideways.z + d * deeper.z};
            places.emplace_back(scan.Power(incoming, place), place);
        }
    }
    const std::size_t count = std::min(plan.climbs, places.size());
    std::partial_sort(places.begin(), places.begin() + static_cast<std::ptrdiff_t>(count),
                      places.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    const Receiver fine(paraboloid, plan.rings, plan.sectors);
    double best = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3 start = places[i].second;
        best = std::max(
            best, Climb(fine, incoming, start, fine.Power(incoming, start), plan.finestStepMm));
    }
    return best;
}

}  // namespace

BeamOffset OffsetInDishFrame(SkyDirection central, SkyDirection extra) {
    const double az0 = DegToRad(central.azimuthDeg);
    const double el0 = DegToRad(central.elevationDeg);
    const double el = DegToRad(extra.elevationDeg);
    const double dAz = DegToRad(extra.azimuthDeg) - az0;
    BeamOffset offset;
    offset.towardRight = std::cos(el) * std::sin(dAz);
    offset.towardUp = std::sin(el) * std::cos(el0) - std::cos(el) * std::sin(el0) * std::cos(dAz);
    const double along = Dot(SkyVector(central), SkyVector(extra));
    offset.separationDeg = RadToDeg(std::acos(std::clamp(along, -1.0, 1.0)));
    return offset;
}

double BeamDeviationFactor(const DishGeometry& dish) {
    const double t = dish.widthMm / (4.0 * dish.focusToCentreMm);  // tan(ψ/2)
    return (1.0 + kLoBeamDeviationConstant * t * t) / (1.0 + t * t);
}

double EffectiveFocalLengthMm(const DishGeometry& dish) {
    return dish.focusToCentreMm / BeamDeviationFactor(dish);
}

ConverterPlace PlaceConverter(const DishGeometry& dish, SkyDirection central, SkyDirection extra) {
    const BeamOffset offset = OffsetInDishFrame(central, extra);
    const double focal = EffectiveFocalLengthMm(dish);
    ConverterPlace place;
    // The image is inverted: a beam from the right as seen from behind lands on the left seen
    // from behind, which is the right in the front view; a beam from below lands above.
    place.xFrontMm = focal * offset.towardRight;
    place.upMm = -focal * offset.towardUp;
    place.depthMm = focal * (1.0 - std::cos(DegToRad(offset.separationDeg)));
    place.separationDeg = offset.separationDeg;
    return place;
}

double ConverterLossDb(const DishGeometry& dish, BeamOffset offset, LossAccuracy accuracy) {
    if (!(dish.focusToCentreMm > 0.0) || !(dish.widthMm > 0.0) ||
        (dish.type == DishType::Offset && !(std::abs(dish.offsetAngleDeg) < 80.0))) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double offAxis =
        offset.towardRight * offset.towardRight + offset.towardUp * offset.towardUp;
    if (!(offAxis < 1.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const Paraboloid paraboloid = ParaboloidOf(dish);
    const SearchPlan plan = PlanFor(accuracy);
    const Vec3 focus = paraboloid.Focus();
    const double central =
        Receiver(paraboloid, plan.rings, plan.sectors).Power({0.0, 0.0, 1.0}, focus);
    // The paraboloid's frame: x up, y to the right seen from behind, z along the beam.
    const Vec3 incoming{offset.towardUp, offset.towardRight, std::sqrt(1.0 - offAxis)};
    // The closed form: sideways against the beam, deeper toward the reflector.
    const double focal = EffectiveFocalLengthMm(dish);
    const double depth = focal * (1.0 - incoming.z);
    const Vec3 towardReflector = Unit(paraboloid.Centre() - focus);
    const Vec3 sideways{-focal * offset.towardUp, -focal * offset.towardRight, 0.0};
    const Vec3 deeper{depth * towardReflector.x, depth * towardReflector.y,
                      depth * towardReflector.z};
    const double best = BestPower(paraboloid, plan, incoming, sideways, deeper);
    return std::min(0.0, 10.0 * std::log10(best / central));
}

}  // namespace palquin
