// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/template_input.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/angles.h"
#include "diagram/layout_model.h"
#include "layout/slot.h"
#include "layout/slot_texts.h"

namespace palquin {
namespace {

void SetError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

// "E 13.0", "W 5": a hemisphere letter, one blank, an orbital position from 0 to 360 degrees.
bool IsPositionText(const std::string& text) {
    if (text.size() < 3 || (text[0] != 'E' && text[0] != 'W') || text[1] != ' ') {
        return false;
    }
    double degrees = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data() + 2, end, degrees, std::chars_format::fixed);
    return result.ec == std::errc() && result.ptr == end && degrees >= 0.0 && degrees <= 360.0;
}

}  // namespace

BoxMm ContentBoxMm(const std::vector<ConverterMm>& converters) {
    BoxMm box;
    for (const ConverterMm& converter : converters) {
        // The farthest of: the cross, the rotation line's ends, the position text.
        const double arm = converter.diameterMm / 2.0 + kCrossOverhangMm;
        const RotationLine line = converter.RotationLineMm();
        const double lineX = std::abs(line.first.xMm - converter.centre.xMm);
        const double lineY = std::abs(line.first.yMm - converter.centre.yMm);
        const double reachX = std::max({arm, lineX, kCaptionHalfWidthMm});
        const double reachY = std::max({arm, lineY, kCaptionHalfHeightMm});
        box.leftMm = std::min(box.leftMm, converter.centre.xMm - reachX);
        box.rightMm = std::max(box.rightMm, converter.centre.xMm + reachX);
        box.topMm = std::min(box.topMm, converter.centre.yMm - reachY);
        box.bottomMm = std::max(box.bottomMm, converter.centre.yMm + reachY);
    }
    box.leftMm -= kContentMarginMm;
    box.topMm -= kContentMarginMm;
    box.rightMm += kContentMarginMm;
    box.bottomMm += kContentMarginMm;
    return box;
}

namespace {

// Where the block of pages starts along one axis. Centred on the drawing, then moved within the
// slack the pages leave so that no converter's centre (where the user drills or aligns) falls
// on, or close to, an edge where two pages meet.
double BlockStartMm(double contentStartMm, double contentEndMm, int pages, double pageMm,
                    const std::vector<double>& centresMm) {
    const double centred = (contentStartMm + contentEndMm) / 2.0 - pages * pageMm / 2.0;
    const double slack = pages * pageMm - (contentEndMm - contentStartMm);
    if (pages < 2 || centresMm.empty() || !(slack > 0.0)) {
        return centred;
    }
    const auto clearance = [&](double start) {
        double nearest = pageMm;
        for (int k = 1; k < pages; ++k) {
            for (double centre : centresMm) {
                nearest = std::min(nearest, std::abs(centre - (start + k * pageMm)));
            }
        }
        return nearest;
    };
    constexpr int kSteps = 32;
    double best = centred;
    double bestClearance = clearance(centred);
    for (int step = -kSteps; step <= kSteps; ++step) {
        const double start = centred + slack / 2.0 * step / kSteps;
        const double candidate = clearance(start);
        // Strictly better only, so among equals the one nearest the centred block stays.
        if (candidate > bestClearance + 1e-9 ||
            (candidate > bestClearance - 1e-9 &&
             std::abs(start - centred) < std::abs(best - centred))) {
            best = start;
            bestClearance = candidate;
        }
    }
    return best;
}

}  // namespace

std::optional<TilePlan> PlanTiles(const BoxMm& content, double frameWidthMm, double frameHeightMm,
                                  const std::vector<PointMm>& centres) {
    if (!(frameWidthMm > 0.0) || !(frameHeightMm > 0.0) || !std::isfinite(frameWidthMm) ||
        !std::isfinite(frameHeightMm) || !std::isfinite(content.WidthMm()) ||
        !std::isfinite(content.HeightMm())) {
        return std::nullopt;
    }
    const double columns = std::max(1.0, std::ceil(content.WidthMm() / frameWidthMm));
    const double rows = std::max(1.0, std::ceil(content.HeightMm() / frameHeightMm));
    if (columns * rows > kMaxTemplatePages) {
        return std::nullopt;
    }
    TilePlan plan;
    plan.columns = static_cast<int>(columns);
    plan.rows = static_cast<int>(rows);
    plan.tileWidthMm = frameWidthMm;
    plan.tileHeightMm = frameHeightMm;
    std::vector<double> xs;
    std::vector<double> ys;
    for (const PointMm& centre : centres) {
        xs.push_back(centre.xMm);
        ys.push_back(centre.yMm);
    }
    // For one page this centres the drawing on it.
    plan.originMm = {BlockStartMm(content.leftMm, content.rightMm, plan.columns, frameWidthMm, xs),
                     BlockStartMm(content.topMm, content.bottomMm, plan.rows, frameHeightMm, ys)};
    return plan;
}

std::optional<TemplateInput> BuildTemplateInput(const TemplateRequest& request, std::string* error,
                                                std::vector<std::string>* warnings) {
    if (request.converters.empty()) {
        SetError(error, "Не задан центральный конвертер");
        return std::nullopt;
    }
    if (!std::isfinite(request.focalMm) || request.focalMm <= 0.0) {
        SetError(error, "Фокусное расстояние должно быть больше 0 мм");
        return std::nullopt;
    }
    const SiteFields site{request.latitudeDeg, request.ns, request.longitudeDeg, request.ew};

    TemplateInput input;
    input.siteText =
        SiteHeaderText(request.latitudeDeg, request.ns, request.longitudeDeg, request.ew);
    input.focalMm = request.focalMm;
    input.dateText = request.dateText;

    const DishGeometry* dish = request.dish ? &*request.dish : nullptr;
    std::optional<CentralAim> central;
    std::vector<std::string> hidden;  // position texts of the satellites below the horizon
    for (const TemplateConverterRequest& asked : request.converters) {
        if (!IsPositionText(asked.positionText)) {
            SetError(error, "Неверная позиция спутника: " + asked.positionText);
            return std::nullopt;
        }
        const std::optional<SlotResult> slot =
            CalculateSlot(site, asked.positionText, request.focalMm, central, dish);
        if (!slot || !slot->Complete() || !std::isfinite(asked.diameterMm) ||
            asked.diameterMm < 0.0) {
            SetError(error, "Невозможно рассчитать конвертер " + asked.positionText);
            return std::nullopt;
        }
        if (!slot->pointing.visible) {
            hidden.push_back(asked.positionText);
            if (warnings != nullptr) {
                warnings->push_back("Спутник " + asked.positionText + " не виден");
            }
        }
        ConverterMm converter{asked.positionText, {0.0, 0.0}, asked.diameterMm, *slot->rotationDeg};
        if (!central) {
            central = CentralAim{slot->pointing.azimuthDeg, slot->pointing.elevationDeg};
        } else if (slot->precise) {
            converter.centre = {slot->precise->xFrontMm, -slot->precise->upMm};
            if (warnings != nullptr) {
                if (const std::string loss = LossWarning(asked.positionText, *slot);
                    !loss.empty()) {
                    warnings->push_back(loss);
                }
            }
        } else {
            converter.centre = slot->centreMm;
        }
        input.converters.push_back(std::move(converter));
    }
    const double centralAzimuthDeg = central->azimuthDeg;
    input.eastOnRight = EastOnRight(centralAzimuthDeg);
    if (hidden.size() == request.converters.size()) {
        input.pageWarning = "Все спутники ниже горизонта: с этого места их не принять";
    } else if (!hidden.empty()) {
        input.pageWarning = "Ниже горизонта, не принять:";
        for (const std::string& position : hidden) {
            input.pageWarning += " " + position;
        }
    }
    return input;
}

std::optional<TemplateInput> TemplateFromLayout(const LayoutModel& layout, std::string siteText,
                                                double focalMm, double centralAzimuthDeg,
                                                std::string dateText) {
    if (!layout.SlotMm(0)) {
        return std::nullopt;
    }
    TemplateInput input;
    for (int slot = 0; slot < LayoutModel::kSlots; ++slot) {
        if (const std::optional<ConverterMm>& converter = layout.SlotMm(slot)) {
            input.converters.push_back(*converter);
        }
    }
    input.siteText = std::move(siteText);
    input.focalMm = focalMm;
    input.dateText = std::move(dateText);
    input.eastOnRight = EastOnRight(centralAzimuthDeg);
    return input;
}

}  // namespace palquin
