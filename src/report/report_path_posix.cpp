// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <system_error>

#include "report/report.h"

namespace palquin {

std::filesystem::path DefaultReportPath() {
    constexpr const char* kFileName = "printOut.txt";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / kFileName;
    }
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(kFileName) : here / kFileName;
}

}  // namespace palquin
