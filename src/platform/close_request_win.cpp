// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <atomic>

#include "platform/close_request.h"

namespace palquin {
namespace {

std::atomic<bool> requested{false};
// Set once the window has closed and saved; manual reset, so every waiting handler sees it.
HANDLE closed = nullptr;

// Windows ends a process five seconds after a console close; leave it a margin.
constexpr DWORD kCloseWaitMs = 4000;

// Runs on a thread of its own that the system starts; returning lets the system end the process.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            requested.store(true);
            WaitForSingleObject(closed, kCloseWaitMs);
            return TRUE;
        default:
            return FALSE;  // Ctrl+C and Ctrl+Break keep their usual meaning
    }
}

}  // namespace

bool InstallCloseRequestHandlers() {
    if (closed == nullptr) {
        closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (closed == nullptr) {
            return false;
        }
    }
    return SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
}

bool CloseRequested() {
    return requested.load();
}

void AcknowledgeClose() {
    if (closed != nullptr) {
        SetEvent(closed);
    }
}

}  // namespace palquin
