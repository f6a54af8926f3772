#include "app/display.h"

#include <cstdlib>

namespace palquin {
namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool HasDisplay() {
#if defined(_WIN32) || defined(__APPLE__)
    return true;
#else
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
#endif
}

}  // namespace palquin
