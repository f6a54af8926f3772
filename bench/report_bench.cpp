// SPDX-License-Identifier: GPL-3.0-or-later
// The export computes a line for every catalogue entry; for the largest catalogue the selectors
// take (32,767 entries) building the lines must stay under 20 ms.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "report/report.h"

namespace palquin {
namespace {

constexpr int kLargestCatalogue = 32767;

std::vector<std::string> LargeCatalogue() {
    std::vector<std::string> entries;
    entries.reserve(kLargestCatalogue);
    for (int i = 0; i < kLargestCatalogue; ++i) {
        // Both hemispheres, many below the horizon, Windows-1251 text and three links.
        entries.push_back(std::to_string(i % 180) + ";" + std::to_string(i % 10) + ";" +
                          (i % 2 == 0 ? "E" : "W") + ";Satellite " + std::to_string(i) +
                          " (\xC5\xE2\xF0\xEE\xEF\xE0);https://www.example.org/sat/" +
                          std::to_string(i) + ";;");
    }
    return entries;
}

void BM_BuildReportLinesLargestCatalogue(benchmark::State& state) {
    const std::vector<std::string> entries = LargeCatalogue();
    for (auto _ : state) {
        const std::vector<std::string> lines = BuildReportLines("55.75", "37.6", entries);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kLargestCatalogue);
}
BENCHMARK(BM_BuildReportLinesLargestCatalogue)->Unit(benchmark::kMillisecond);

void BM_ComposeReportLargestCatalogue(benchmark::State& state) {
    const std::vector<std::string> lines = BuildReportLines("55.75", "37.6", LargeCatalogue());
    for (auto _ : state) {
        const std::string text = ComposeReport(lines);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ComposeReportLargestCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace palquin
