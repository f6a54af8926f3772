// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/program_folder.h"

#include <string>

#include "platform/win_text.h"

namespace palquin {

std::optional<std::filesystem::path> ProgramFolder(std::string* error) {
    // The name may be longer than MAX_PATH; grow until it fits (32,767 is the system's limit).
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            if (error != nullptr) {
                *error = "не удалось узнать файл программы (ошибка системы, код " +
                         std::to_string(GetLastError()) + ")";
            }
            return std::nullopt;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        if (buffer.size() > 32768) {
            if (error != nullptr) {
                *error = "слишком длинное имя файла программы";
            }
            return std::nullopt;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace palquin
