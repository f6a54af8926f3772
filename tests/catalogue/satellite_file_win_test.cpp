#include <gtest/gtest.h>

#ifdef _WIN32

#include <filesystem>
#include <string>

#include "catalogue/satellite_file.h"
#include "common/temporary_folder.h"
#include "common/win_files.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

const std::string kSep(kSeparatorLine);
const std::string kSettings = kSep + "\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
// Windows-1251 bytes ("Европа") and CR LF, as users keep the file.
const std::string kCatalogue = "13;0;E;\xC5\xE2\xF0\xEE\xEF\xE0;;;\r\n\r\n";
const SettingsTexts kNewSettings = {"59.9", "N", "30.3", "E", "900"};
const std::string kNewFile = kCatalogue + kSep + "\r\n59.9\r\nN\r\n30.3\r\nE\r\n900\r\n";

// The program's folder in these tests has a Cyrillic name ("Программа"): a wide path throughout.
class WindowsSatelliteFileTest : public testing::Test {
  protected:
    void TearDown() override {
        SetReadOnly(file_, false);
        fs::remove_all(folder_);
    }
    size_t Entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }

    const fs::path folder_ =
        MakeTemporaryFolder(u8"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u0430 ");
    const fs::path file_ = folder_ / kSatelliteFileName;
};

TEST_F(WindowsSatelliteFileTest, LoadsAndSavesInACyrillicFolderByteForByte) {
    const LoadResult created = LoadSatelliteFile(folder_);
    EXPECT_EQ(created.status, LoadResult::Status::CreatedFromDefault);
    EXPECT_EQ(ReadBytes(file_), DefaultSatelliteFile());

    ASSERT_TRUE(WriteBytes(file_, kCatalogue + kSettings));
    const LoadResult loaded = LoadSatelliteFile(folder_);
    EXPECT_EQ(loaded.status, LoadResult::Status::Loaded);
    EXPECT_EQ(loaded.catalogue.Entries(),
              (std::vector<std::string>{"13;0;E;\xC5\xE2\xF0\xEE\xEF\xE0;;;", ""}));
    EXPECT_TRUE(SaveSatelliteFile(folder_, kNewSettings, {}).ok);
    EXPECT_EQ(ReadBytes(file_), kNewFile);
    EXPECT_EQ(Entries(), 1u);
}

// A read-only satellite.txt is read as usual; saving leaves it alone, mark included, and says so.
TEST_F(WindowsSatelliteFileTest, ReadOnlyFileIsLeftAloneAndReported) {
    ASSERT_TRUE(WriteBytes(file_, kCatalogue + kSettings));
    ASSERT_TRUE(SetReadOnly(file_, true));
    EXPECT_EQ(LoadSatelliteFile(folder_).status, LoadResult::Status::Loaded);
    const SaveResult saved = SaveSatelliteFile(folder_, kNewSettings, {});
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.error.empty());
    EXPECT_EQ(ReadBytes(file_), kCatalogue + kSettings);
    EXPECT_TRUE(IsReadOnly(file_));
    EXPECT_EQ(Entries(), 1u);
}

// An editor holding the file without delete sharing: Windows refuses the replace. The old file
// stays whole, the failure is reported, and the next save after the editor let go succeeds.
TEST_F(WindowsSatelliteFileTest, SaveOverAFileHeldOpenFailsWhole) {
    ASSERT_TRUE(WriteBytes(file_, kCatalogue + kSettings));
    {
        HeldOpen editor(file_);
        ASSERT_TRUE(editor.Valid());
        const SaveResult saved = SaveSatelliteFile(folder_, kNewSettings, {});
        EXPECT_FALSE(saved.ok);
        EXPECT_FALSE(saved.error.empty());
        EXPECT_EQ(ReadBytes(file_), kCatalogue + kSettings);
        EXPECT_EQ(Entries(), 1u) << "temporary file left behind";
    }
    EXPECT_TRUE(SaveSatelliteFile(folder_, kNewSettings, {}).ok);
    EXPECT_EQ(ReadBytes(file_), kNewFile);
}

// Held with no sharing at all, the file is there but cannot be read: nothing is loaded, and the
// built-in default must not be written in its place.
TEST_F(WindowsSatelliteFileTest, LockedFileLoadsNothingAndWritesNothing) {
    ASSERT_TRUE(WriteBytes(file_, kCatalogue + kSettings));
    {
        HeldOpen editor(file_, 0);
        ASSERT_TRUE(editor.Valid());
        const LoadResult result = LoadSatelliteFile(folder_);
        EXPECT_EQ(result.status, LoadResult::Status::Unreadable);
        EXPECT_FALSE(result.error.empty());
        EXPECT_TRUE(result.catalogue.empty() && result.catalogue.Settings().empty());
    }
    EXPECT_EQ(ReadBytes(file_), kCatalogue + kSettings);
    EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace palquin

#else

TEST(WindowsSatelliteFileTest, WindowsOnly) {
    GTEST_SKIP() << "the read-only attribute, sharing modes and wide paths are Windows matters; "
                    "make test-windows runs these under Wine";
}

#endif
