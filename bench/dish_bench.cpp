// SPDX-License-Identifier: GPL-3.0-or-later
// The precise geometry of ten slots runs on every recalculation of the window: the places and the
// losses of nine extra converters together should stay under 50 ms.
#include <benchmark/benchmark.h>

#include <vector>

#include "calc/dish.h"
#include "calc/pointing.h"

namespace palquin {
namespace {

void BM_NineExtraConvertersOnAnOffsetDish(benchmark::State& state) {
    const Site moscow{55.75, LatitudeRule::North, 37.6, LongitudeRule::East};
    const Pointing central = ComputePointing(moscow, {LongitudeRule::East, 36.0}).value();
    std::vector<SkyDirection> extras;
    for (const double eastDeg : {39.0, 31.5, 42.0, 53.0, 13.0, 28.2, 45.0, 19.2, 9.0}) {
        const Pointing pointing = ComputePointing(moscow, {LongitudeRule::East, eastDeg}).value();
        extras.push_back({pointing.azimuthDeg, pointing.elevationDeg});
    }
    const DishGeometry dish{DishType::Offset, 699.0, 800.0, 24.0};
    const SkyDirection toCentral{central.azimuthDeg, central.elevationDeg};
    for (auto _ : state) {
        for (const SkyDirection& extra : extras) {
            benchmark::DoNotOptimize(PlaceConverter(dish, toCentral, extra));
            benchmark::DoNotOptimize(ConverterLossDb(dish, OffsetInDishFrame(toCentral, extra)));
        }
    }
}
BENCHMARK(BM_NineExtraConvertersOnAnOffsetDish)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace palquin
