// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display.h"

#include <cstdlib>
#include <string_view>

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
    if (Set("DISPLAY") || Set("WAYLAND_DISPLAY")) {
        return true;
    }
    // A platform named by the user counts, except X11 itself, which needs DISPLAY.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr) {
        return false;
    }
    const std::string_view name(platform);
    return !name.empty() && name.substr(0, name.find(':')) != "xcb";
#endif
}

}  // namespace palquin
