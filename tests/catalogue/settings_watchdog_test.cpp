// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/settings_watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "common/row_name.h"
#include "common/temporary_folder.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

const std::string kSep(kSeparatorLine);
const SettingsTexts kAtStart = {"55.75", "N", "37.6", "E", "600"};
const SettingsTexts kCopy = {"33.9", "S", "151.2", "E", "650"};  // the fields, changed since
const SettingsTexts kWindow = {"1", "N", "2", "W", "700"};       // what the window would save

std::string File(const std::string& catalogue, const SettingsTexts& settings) {
    std::string bytes = catalogue + kSep + "\r\n";
    for (const std::string& text : settings) {
        bytes += text + "\r\n";
    }
    return bytes;
}

enum class Window { Never, InTime, AfterTheWatchdog };

struct Row {
    const char* name;
    bool requested;                      ///< the system asked the program to end
    Window window;                       ///< when the window comes round to its own save
    std::optional<SettingsTexts> saved;  ///< the settings in the file at the end; none: as before
    int finishes;                        ///< times the watchdog ended the program
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class SettingsWatchdogTest : public testing::TestWithParam<Row> {
  protected:
    void TearDown() override { fs::remove_all(folder_); }
    const fs::path folder_ = MakeTemporaryFolder();
    const fs::path file_ = folder_ / kSatelliteFileName;
};

// A save on the request happens once, by whoever comes first; the watchdog writes the latest copy
// of the fields and keeps the catalogue as it is on disk by then, and ends the program only
// when it saved.
TEST_P(SettingsWatchdogTest, SavesOnceWhenTheWindowIsStuck) {
    const Row& row = GetParam();
    ASSERT_TRUE(WriteBytes(file_, File("13;0;E;Hot Bird;;;\r\n", kAtStart)));
    const LoadResult loaded = LoadSatelliteFile(folder_);
    ASSERT_EQ(loaded.status, LoadResult::Status::Loaded);

    std::atomic<int> finishes{0};
    SettingsWatchdog::Hooks hooks;
    hooks.requested = [&row] { return row.requested; };
    hooks.finish = [&finishes] { ++finishes; };
    // A window that comes round in time does so long before this.
    hooks.grace =
        row.window == Window::InTime ? std::chrono::minutes(1) : std::chrono::milliseconds(100);
    SettingsWatchdog watchdog(hooks);
    watchdog.Arm(folder_, {}, loaded.catalogue, kAtStart);
    // The user edits the catalogue while the program runs; the fields change.
    const std::string edited = "13;0;E;Hot Bird;;;\r\n19;2;E;Astra;;;\r\n";
    ASSERT_TRUE(WriteBytes(file_, File(edited, kAtStart)));
    watchdog.Update(kCopy);

    if (row.window == Window::InTime) {
        EXPECT_TRUE(watchdog.SaveFromWindow(kWindow).ok);
    }
    if (row.window == Window::AfterTheWatchdog) {
        for (int waits = 0; finishes == 0 && waits < 1000; ++waits) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_EQ(finishes, 1) << "the watchdog never saved";
        EXPECT_TRUE(watchdog.SaveFromWindow(kWindow).ok);
    }
    watchdog.Disarm();
    EXPECT_EQ(ReadBytes(file_), File(edited, row.saved.value_or(kAtStart)));
    EXPECT_EQ(finishes, row.finishes);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SettingsWatchdogTest,
    testing::Values(Row{"StuckWindow_TheCopyIsSaved", true, Window::AfterTheWatchdog, kCopy, 1},
                    Row{"WindowInTime_TheWindowSaves", true, Window::InTime, kWindow, 0},
                    Row{"NoRequest_NothingWritten", false, Window::Never, std::nullopt, 0}),
    RowName());

}  // namespace
}  // namespace palquin
