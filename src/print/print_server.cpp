// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/print_server.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#if PALQUIN_HAVE_CUPS
#include <atomic>
#include <cerrno>
#include <string>

#include "print/cups_library.h"
#else
#include <QPrinterInfo>
#endif

namespace palquin {
namespace {

// Shared by the asking thread and the caller, so that either may leave first.
struct Question {
    std::mutex lock;
    std::condition_variable answered;
    bool done = false;
    PrintServerState state;
};

#if PALQUIN_HAVE_CUPS
// Ends every wait of libcups on the connection at the first timeout.
int GiveUp(http_t* /*http*/, void* timedOut) {
    static_cast<std::atomic<bool>*>(timedOut)->store(true);
    return 0;
}

PrintServerState Ask(std::chrono::milliseconds patience) {
    PrintServerState state;
    const CupsLibrary* cups = Cups();
    if (cups == nullptr) {
        state.kind = PrintServerState::Kind::NoServer;
        return state;
    }
    const int msec = static_cast<int>(patience.count());
    // Read in this thread: libcups keeps its settings per thread, from the environment and the
    // user's client.conf.
    const std::string server = cups->server();
    http_t* http = cups->connect(server.c_str(), cups->port(), nullptr, AF_UNSPEC,
                                 cups->encryption(), 1, msec, nullptr);
    if (http == nullptr) {
        state.kind =
            errno == ETIMEDOUT ? PrintServerState::Kind::Silent : PrintServerState::Kind::NoServer;
        return state;
    }
    std::atomic<bool> timedOut{false};
    cups->setTimeout(http, static_cast<double>(msec) / 1000.0, GiveUp, &timedOut);
    cups_dest_t* dest = cups->getNamedDest(http, nullptr, nullptr);
    const ipp_status_t status = cups->lastError();
    if (timedOut.load()) {
        state.kind = PrintServerState::Kind::Silent;
    } else if (dest != nullptr) {
        state.defaultQueue = QString::fromLocal8Bit(dest->name);
        const char* accepting =
            cups->getOption("printer-is-accepting-jobs", dest->num_options, dest->options);
        state.accepting = accepting == nullptr || std::string(accepting) != "false";
    } else if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE) {
        state.kind = PrintServerState::Kind::NoServer;
    }
    if (dest != nullptr) {
        cups->freeDests(1, dest);
    }
    cups->close(http);
    return state;
}
#else
PrintServerState Ask(std::chrono::milliseconds /*patience*/) {
    PrintServerState state;
    state.defaultQueue = QPrinterInfo::defaultPrinterName();
    return state;
}
#endif

}  // namespace

PrintServerState ProbePrintServer(std::chrono::milliseconds patience) {
#if !PALQUIN_HAVE_CUPS
    // Qt's printer list belongs to the window's thread, and asks nothing that hangs.
    return Ask(patience);
#endif
    auto question = std::make_shared<Question>();
    // The thread's own limits are a little shorter than the caller's, so that a server that is
    // merely slow still gets its answer counted.
    const auto own = patience * 4 / 5;
    try {
        std::thread([question, own] {
            PrintServerState state = Ask(own);
            const std::lock_guard<std::mutex> guard(question->lock);
            question->state = state;
            question->done = true;
            question->answered.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: asked here, still within the connection's own limits.
        return Ask(own);
    }
    std::unique_lock<std::mutex> guard(question->lock);
    if (!question->answered.wait_for(guard, patience, [&question] { return question->done; })) {
        PrintServerState silent;
        silent.kind = PrintServerState::Kind::Silent;
        return silent;
    }
    return question->state;
}

QString DefaultPrinterProblem(const PrintServerState& state) {
    switch (state.kind) {
        case PrintServerState::Kind::Silent:
        case PrintServerState::Kind::NoServer:
            return QStringLiteral("сервер печати не отвечает");
        case PrintServerState::Kind::Answers:
            break;
    }
    if (state.defaultQueue.isEmpty()) {
        return QStringLiteral("нет принтера по умолчанию");
    }
    if (!state.accepting) {
        return QStringLiteral("очередь не принимает задания");
    }
    return QString();
}

}  // namespace palquin
