// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace palquin {

/// The whole file as bytes, or empty when it cannot be opened or read (error says why). Only a
/// regular file (or a link to one) is read; a FIFO, a device or a folder is refused without
/// blocking. Running out of memory is a failure like any other.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* error);

/// A whole file's bytes, kept for as long as owner lives.
struct HeldFile {
    std::shared_ptr<const void> owner;
    std::string_view bytes;
};

/// The whole file as ReadWholeFile reads it, but mapped into memory where the system can, so that
/// the caller need not wait for a copy (the bytes are moved into memory of our own a second later,
/// on a thread of their own). The bytes stay as they were when the file was mapped, even when
/// another program rewrites or cuts the file while they are held: on Linux the system then waits
/// for us to copy them; where it would not, the file is read instead (as it always is on Windows).
std::optional<HeldFile> MapWholeFile(const std::filesystem::path& path, std::string* error);

/// The whole file as ReadWholeFile reads it, for a big catalogue that is kept: a large file is
/// mapped as MapWholeFile maps it or, where it cannot be, read into memory of its own that is not
/// cleared first. onRead (where given) is shown the bytes so far, piece by piece, while the
/// newest are still in the processor's cache; the bytes it is shown last are not necessarily
/// those returned (a file that changes while read is read again).
std::optional<HeldFile> ReadWholeFileHeld(
    const std::filesystem::path& path, std::string* error,
    const std::function<void(std::string_view soFar)>& onRead = {});

/// Replaces the file with bytes, as one piece: the bytes go to a temporary file in the same
/// folder, which is flushed and then renamed over path; the new file keeps the old one's
/// permissions, owner and group. A file with several hard links, one whose owner cannot be kept,
/// or one in a folder that takes no new file is instead rewritten in place (new bytes over the
/// old, flushed, then the tail cut). Refused, leaving everything as it is: a target the user may
/// not write (no write permission at all counts, even for root), anything but a regular file, and
/// a link that leads nowhere (a link is never replaced by a plain file). On failure error says
/// why.
bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes, std::string* error);

/// Removes leftovers of interrupted saves in folder: regular files named .palquin-*.tmp, nothing
/// else (and none that a running save still holds).
void RemoveStaleTemporaries(const std::filesystem::path& folder);

/// True when the current user may create files in folder: the system's own answer (access(2) on
/// Linux, so root, read-only mounts and ACLs count; a probe file, removed again, on Windows).
/// False for anything but an existing folder.
bool CanCreateFilesIn(const std::filesystem::path& folder);

/// Where standard output is a pipe with less room than a megabyte, asks the system for that much,
/// so that a long output (a report of a large catalogue) goes through in fewer, larger steps;
/// a refusal changes nothing. Nothing happens elsewhere, or on Windows.
void WidenOutputPipe();

/// A path as UTF-8 text for messages; never throws, whatever the name holds.
std::string PathText(const std::filesystem::path& path);

}  // namespace palquin
