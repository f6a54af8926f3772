// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the picture window and every --aim run compute the declination and search the day for
// the sun's time; together they should stay well under 10 ms.
#include <benchmark/benchmark.h>

#include <chrono>

#include "calc/aim.h"
#include "calc/magnetic.h"
#include "layout/aim_texts.h"

namespace palquin {
namespace {

using namespace std::chrono;

void BM_Declination(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeMagneticField({55.75, 37.6}, 2026.5));
    }
}
BENCHMARK(BM_Declination);

void BM_SunAlignmentDay(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(SunAlignment({55.75, 37.6}, {2026, 6, 21}, 181.935, 180min));
    }
}
BENCHMARK(BM_SunAlignmentDay)->Unit(benchmark::kMicrosecond);

void BM_PictureAimTexts(benchmark::State& state) {
    const sys_seconds now = sys_days{2026y / 6 / 21} + 8h;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakePictureAimTexts({55.75, 37.6}, 181.935, now, 180min));
    }
}
BENCHMARK(BM_PictureAimTexts)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace palquin
