// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace palquin {

/// The number a text stands for, read from its start: blanks, tabs and line feeds are skipped
/// anywhere; then an optional sign, digits with at most one '.', and an optional exponent
/// (E or D in either case, optional sign, digits). Reading stops at the first character that
/// cannot continue the number; a text without a readable number gives 0. The decimal point is
/// always '.', whatever the locale. Exponents beyond the range of a double give +-infinity
/// (or 0 for tiny values); callers that compute with the result check for that.
double NumericValue(std::string_view text);

}  // namespace palquin
