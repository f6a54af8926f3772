// The precise geometry of ten slots runs on every recalculation of the window: the places and the
// losses of nine extra converters together should stay under 50 ms.
#include <benchmark/benchmark.h>

#include <vector>

#include "calc/dish.h"
#include "calc/pointing.h"

namespace palquin {
namespace {

void BM_NineExtraConvertersOnAnOffsetDish(benchmark::State& state) {
    const Site moscow{55.75, "N", 37.6, "E"};
    const Pointing central = ComputePointing(moscow, "E 36.0").value();
    std::vector<SkyDirection> extras;
    for (const char* position : {"E 39.0", "E 31.5", "E 42.0", "E 53.0", "E 13.0", "E 28.2",
                                 "E 45.0", "E 19.2", "E 9.0"}) {
        const Pointing pointing = ComputePointing(moscow, position).value();
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
