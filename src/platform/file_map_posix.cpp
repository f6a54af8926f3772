// SPDX-License-Identifier: GPL-3.0-or-later
// A file mapped into memory under a read lease, for the first second.
//
// A mapping shows the file as it is now, not as it was when it was mapped: a program that
// rewrites the file in place would change the bytes under us, and one that cuts it short would
// make every page past the new end fault. A read lease has the system hold back any program
// that opens the file for writing or cuts it, and tell us first, by a signal. The signal's
// handler copies the bytes into memory of our own, puts that memory where the mapping was (the
// same addresses, so whoever reads them never notices), and lets the lease go; the other program
// then goes on. A lease is only given where nobody has the file open for writing, to the file's
// owner (or root), on a local file system; elsewhere the caller reads the file instead.
//
// The mapping only spares the start the copy. A second after it was made, a thread of its own
// does the same move, so that a lease is never held for long: a stopped or frozen program would
// keep a writer waiting for the system's lease time-out (45 s by default), and a signal that
// never arrives (blocked everywhere) would do the same.
// A child process shares the lease with us until it execs: it must exec or _exit, never let go
// of a held file itself.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <system_error>
#include <thread>

#include "platform/file_io_hooks.h"
#include "platform/file_io_posix_detail.h"

namespace palquin {
// How long a lease is held at most, unless the holder lets go first.
std::chrono::milliseconds file_io_hooks::leaseTime{1000};
}  // namespace palquin

namespace palquin::file_io_detail {
namespace {

// A mapping's phase, with a count of its uses in the bits above, so that a late mover does not
// take a later use of the same place for its own.
enum Phase : unsigned {
    kFree,
    kSetting,  ///< being mapped; a lease broken now is seen once the mapping is published
    kMapped,   ///< the bytes are the file's pages, under the lease
    kMoving,   ///< they are being copied out
    kMoved,    ///< the bytes are our own; the lease is gone
    kClosing,  ///< the holder is letting go
};
constexpr unsigned kPhaseMask = 7;
constexpr unsigned kUse = 8;

unsigned PhaseOf(unsigned state) {
    return state & kPhaseMask;
}
unsigned WithPhase(unsigned state, Phase phase) {
    return (state & ~kPhaseMask) | phase;
}

// One held file. The handler reads it; it may run on any thread, at any moment.
struct LeasedMapping {
    std::atomic<unsigned> state{kFree};
    std::atomic<int> fd{-1};
    char* address = nullptr;
    size_t size = 0;
    void* spare = nullptr;  ///< address room reserved for the copy, no memory behind it yet
};
static_assert(std::atomic<unsigned>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler needs lock-free state");

// More files held at once than this are read instead.
constexpr int kMappings = 8;
LeasedMapping mappings[kMappings];

// Copies the bytes into the spare room, moves that room over the mapping and lets the lease go.
// Only system calls and memcpy: it runs in the signal handler. Should the move fail (it has no
// reason to), the lease still goes: the other program would otherwise wait for the system's
// lease time-out and then go on all the same.
void MoveToOwnMemory(LeasedMapping& mapping) {
    std::memcpy(mapping.spare, mapping.address, mapping.size);
    ::mprotect(mapping.spare, mapping.size, PROT_READ);
    if (::mremap(mapping.spare, mapping.size, mapping.size, MREMAP_MAYMOVE | MREMAP_FIXED,
                 mapping.address) != MAP_FAILED) {
        mapping.spare = nullptr;
    }
    ::fcntl(mapping.fd.load(), F_SETLEASE, F_UNLCK);
}

// Moves the mapping in its use state (phase kMapped), unless somebody else already does or did,
// or it is going.
void MoveIfMapped(LeasedMapping& mapping, unsigned state) {
    if (PhaseOf(state) == kMapped &&
        mapping.state.compare_exchange_strong(state, WithPhase(state, kMoving))) {
        MoveToOwnMemory(mapping);
        mapping.state.store(WithPhase(state, kMoved));
    }
}

// A lease being broken is told by SIGIO, which does not say whose: every mapping whose lease
// is on its way out is moved.
void OnLeaseBroken(int) {
    const int savedErrno = errno;
    for (LeasedMapping& mapping : mappings) {
        const unsigned state = mapping.state.load();
        if (PhaseOf(state) == kMapped && ::fcntl(mapping.fd.load(), F_GETLEASE) != F_RDLCK) {
            MoveIfMapped(mapping, state);
        }
    }
    errno = savedErrno;
}

bool HandlerInstalled() {
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_handler = OnLeaseBroken;
        // SA_RESTART: a thread of ours that itself opened the file for writing is interrupted
        // by the signal in that open, which then starts again and goes through.
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGIO, &action, nullptr) == 0;
    }();
    return installed;
}

LeasedMapping* ClaimMapping() {
    for (LeasedMapping& mapping : mappings) {
        unsigned state = mapping.state.load();
        if (PhaseOf(state) == kFree &&
            mapping.state.compare_exchange_strong(state, WithPhase(state + kUse, kSetting))) {
            return &mapping;
        }
    }
    return nullptr;
}

// Lets go of the file: the lease, the mapping or our copy, the reserved room, the descriptor.
void Release(LeasedMapping* mapping) {
    unsigned state = mapping->state.load();
    for (;;) {
        if (PhaseOf(state) == kMapped) {
            if (mapping->state.compare_exchange_strong(state, WithPhase(state, kClosing))) {
                break;
            }
        } else if (PhaseOf(state) == kMoving) {
            // Another thread is copying; it ends without waiting for anything.
            std::this_thread::yield();
            state = mapping->state.load();
        } else {
            break;  // moved, or never published
        }
    }
    const int fd = mapping->fd.exchange(-1);
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    if (mapping->address != nullptr) {
        ::munmap(mapping->address, mapping->size);
    }
    if (mapping->spare != nullptr) {
        ::munmap(mapping->spare, mapping->size);
    }
    ::close(fd);
    mapping->address = nullptr;
    mapping->spare = nullptr;
    mapping->size = 0;
    mapping->state.store(WithPhase(state, kFree));
}

// Has the bytes moved into our own memory after the lease time, or now where no thread can be had.
void MoveLater(LeasedMapping* mapping, unsigned state) {
    try {
        std::thread([mapping, state, wait = file_io_hooks::leaseTime] {
            std::this_thread::sleep_for(wait);
            MoveIfMapped(*mapping, state);
        }).detach();
    } catch (const std::system_error&) {
        MoveIfMapped(*mapping, state);
    }
}

}  // namespace

std::optional<HeldFile> MapUnderLease(const std::filesystem::path& path) {
    if (!HandlerInstalled()) {
        return std::nullopt;
    }
    LeasedMapping* const mapping = ClaimMapping();
    if (mapping == nullptr) {
        return std::nullopt;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    mapping->fd.store(fd);
    // A FIFO or a device gets no lease and no mapping; the size is taken once the lease holds
    // writers back.
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        ::fcntl(fd, F_SETLEASE, F_RDLCK) != 0 ||
        // The lease tells the thread that took it, which may be gone long before the break
        // (a start-up thread); the process lives on.
        ::fcntl(fd, F_SETOWN, ::getpid()) != 0 || ::fstat(fd, &st) != 0 || st.st_size <= 0) {
        Release(mapping);
        return std::nullopt;
    }
    const auto size = static_cast<size_t>(st.st_size);
    // MAP_POPULATE: the file's pages are put in place now, most of them already in the system's
    // cache, instead of one fault per page while the bytes are first read.
    void* const address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (address == MAP_FAILED) {
        Release(mapping);
        return std::nullopt;
    }
    mapping->address = static_cast<char*>(address);
    mapping->size = size;
    // Reserved now, so that the handler need not find memory when the lease is broken; none is
    // used until then.
    void* const spare = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                               MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (spare == MAP_FAILED) {
        Release(mapping);
        return std::nullopt;
    }
    mapping->spare = spare;
    const unsigned mapped = WithPhase(mapping->state.load(), kMapped);
    mapping->state.store(mapped);
    // A break that came while the mapping was being set up found nothing to move; the lease
    // then says it is on its way out.
    if (::fcntl(fd, F_GETLEASE) != F_RDLCK) {
        MoveIfMapped(*mapping, mapped);
    }
    MoveLater(mapping, mapped);
    std::shared_ptr<const void> owner(address, [mapping](const void*) { Release(mapping); });
    return HeldFile{std::move(owner), std::string_view(static_cast<const char*>(address), size)};
}

}  // namespace palquin::file_io_detail
