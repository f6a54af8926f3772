#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "common/row_name.h"
#include "common/temporary_folder.h"

#include <csignal>
#include <cstdlib>
#include <fstream>

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
    Write(ComposeSatelliteFile(entries, {}));
    EXPECT_EQ(LoadSatelliteFile(folder_).content.entries, entries);
}

TEST_F(SatelliteFileIoTest, MissingFileIsCreatedFromTheDefaultAndSavedFromTheFallback) {
    const LoadResult result = LoadSatelliteFile(folder_);
    EXPECT_EQ(result.status, LoadResult::Status::CreatedFromDefault);
    EXPECT_EQ(result.content.entries, ParseSatelliteFile(DefaultSatelliteFile()).entries);
    EXPECT_EQ(Read(), DefaultSatelliteFile());
    // Saving after the file went away writes the catalogue loaded at start-up.
    fs::remove(file_);
    ASSERT_TRUE(SaveSatelliteFile(folder_, {"55.75", "N", "37.6", "E", "600"}, {"a", "b"}).ok);
    EXPECT_EQ(Read(), "a\r\nb\r\n" + kSettings);
}

// A link to nowhere is there but cannot be read: the default must not be written through it.
TEST_F(SatelliteFileIoTest, UnreadableFileLoadsNothingAndWritesNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need extra rights on Windows; satellite_file_win_test has a "
                    "file that is there but locked";
#endif
    fs::create_symlink(folder_ / "elsewhere.txt", file_);
    const LoadResult result = LoadSatelliteFile(folder_);
    EXPECT_EQ(result.status, LoadResult::Status::Unreadable);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(result.content.entries.empty() && result.content.settings.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
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
    const SettingsTexts settings = SettingsFromLines(LoadSatelliteFile(folder_).content.settings);
    ASSERT_TRUE(SaveSatelliteFile(folder_, settings, {"fallback"}).ok);
    EXPECT_EQ(Read(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveRoundTripTest,
    testing::Values(RoundTripRow{"SixthAndSeventhSettingDropped",
                                 kCatalogue + kSettings + "6\r\n7\r\n", kCatalogue + kSettings},
                    RoundTripRow{"LfCrAndMissingSettings", "a\nb\r" + kSep + "\n1\nN",
                                 "a\r\nb\r\n" + kSep + "\r\n1\r\nN\r\n\r\n\r\n\r\n"},
                    RoundTripRow{"EmptyFile", "", kSep + "\r\n\r\n\r\n\r\n\r\n\r\n"}),
    RowName());

// A low file size limit binds root too, unlike permission bits; with SIGXFSZ ignored a write past
// it just fails.
TEST_F(SatelliteFileIoTest, FailedSaveLeavesTheOldFileWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "a full disk is simulated with a file size limit, which Windows lacks";
#else
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
#endif
}

}  // namespace
}  // namespace palquin
