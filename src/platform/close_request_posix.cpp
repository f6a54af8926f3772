// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/close_request.h"

#include <csignal>

namespace palquin {
namespace {

volatile std::sig_atomic_t closeRequested = 0;

extern "C" void OnCloseSignal(int /*signal*/) {
    closeRequested = 1;
}

}  // namespace

bool InstallCloseRequestHandlers() {
    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGHUP, &action, nullptr) == 0;
}

bool CloseRequested() {
    return closeRequested != 0;
}

void AcknowledgeClose() {
    // Nothing waits for the close on Linux: the process ends by itself once the window is gone.
}

}  // namespace palquin
