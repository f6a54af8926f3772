// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace palquin {

/// The patterns under which computed numbers are written into labels and the report.
enum class NumberPattern {
    Grouped3,  ///< "# ###.###": 3 decimals, thousands grouped with a blank
    Plain1,    ///< "###.#": 1 decimal
    Grouped1,  ///< "# ###.#": 1 decimal, thousands grouped with a blank
    Fixed2,    ///< "Fixed": 2 decimals
};

/// Writes x in the result number form: rounded to the pattern's decimals, no trailing zeros, no
/// "0" before the point for values below 1, a leading blank for non-negative values and "-" for
/// negative ones. A value that rounds to zero is " 0" (never "-0"). Under the grouped patterns
/// the whole part groups its thousands with one blank (" 1 234.568"). Not for non-finite values:
/// those are written as " 0" rather than garbage, but callers should not get there.
std::string FormatResult(double x, NumberPattern pattern);

}  // namespace palquin
