#include "report/report.h"

namespace palquin {

std::filesystem::path DefaultReportPath() {
    return std::filesystem::path(L"c:\\printOut.txt");
}

}  // namespace palquin
