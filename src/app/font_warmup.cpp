// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/font_warmup.h"

#include <system_error>

#ifdef PALQUIN_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace palquin {

FontWarmup::FontWarmup() {
#ifdef PALQUIN_HAVE_FONTCONFIG
    // fontconfig keeps one current configuration, set atomically: Qt's font database takes the
    // one loaded here, or, asked before it is ready, loads its own and the later one is dropped.
    try {
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to be had: Qt loads the configuration itself, a few milliseconds later.
    }
#endif
}

FontWarmup::~FontWarmup() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace palquin
