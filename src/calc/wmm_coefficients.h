// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace palquin {

/// One line of a World Magnetic Model coefficient file: Gauss coefficients of degree n and order m
/// at the epoch (nT) and their yearly change (nT per year).
struct WmmCoefficient {
    int n = 0;
    int m = 0;
    double g = 0.0;
    double h = 0.0;
    double gPerYear = 0.0;
    double hPerYear = 0.0;
};

inline constexpr int kWmmDegree = 12;

struct WmmModel {
    double epochYear = 0.0;  ///< decimal year the coefficients hold for
    const char* name = "";   ///< as the file names it, e.g. "WMM-2025"
    std::array<WmmCoefficient, (kWmmDegree + 1) * (kWmmDegree + 2) / 2 - 1> coefficients;
};

/// The model compiled in from resources/WMM2025.COF.
extern const WmmModel kWmmModel;

}  // namespace palquin
