// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/font_warmup.h"

#ifdef PALQUIN_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace palquin {

FontWarmup::FontWarmup() {
#ifdef PALQUIN_HAVE_FONTCONFIG
    // fontconfig keeps one current configuration, set atomically: Qt's font database takes the
    // one loaded here, or, asked before it is ready, loads its own and the later one is dropped.
    thread_ = std::thread([] { FcInit(); });
#endif
}

FontWarmup::~FontWarmup() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace palquin
