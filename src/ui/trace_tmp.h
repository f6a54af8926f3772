#pragma once
#include <chrono>
#include <cstdio>
inline void TraceTmp(const char* what) {
    static const auto t0 = std::chrono::steady_clock::now();
    std::fprintf(stderr, "T %-22s %7.2f\n", what,
                 std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
}
