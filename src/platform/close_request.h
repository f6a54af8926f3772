// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace palquin {

/// Turns the system's requests to end the program (SIGTERM and SIGHUP on Linux; console close,
/// logoff and shutdown on Windows) into a flag that the window polls, so that it closes normally
/// and saves. False when the handlers could not be installed.
bool InstallCloseRequestHandlers();

/// True once such a request has arrived. Async-signal-safe flag.
bool CloseRequested();

/// The program has finished closing; on Windows the console handler waits for this (a few seconds
/// at most) before it lets the system end the process.
void AcknowledgeClose();

}  // namespace palquin
