// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "catalogue/catalogue_text.h"
#include "catalogue/satellite_file.h"

namespace palquin {

/// Saves the settings when the system asks the program to end (SIGTERM, SIGHUP) and the window
/// does not come round to it in time, because its thread is blocked (a print server, a slow
/// network folder). The window keeps a copy of the five settings texts current here; a thread of
/// the watchdog's own writes that copy through the file layer, the same save as the window's,
/// so nothing else in the file changes, and then ends the program.
///
/// Saves of the window and of the watchdog never run at the same time, and once one of them has
/// saved on the request the other does not save again.
class SettingsWatchdog {
  public:
    struct Hooks {
        std::function<bool()> requested;  ///< the system asked to end; default CloseRequested
        std::function<void()> finish;     ///< after the watchdog's save; default ends the process
        std::chrono::milliseconds grace{1500};  ///< the window's time to come round to it
    };

    SettingsWatchdog();
    explicit SettingsWatchdog(Hooks hooks);
    ~SettingsWatchdog();
    SettingsWatchdog(const SettingsWatchdog&) = delete;
    SettingsWatchdog& operator=(const SettingsWatchdog&) = delete;

    /// Starts watching: the file to save (empty: satellite.txt in folder), the catalogue as
    /// loaded (written when the file is gone by then) and the settings as they stand.
    void Arm(std::filesystem::path folder, std::filesystem::path file, CatalogueText fallback,
             const SettingsTexts& settings);
    /// The settings as the window's fields read now.
    void Update(const SettingsTexts& settings);

    /// The window's own save on closing: run through here, it never overlaps the watchdog's.
    /// Returns the save's result; nothing is written (and {true} returned) when the watchdog
    /// saved already.
    SaveResult SaveFromWindow(const SettingsTexts& settings);
    /// The window is gone (saved or not): the watchdog stops without writing.
    void Disarm();

  private:
    void Watch();
    SaveResult SaveLocked(const SettingsTexts& settings);

    Hooks hooks_;
    std::mutex lock_;  ///< everything below, and every save
    std::condition_variable changed_;
    bool armed_ = false;
    bool stop_ = false;
    bool saved_ = false;
    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::optional<CatalogueText> fallback_;
    SettingsTexts settings_;
    std::thread thread_;
};

}  // namespace palquin
