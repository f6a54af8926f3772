#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstdlib>
#include <fstream>

#include "common/row_name.h"
#include "common/temporary_folder.h"

#include "catalogue/satellite_file.h"

namespace palquin {
namespace {

using testing_support::RowName;
namespace fs = std::filesystem;

const std::string kSep(kSeparatorLine);
const std::string kSettings = kSep + "\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
// Windows-1251 bytes, a blank line, and a line that is not a separator.
const std::string kCatalogue = "13;0;E;\xC5\xE2\xF0\xEE\xEF\xE0;;;\r\n\r\n" + kSep + " \r\n";

class SatelliteFileIoTest : public testing::Test {
  protected:
    void TearDown() override { fs::remove_all(folder_); }
    void Write(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
    std::string Read() const {
        std::ifstream in(file_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    const fs::path folder_ = testing_support::MakeTemporaryFolder();
    const fs::path file_ = folder_ / kSatelliteFileName;
};

TEST_F(SatelliteFileIoTest, LoadsMoreEntriesThanASixteenBitCount) {
    const std::vector<std::string> entries(40000, "13;0;E;Hot Bird;;;");
    Write(*ComposeSatelliteFile(entries, {}));
    EXPECT_EQ(LoadSatelliteFile(folder_).catalogue.Entries(), entries);
}

TEST_F(SatelliteFileIoTest, MissingFileIsCreatedFromTheDefaultAndSavedFromTheFallback) {
    const LoadResult result = LoadSatelliteFile(folder_);
    EXPECT_EQ(result.status, LoadResult::Status::CreatedFromDefault);
    EXPECT_EQ(result.catalogue.Entries(), ParseSatelliteFile(DefaultSatelliteFile()).entries);
    EXPECT_EQ(Read(), DefaultSatelliteFile());
    // Saving after the file went away writes the catalogue loaded at start-up.
    fs::remove(file_);
    ASSERT_TRUE(SaveSatelliteFile(folder_, {"55.75", "N", "37.6", "E", "600"},
                                  CatalogueText("a\r\nb\n" + kSep + "\r\nold"))
                    .ok);
    EXPECT_EQ(Read(), "a\r\nb\r\n" + kSettings);
}

struct RoundTripRow {
    const char* name;
    std::string before;
    std::string after;  ///< the file after load, then save of the loaded settings
};

class SaveRoundTripTest : public SatelliteFileIoTest,
                          public testing::WithParamInterface<RoundTripRow> {};

// The catalogue is taken from the file as it is now, not from the fallback.
TEST_P(SaveRoundTripTest, KeepsTheCatalogueBytes) {
    Write(GetParam().before);
    const SettingsTexts settings =
        SettingsFromLines(LoadSatelliteFile(folder_).catalogue.Settings());
    ASSERT_TRUE(SaveSatelliteFile(folder_, settings, CatalogueText("fallback")).ok);
    EXPECT_EQ(Read(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveRoundTripTest,
    testing::Values(RoundTripRow{"SixthAndSeventhSettingDropped",
                                 kCatalogue + kSettings + "6\r\n7\r\n", kCatalogue + kSettings},
                    RoundTripRow{"LfCrAndMissingSettings", "a\nb\r" + kSep + "\n1\nN",
                                 "a\r\nb\r\n" + kSep + "\r\n1\r\nN\r\n\r\n\r\n\r\n"},
                    RoundTripRow{"EmptyFile", "", kSep + "\r\n\r\n\r\n\r\n\r\n\r\n"},
                    RoundTripRow{"ByteOrderMarkKept", "\xEF\xBB\xBF" + kCatalogue + kSettings,
                                 "\xEF\xBB\xBF" + kCatalogue + kSettings}),
    RowName());

// Pasted "12 CR LF separator CR LF INJECT" into a field must not rewrite the settings block.
TEST_F(SatelliteFileIoTest, SettingHoldingALineBreakIsNeverWritten) {
    Write(kCatalogue + kSettings);
    for (const char* pasted : {"12\r\n------------------\r\nINJECT", "12\n", "\r"}) {
        const SaveResult saved = SaveSatelliteFile(folder_, {pasted, "N", "37.6", "E", "600"}, {});
        EXPECT_FALSE(saved.ok) << pasted;
        EXPECT_FALSE(saved.error.empty()) << pasted;
        EXPECT_EQ(Read(), kCatalogue + kSettings) << pasted;
    }
}

TEST_F(SatelliteFileIoTest, StartRemovesLeftoversOfInterruptedSaves) {
    Write(kCatalogue + kSettings);
    std::ofstream(folder_ / ".palquin-123456.tmp") << kCatalogue;
    LoadSatelliteFile(folder_);
    EXPECT_FALSE(fs::exists(folder_ / ".palquin-123456.tmp"));
}

#ifndef _WIN32

// A link to nowhere is there but cannot be read: the default must not be written through it.
TEST_F(SatelliteFileIoTest, UnreadableFileLoadsNothingAndWritesNothing) {
    fs::create_symlink(folder_ / "elsewhere.txt", file_);
    const LoadResult result = LoadSatelliteFile(folder_);
    EXPECT_EQ(result.status, LoadResult::Status::Unreadable);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(result.catalogue.empty() && result.catalogue.Settings().empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

// A low file size limit binds root too, unlike permission bits; with SIGXFSZ ignored a write past
// it just fails.
TEST_F(SatelliteFileIoTest, FailedSaveLeavesTheOldFileWhole) {
    Write(kCatalogue + kSettings);
    rlimit normal{};
    ::getrlimit(RLIMIT_FSIZE, &normal);
    const rlimit low{4096, normal.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &low);
    const bool ok = SaveSatelliteFile(folder_, {std::string(64 * 1024, '5')}, {}).ok;
    ::setrlimit(RLIMIT_FSIZE, &normal);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Read(), kCatalogue + kSettings);
    // The temporary file is gone too.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

// A file that became a link to nowhere while the program ran is not written from memory: the
// link stays and nothing appears where it points.
TEST_F(SatelliteFileIoTest, FileThatBecameUnreadableIsLeftAlone) {
    CatalogueText loaded(kCatalogue + kSettings);
    fs::create_symlink(folder_ / "elsewhere.txt", file_);
    const SaveResult saved = SaveSatelliteFile(folder_, {"1", "N", "2", "E", "3"}, loaded);
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.error.empty());
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_FALSE(fs::exists(folder_ / "elsewhere.txt"));
}

// Under a memory limit too small for the file, start-up and save both report the failure and the
// file stays whole. Runs in a child, whose address space is limited.
TEST_F(SatelliteFileIoTest, OutOfMemoryIsAFailureLikeAnyOther) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#endif
#endif
    std::string bytes = kCatalogue;
    while (bytes.size() < 64u << 20) {
        bytes += bytes;
    }
    bytes += kSettings;
    Write(bytes);
    const pid_t child = ::fork();
    if (child == 0) {
        // Room for what the child already uses and a quarter of the file.
        std::ifstream status("/proc/self/status");
        std::string word;
        size_t usedKb = 0;
        while (status >> word) {
            if (word == "VmSize:") {
                status >> usedKb;
            }
        }
        const rlim_t limit = usedKb * 1024 + bytes.size() / 4;
        const rlimit low{limit, limit};
        if (usedKb == 0 || ::setrlimit(RLIMIT_AS, &low) != 0) {
            ::_exit(3);
        }
        const LoadResult loaded = LoadSatelliteFile(folder_);
        const bool loadReported = loaded.status == LoadResult::Status::Unreadable &&
                                  loaded.error.find("memory") != std::string::npos;
        const SaveResult saved = SaveSatelliteFile(folder_, {"1", "N", "2", "E", "3"}, {});
        const bool saveReported = !saved.ok && saved.error.find("memory") != std::string::npos;
        ::_exit((loadReported ? 0 : 1) | (saveReported ? 0 : 2));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died: no failure was reported";
    if (WEXITSTATUS(status) == 3) {
        GTEST_SKIP() << "cannot limit the address space here";
    }
    EXPECT_EQ(WEXITSTATUS(status) & 1, 0) << "start-up did not report the failure";
    EXPECT_EQ(WEXITSTATUS(status) & 2, 0) << "the save did not report the failure";
    EXPECT_TRUE(Read() == bytes) << "the file changed";
}

#else

TEST(SatelliteFileIoPosixTest, PosixOnly) {
    GTEST_SKIP() << "dangling links, file size limits and memory limits are set up with POSIX "
                    "calls; the Windows cases are in satellite_file_win_test.cpp";
}

#endif

}  // namespace
}  // namespace palquin
