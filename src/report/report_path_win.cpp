// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

namespace palquin {

std::filesystem::path DefaultReportPath() {
    return std::filesystem::path(L"c:\\printOut.txt");
}

}  // namespace palquin
