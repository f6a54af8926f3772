// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The words the file layer tells the user why a file could not be read or written. Every
// message names the user's own file, never the temporary one a save goes through.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_io.h"

namespace palquin::file_messages {

inline constexpr std::string_view kNotFound = "файл не найден";
inline constexpr std::string_view kNoFolder = "нет такой папки";
inline constexpr std::string_view kFileInPath = "в пути вместо папки стоит файл";
inline constexpr std::string_view kNoReadRight = "нет прав на чтение";
inline constexpr std::string_view kNoWriteRight = "нет прав на запись";
inline constexpr std::string_view kReadOnlyFile = "файл защищён от записи";
inline constexpr std::string_view kReadOnlyDisk = "диск доступен только для чтения";
inline constexpr std::string_view kDiskFull = "диск заполнен";
inline constexpr std::string_view kTooLarge = "файл слишком большой";
inline constexpr std::string_view kNameTooLong = "слишком длинное имя";
inline constexpr std::string_view kBadName = "недопустимое имя файла";
inline constexpr std::string_view kFolder = "это папка, а не файл";
inline constexpr std::string_view kNotRegular = "это не обычный файл";
inline constexpr std::string_view kDanglingLink = "ссылка ведёт к файлу, которого нет";
inline constexpr std::string_view kLinkLoop = "ссылки на него замкнуты в круг";
inline constexpr std::string_view kChanged = "файл изменился во время записи";
inline constexpr std::string_view kBusy = "файл занят другой программой";
inline constexpr std::string_view kDiskError = "ошибка чтения или записи на диске";
inline constexpr std::string_view kNoMemory = "не хватает памяти";
inline constexpr std::string_view kTooManyFiles = "открыто слишком много файлов";

/// A reason the system gave that has no words of ours.
inline std::string SystemCode(long code) {
    return "ошибка системы, код " + std::to_string(code);
}

/// The reason in a portable error code, for a folder being created or a file being written.
inline std::string ReasonFor(const std::error_code& ec) {
    if (ec == std::errc::no_such_file_or_directory) {
        return std::string(kNoFolder);
    }
    if (ec == std::errc::not_a_directory || ec == std::errc::file_exists) {
        return std::string(kFileInPath);
    }
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) {
        return std::string(kNoWriteRight);
    }
    if (ec == std::errc::read_only_file_system) {
        return std::string(kReadOnlyDisk);
    }
    if (ec == std::errc::no_space_on_device) {
        return std::string(kDiskFull);
    }
    if (ec == std::errc::filename_too_long) {
        return std::string(kNameTooLong);
    }
    return SystemCode(ec.value());
}

/// "файл «/home/anna/printOut.txt»: нет такой папки".
inline std::string About(const std::filesystem::path& file, std::string_view reason) {
    return "файл «" + PathText(file) + "»: " + std::string(reason);
}

}  // namespace palquin::file_messages
