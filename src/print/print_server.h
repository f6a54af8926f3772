// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <chrono>

namespace palquin {

/// How long the window waits for the print system's answer before it says that the server does
/// not answer. A server that takes longer is taken for a hung one.
inline constexpr std::chrono::milliseconds kPrintServerPatience{3000};

/// What the print system said when it was asked, before the print dialog or a job.
struct PrintServerState {
    enum class Kind {
        Answers,   ///< it answered; defaultQueue and accepting tell the rest
        NoServer,  ///< nothing listens where the server should be (refused, no such socket)
        Silent,    ///< it took the connection but gave no answer in time
    };
    Kind kind = Kind::Answers;
    QString defaultQueue;   ///< empty: no default printer
    bool accepting = true;  ///< the default queue takes jobs
};

/// Asks the print system (CUPS, as the user's settings name it) on a thread of its own whether it
/// answers and which queue is the default, and waits at most patience for it: the caller's thread
/// never hangs on a server that takes the connection and never answers. A question still running
/// when the time is up is left to end by itself. Without CUPS the answer is Qt's view of the
/// printers, asked directly.
PrintServerState ProbePrintServer(std::chrono::milliseconds patience = kPrintServerPatience);

/// The reason a job cannot go to the default printer now, in the user's words, or empty when it
/// can: "сервер печати не отвечает", "нет принтера по умолчанию", "очередь не принимает задания".
QString DefaultPrinterProblem(const PrintServerState& state);

}  // namespace palquin
