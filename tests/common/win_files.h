// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>
// windows.h maps ReplaceFile to ReplaceFileW; tests mean the file layer's function.
#undef ReplaceFile

#include <filesystem>
#include <memory>

#include "common/temporary_folder.h"

namespace palquin::testing_support {

/// Another handle on the file until the result goes, as an editor may hold it; null if it cannot
/// open. By default it shares all but deleting: Windows then refuses to move anything over it.
inline std::shared_ptr<void> HoldOpen(const std::filesystem::path& path,
                                      DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::shared_ptr<void>(file, CloseHandle);
}

}  // namespace palquin::testing_support
