// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/settings_watchdog.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "platform/close_request.h"

namespace palquin {
namespace {

// How often the thread looks for a request: the signal handler can only set a flag.
constexpr std::chrono::milliseconds kPoll{50};

SettingsWatchdog::Hooks DefaultHooks() {
    SettingsWatchdog::Hooks hooks;
    hooks.requested = CloseRequested;
    // The window's thread is stuck; nothing it holds may run its destructors under it.
    hooks.finish = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    return hooks;
}

}  // namespace

SettingsWatchdog::SettingsWatchdog() : SettingsWatchdog(DefaultHooks()) {}

SettingsWatchdog::SettingsWatchdog(Hooks hooks) : hooks_(std::move(hooks)) {}

SettingsWatchdog::~SettingsWatchdog() {
    Disarm();
}

void SettingsWatchdog::Arm(std::filesystem::path folder, std::filesystem::path file,
                           CatalogueText fallback, const SettingsTexts& settings) {
    {
        const std::lock_guard<std::mutex> guard(lock_);
        if (armed_ || stop_) {
            return;
        }
        folder_ = std::move(folder);
        file_ = std::move(file);
        fallback_ = std::move(fallback);
        settings_ = settings;
        armed_ = true;
    }
    try {
        thread_ = std::thread([this] { Watch(); });
    } catch (const std::system_error&) {
        // Without a thread the window's own save on the request is all there is.
    }
}

void SettingsWatchdog::Update(const SettingsTexts& settings) {
    const std::lock_guard<std::mutex> guard(lock_);
    settings_ = settings;
}

SaveResult SettingsWatchdog::SaveLocked(const SettingsTexts& settings) {
    if (!fallback_) {
        return {false, "файл настроек не задан"};
    }
    saved_ = true;
    return file_.empty() ? SaveSatelliteFile(folder_, settings, *fallback_)
                         : SaveSatelliteFileAt(file_, settings, *fallback_);
}

SaveResult SettingsWatchdog::SaveFromWindow(const SettingsTexts& settings) {
    SaveResult result{true, {}};
    {
        const std::lock_guard<std::mutex> guard(lock_);
        settings_ = settings;
        if (!saved_) {
            result = SaveLocked(settings);
        }
    }
    changed_.notify_all();
    return result;
}

void SettingsWatchdog::Disarm() {
    {
        const std::lock_guard<std::mutex> guard(lock_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void SettingsWatchdog::Watch() {
    std::unique_lock<std::mutex> guard(lock_);
    while (!stop_ && !hooks_.requested()) {
        changed_.wait_for(guard, kPoll);
    }
    if (stop_) {
        return;
    }
    // The window normally saves and closes within a tenth of a second of the request.
    const auto deadline = std::chrono::steady_clock::now() + hooks_.grace;
    changed_.wait_until(guard, deadline, [this] { return stop_ || saved_; });
    if (stop_ || saved_) {
        return;
    }
    const SaveResult result = SaveLocked(settings_);
    if (!result.ok) {
        std::fprintf(stderr, "palquin: %s\n", result.error.c_str());
    }
    guard.unlock();
    hooks_.finish();
}

}  // namespace palquin
