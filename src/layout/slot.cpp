// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/slot.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace palquin {

std::optional<SlotResult> CalculateSlot(const SiteFields& site, std::string_view positionText,
                                        double focalMm, std::optional<CentralAim> central,
                                        const DishGeometry* dish) {
    return CalculateSlot(ToSite(site), ToSatellitePosition(positionText), focalMm, central, dish);
}

std::optional<SlotResult> CalculateSlot(const Site& site, SatellitePosition satellite,
                                        double focalMm, std::optional<CentralAim> central,
                                        const DishGeometry* dish) {
    const std::optional<Pointing> pointing = ComputePointing(site, satellite);
    if (!pointing) {
        return std::nullopt;
    }
    SlotResult result;
    result.pointing = *pointing;
    if (central) {
        const double az = pointing->azimuthDeg;
        const double el = pointing->elevationDeg;
        result.offsets =
            ComputeOffsets(focalMm, az, el, central->azimuthDeg, central->elevationDeg);
        if (!result.offsets) {
            return result;
        }
        result.side = az < central->azimuthDeg   ? Side::Left
                      : az > central->azimuthDeg ? Side::Right
                                                 : Side::Centre;
        if (el != central->elevationDeg) {
            result.above = el < central->elevationDeg;
        }
        result.centreMm = ExtraCentreMm(az, el, central->azimuthDeg, central->elevationDeg,
                                        result.offsets->horizontalMm, result.offsets->verticalMm);
        if (dish != nullptr) {
            const SkyDirection toCentral{central->azimuthDeg, central->elevationDeg};
            const SkyDirection toExtra{az, el};
            const ConverterPlace place = PlaceConverter(*dish, toCentral, toExtra);
            const double lossDb = ConverterLossDb(*dish, OffsetInDishFrame(toCentral, toExtra));
            // A dish that is none (a focal length of 0) gives no place to draw.
            if (!std::isfinite(place.xFrontMm) || !std::isfinite(place.upMm) ||
                !std::isfinite(place.depthMm) || !std::isfinite(lossDb)) {
                return result;
            }
            result.precise = place;
            result.lossDb = lossDb;
        }
    }
    result.rotationDeg = ComputeRotation(pointing->coordinates);
    return result;
}

std::string LossWarning(std::string_view positionText, const SlotResult& result) {
    if (!result.precise || !(result.lossDb < kUnreliableLossDb)) {
        return {};
    }
    char loss[32];
    std::snprintf(loss, sizeof loss, "%.1f", std::abs(result.lossDb));
    return std::string(positionText) + ": потери \u2212" + loss + " дБ, приём ненадёжен";
}

}  // namespace palquin
