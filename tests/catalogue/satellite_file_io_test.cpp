#include <gtest/gtest.h>

#include <sys/resource.h>
#include "common/row_name.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "catalogue/satellite_file.h"

namespace palquin {
namespace {

using testing_support::RowName;

namespace fs = std::filesystem;

const std::string kSep(kSeparatorLine);
const SettingsTexts kSite{"55.75", "N", "37.6", "E", "600"};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::vector<std::string> FolderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class SatelliteFileIoTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "palquin-catalogue-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        file_ = folder_ / kSatelliteFileName;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    fs::path folder_;
    fs::path file_;
};

TEST_F(SatelliteFileIoTest, LoadsAnExistingFile) {
    WriteBytes(file_, "13;0;E;a;;;\r\n" + kSep + "\r\n1\r\nN\r\n");
    const LoadResult result = LoadSatelliteFile(folder_);
    EXPECT_EQ(result.status, LoadResult::Status::Loaded);
    EXPECT_EQ(result.content.entries, std::vector<std::string>{"13;0;E;a;;;"});
    EXPECT_EQ(result.content.settings, (std::vector<std::string>{"1", "N"}));
    EXPECT_TRUE(result.error.empty());
}

TEST_F(SatelliteFileIoTest, LoadsEveryEntryOfAHugeCatalogue) {
    std::string bytes;
    for (int i = 0; i < 40000; ++i) {
        bytes += std::to_string(i % 180) + ";0;E;sat " + std::to_string(i) + ";;;\r\n";
    }
    WriteBytes(file_, bytes);
    const LoadResult result = LoadSatelliteFile(folder_);
    ASSERT_EQ(result.content.entries.size(), 40000u);
    EXPECT_EQ(result.content.entries.back(), "39;0;E;sat 39999;;;");
}

TEST_F(SatelliteFileIoTest, MissingFileIsCreatedFromTheDefault) {
    const LoadResult result = LoadSatelliteFile(folder_);
    EXPECT_EQ(result.status, LoadResult::Status::CreatedFromDefault);
    EXPECT_TRUE(result.error.empty()) << result.error;
    EXPECT_EQ(result.content.entries, ParseSatelliteFile(DefaultSatelliteFile()).entries);
    EXPECT_EQ(ReadBytes(file_), DefaultSatelliteFile());
}

TEST_F(SatelliteFileIoTest, DefaultIsReturnedEvenWhenItCannotBeWritten) {
    const fs::path missingFolder = folder_ / "gone";
    const LoadResult result = LoadSatelliteFile(missingFolder);
    EXPECT_EQ(result.status, LoadResult::Status::CreatedFromDefault);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(result.content.entries, ParseSatelliteFile(DefaultSatelliteFile()).entries);
    EXPECT_FALSE(fs::exists(missingFolder));
}

TEST_F(SatelliteFileIoTest, UnreadableFileLoadsNothingAndWritesNothing) {
    fs::create_directory(file_);
    WriteBytes(file_ / "inside", "x");
    const LoadResult result = LoadSatelliteFile(folder_);
    EXPECT_EQ(result.status, LoadResult::Status::Unreadable);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(result.content.entries.empty());
    EXPECT_TRUE(result.content.settings.empty());
    EXPECT_EQ(FolderNames(folder_), std::vector<std::string>{"satellite.txt"});
    EXPECT_EQ(FolderNames(file_), std::vector<std::string>{"inside"});
}

TEST_F(SatelliteFileIoTest, DanglingLinkIsUnreadableNotReplaced) {
    fs::create_symlink(folder_ / "elsewhere.txt", file_);
    EXPECT_EQ(LoadSatelliteFile(folder_).status, LoadResult::Status::Unreadable);
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_FALSE(fs::exists(folder_ / "elsewhere.txt"));
}

struct RoundTripCase {
    const char* name;
    std::string before;
    std::string after;  ///< the file after load, then save of the loaded settings
};

class SaveRoundTripTest : public SatelliteFileIoTest,
                          public testing::WithParamInterface<RoundTripCase> {};

TEST_P(SaveRoundTripTest, KeepsTheCatalogueBytes) {
    const RoundTripCase& c = GetParam();
    WriteBytes(file_, c.before);
    const LoadResult loaded = LoadSatelliteFile(folder_);
    const SaveResult saved =
        SaveSatelliteFile(folder_, SettingsFromLines(loaded.content.settings), {"fallback"});
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(ReadBytes(file_), c.after);
    EXPECT_EQ(FolderNames(folder_), std::vector<std::string>{"satellite.txt"});
}

const std::string kSettings = kSep + "\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n";
const std::string kEmptySettings = kSep + "\r\n\r\n\r\n\r\n\r\n\r\n";
// Windows-1251 bytes, a blank line, and a line that is not a separator.
const std::string kCatalogue = "13;0;E;\xC5\xE2\xF0\xEE\xEF\xE0;;;\r\n\r\n" + kSep + " \r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, SaveRoundTripTest,
    testing::Values(
        RoundTripCase{"CrLfFileUnchanged", kCatalogue + kSettings, kCatalogue + kSettings},
        RoundTripCase{"LastSettingWithoutLineEnd", kCatalogue + kSep + "\r\n1\r\nN\r\n2\r\nE\r\n3",
                      kCatalogue + kSep + "\r\n1\r\nN\r\n2\r\nE\r\n3\r\n"},
        RoundTripCase{"LastEntryGainsCrLf", "13;0;E;a;;;", "13;0;E;a;;;\r\n" + kEmptySettings},
        RoundTripCase{"LfFileGainsCrLf", "a\nb\n" + kSep + "\n1\n",
                      "a\r\nb\r\n" + kSep + "\r\n1\r\n\r\n\r\n\r\n\r\n"},
        RoundTripCase{"EmptyFile", "", kEmptySettings},
        RoundTripCase{"SeparatorFirst", kSettings, kSettings},
        RoundTripCase{"SixthAndSeventhSettingDropped", kCatalogue + kSettings + "six\r\nseven\r\n",
                      kCatalogue + kSettings}),
    RowName());

TEST_F(SatelliteFileIoTest, SaveTakesTheCatalogueFromTheFileAsItIsNow) {
    WriteBytes(file_, "old;;;\r\n" + kSep + "\r\n1\r\n");
    WriteBytes(file_, "edited in an editor;;;\r\n" + kSep + "\r\n1\r\n");
    ASSERT_TRUE(SaveSatelliteFile(folder_, kSite, {"old;;;"}).ok);
    EXPECT_EQ(ReadBytes(file_), "edited in an editor;;;\r\n" + kSettings);
}

TEST_F(SatelliteFileIoTest, SaveWritesTheFallbackWhenTheFileVanished) {
    ASSERT_TRUE(SaveSatelliteFile(folder_, kSite, {"a;;;", "b;;;"}).ok);
    EXPECT_EQ(ReadBytes(file_), "a;;;\r\nb;;;\r\n" + kSettings);
}

TEST_F(SatelliteFileIoTest, SaveIntoAMissingFolderFailsAndCreatesNothing) {
    const SaveResult result = SaveSatelliteFile(folder_ / "gone", kSite, {"a;;;"});
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_FALSE(fs::exists(folder_ / "gone"));
}

// Holds the process's file size limit low while it lives; root is bound by it too, unlike by
// permission bits. The signal is ignored so that a write past the limit just fails.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(SatelliteFileIoTest, FailedWriteLeavesTheOldFileWhole) {
    const std::string old = kCatalogue + kSettings;
    WriteBytes(file_, old);
    const SettingsTexts huge{std::string(64 * 1024, '5'), "N", "37.6", "E", "600"};
    SaveResult result;
    {
        const FileSizeLimit limit(4096);
        result = SaveSatelliteFile(folder_, huge, {});
    }
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("cannot write"), std::string::npos) << result.error;
    EXPECT_EQ(ReadBytes(file_), old);
    EXPECT_EQ(FolderNames(folder_), std::vector<std::string>{"satellite.txt"});
}

}  // namespace
}  // namespace palquin
