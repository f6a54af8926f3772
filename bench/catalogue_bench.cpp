// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up reads the whole catalogue and every slot and report line splits entries, so both must
// stay fast for the largest catalogue the selectors take (32,767 entries, the most a signed 16-bit
// index counts); the target is under 20 ms each.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/entry.h"
#include "catalogue/satellite_file.h"

namespace palquin {
namespace {

constexpr int kLargestCatalogue = 32767;

std::string LargeCatalogue() {
    std::string bytes;
    for (int i = 0; i < kLargestCatalogue; ++i) {
        // Realistic length, with Windows-1251 text and the three links.
        bytes += std::to_string(i % 180) + ";" + std::to_string(i % 10) + ";" +
                 (i % 2 == 0 ? "E" : "W") + ";Satellite " + std::to_string(i) +
                 " (\xC5\xE2\xF0\xEE\xEF\xE0);https://www.example.org/sat/" + std::to_string(i) +
                 ";;\r\n";
    }
    bytes += std::string(kSeparatorLine) + "\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
    return bytes;
}

void BM_ParseAndSplitLargestCatalogue(benchmark::State& state) {
    const std::string bytes = LargeCatalogue();
    for (auto _ : state) {
        const CatalogueText catalogue(bytes);
        int complete = 0;
        for (size_t i = 0; i < catalogue.size(); ++i) {
            const auto position = SplitPosition(catalogue[i]);
            if (position && SplitLinks(position->tail).KnownLinks() == 3) {
                ++complete;
            }
        }
        benchmark::DoNotOptimize(complete);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ParseAndSplitLargestCatalogue)->Unit(benchmark::kMillisecond);

void BM_LoadLargestCatalogue(benchmark::State& state) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "palquin-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    const std::filesystem::path folder = pattern;
    {
        const std::string bytes = LargeCatalogue();
        std::ofstream(folder / kSatelliteFileName, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    for (auto _ : state) {
        const LoadResult result = LoadSatelliteFile(folder);
        if (result.catalogue.size() != static_cast<size_t>(kLargestCatalogue)) {
            state.SkipWithError("catalogue did not load whole");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_LoadLargestCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace palquin
