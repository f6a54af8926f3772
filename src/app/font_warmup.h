// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

namespace palquin {

/// Reads the system's font configuration (fontconfig: its XML files and font caches, about 6 ms)
/// on a thread of its own, started before QApplication, so that the first text the window
/// measures finds it loaded instead of loading it on the window's thread. Joined when the object
/// goes. Does nothing where the program is built without fontconfig (Windows).
class FontWarmup {
  public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup&) = delete;
    FontWarmup& operator=(const FontWarmup&) = delete;

  private:
    std::thread thread_;
};

}  // namespace palquin
