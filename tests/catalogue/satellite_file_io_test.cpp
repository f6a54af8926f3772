// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#ifdef _WIN32
#include "common/win_files.h"
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "catalogue/satellite_file.h"
#include "common/temporary_folder.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

const std::string kSep(kSeparatorLine);
const std::string kSettings = kSep + "\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
// Windows-1251 bytes, a blank line, and a line that is not a separator.
const std::string kCatalogue = "13;0;E;\xC5\xE2\xF0\xEE\xEF\xE0;;;\r\n\r\n" + kSep + " \r\n";
const SettingsTexts kMoscow = {"55.75", "N", "37.6", "E", "600"};

// The program's folder has a Cyrillic name ("Программа "): on Windows a wide path throughout.
class SatelliteFileIoTest : public testing::Test {
  protected:
    void TearDown() override { fs::remove_all(folder_); }

    const fs::path folder_ =
        MakeTemporaryFolder(u8"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u0430 ");
    const fs::path file_ = folder_ / kSatelliteFileName;
};

TEST_F(SatelliteFileIoTest, LoadsMoreEntriesThanASixteenBitCount) {
    const std::vector<std::string> entries(40000, "13;0;E;Hot Bird;;;");
    ASSERT_TRUE(WriteBytes(file_, *ComposeSatelliteFile(entries, {})));
    EXPECT_EQ(LoadSatelliteFile(folder_).catalogue.Entries(), entries);
}

// The start also removes what interrupted saves left behind.
TEST_F(SatelliteFileIoTest, MissingFileIsCreatedFromTheDefaultAndSavedFromTheFallback) {
    ASSERT_TRUE(WriteBytes(folder_ / ".palquin-123456.tmp", kCatalogue));
    const LoadResult result = LoadSatelliteFile(folder_);
    EXPECT_EQ(result.status, LoadResult::Status::CreatedFromDefault);
    EXPECT_EQ(result.catalogue.Entries(), ParseSatelliteFile(DefaultSatelliteFile()).entries);
    EXPECT_EQ(ReadBytes(file_), DefaultSatelliteFile());
    EXPECT_EQ(NamesIn(folder_), std::set<fs::path>{kSatelliteFileName});
    // Saving after the file went away writes the catalogue loaded at start-up.
    fs::remove(file_);
    const CatalogueText loaded("a\r\nb\n" + kSep + "\r\nold");
    ASSERT_TRUE(SaveSatelliteFile(folder_, kMoscow, loaded).ok);
    EXPECT_EQ(ReadBytes(file_), "a\r\nb\r\n" + kSettings);
}

// Load, then save the loaded settings: the catalogue comes from the file as it is now, not from
// the fallback, a byte-order mark included.
TEST_F(SatelliteFileIoTest, SaveKeepsTheCatalogueBytes) {
    const struct {
        std::string before, after;
    } rows[] = {
        {kCatalogue + kSettings + "6\r\n7\r\n", kCatalogue + kSettings},
        {"a\nb\r" + kSep + "\n1\nN", "a\r\nb\r\n" + kSep + "\r\n1\r\nN\r\n\r\n\r\n\r\n"},
        // Line feeds only, with an empty line in the catalogue and an empty latitude setting.
        {"a\n\nb\n" + kSep + "\n\nN\n37.6\nE\n600\n",
         "a\r\n\r\nb\r\n" + kSep + "\r\n\r\nN\r\n37.6\r\nE\r\n600\r\n"},
        {"", kSep + "\r\n\r\n\r\n\r\n\r\n\r\n"},
        {"\xEF\xBB\xBF" + kCatalogue + kSettings, "\xEF\xBB\xBF" + kCatalogue + kSettings},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(WriteBytes(file_, row.before));
        const LoadResult loaded = LoadSatelliteFile(folder_);
        const SettingsTexts settings = SettingsFromLines(loaded.catalogue.Settings());
        ASSERT_TRUE(SaveSatelliteFile(folder_, settings, CatalogueText("fallback")).ok);
        EXPECT_EQ(ReadBytes(file_), row.after) << row.before;
    }
}

// Pasted "12 CR LF separator CR LF INJECT" into a field must not rewrite the settings block.
TEST_F(SatelliteFileIoTest, SettingHoldingALineBreakIsNeverWritten) {
    ASSERT_TRUE(WriteBytes(file_, kCatalogue + kSettings));
    for (const char* pasted : {"12\r\n------------------\r\nINJECT", "12\n", "\r"}) {
        const SaveResult saved = SaveSatelliteFile(folder_, {pasted, "N", "37.6", "E", "600"}, {});
        EXPECT_FALSE(saved.ok || saved.error.empty()) << pasted;
        EXPECT_EQ(ReadBytes(file_), kCatalogue + kSettings) << pasted;
    }
}

// A file that is there but cannot be read (a link to nowhere, a file the user may not read or may
// only write; on Windows a file held without sharing) is not loaded, nor replaced by the default
// at start, nor written at exit, least of all from the catalogue held in memory. Root reads any
// file, so as root the user is nobody, who then owns the file and the folder (and so could replace
// the file if the program let it).
TEST_F(SatelliteFileIoTest, UnreadableFileIsLeftAlone) {
    const auto loadAndSave = [&] {
        const LoadResult loaded = LoadSatelliteFile(folder_);
        const SaveResult saved = SaveSatelliteFile(folder_, kMoscow, CatalogueText("memory"));
        return loaded.status == LoadResult::Status::Unreadable && !loaded.error.empty() &&
               loaded.catalogue.empty() && loaded.catalogue.Settings().empty() && !saved.ok &&
               !saved.error.empty();
    };
#ifdef _WIN32
    ASSERT_TRUE(WriteBytes(file_, kCatalogue + kSettings));
    const std::shared_ptr<void> editor = HoldOpen(file_, 0);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(loadAndSave());
    EXPECT_EQ(NamesIn(folder_).size(), 1u) << "written elsewhere";
#else
    constexpr uid_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    const bool asNobody = root && ::chown(folder_.c_str(), kNobody, kNobody) == 0;
    for (const fs::perms mode : {fs::perms::unknown, fs::perms::none, fs::perms::owner_write}) {
        const bool link = mode == fs::perms::unknown;
        SCOPED_TRACE(link ? "link to nowhere" : "mode " + std::to_string(static_cast<int>(mode)));
        if (!link && root && !asNobody) {
            GTEST_SKIP() << "cannot give the folder to another user, so root would read the file";
        }
        fs::remove(file_);
        if (link) {
            fs::create_symlink(folder_ / "elsewhere.txt", file_);
        } else {
            ASSERT_TRUE(WriteBytes(file_, kCatalogue + kSettings));
            ASSERT_TRUE(!root || ::chown(file_.c_str(), kNobody, kNobody) == 0);
            fs::permissions(file_, mode);
        }
        const auto asTheUser = [&] {
            const bool user = !root || (::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
            ::_exit(user && loadAndSave() ? 0 : 1);
        };
        EXPECT_EXIT(asTheUser(), testing::ExitedWithCode(0), "");
        EXPECT_EQ(NamesIn(folder_).size(), 1u) << "written elsewhere";
        if (link) {
            EXPECT_TRUE(fs::is_symlink(file_));
            continue;
        }
        EXPECT_EQ(fs::status(file_).permissions(), mode);
        fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(ReadBytes(file_), kCatalogue + kSettings);
    }
#endif
}

// Under a memory limit too small for the file, start-up and save both report the failure and the
// file stays whole. Runs in a child, whose address space is limited.
TEST_F(SatelliteFileIoTest, OutOfMemoryIsAFailureLikeAnyOther) {
#ifdef _WIN32
    GTEST_SKIP() << "an address-space limit is a POSIX matter";
#elif defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#else
    std::string bytes = kCatalogue;
    while (bytes.size() < 64u << 20) {
        bytes += bytes;
    }
    ASSERT_TRUE(WriteBytes(file_, bytes));
    const auto loadAndSave = [&] {
        // Room for what the child already uses and a quarter of the file.
        rlim_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit =
            pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + bytes.size() / 4;
        const rlimit low{limit, limit};
        ::setrlimit(RLIMIT_AS, &low);
        const LoadResult loaded = LoadSatelliteFile(folder_);
        const SaveResult saved = SaveSatelliteFile(folder_, kMoscow, {});
        std::fprintf(stderr, "load: %s; save: %s", loaded.error.c_str(), saved.error.c_str());
        std::_Exit(loaded.status == LoadResult::Status::Unreadable && !saved.ok ? 0 : 1);
    };
    EXPECT_EXIT(loadAndSave(), testing::ExitedWithCode(0),
                "load: [^;]*не хватает памяти.*save: .*не хватает памяти");
    EXPECT_TRUE(ReadBytes(file_) == bytes) << "the file changed";
#endif
}

}  // namespace
}  // namespace palquin
