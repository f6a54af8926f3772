#include "catalogue/catalogue_location.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "catalogue/satellite_file.h"
#include "common/temporary_folder.h"
#include "core/file_io.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using Kind = CatalogueLocation::Kind;

class CatalogueLocationTest : public testing::Test {
  protected:
    void TearDown() override {
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
    }

    const fs::path root_ = MakeTemporaryFolder();
};

// Writability is told to the rule, so the table holds for root too. Choosing a place never
// writes a catalogue anywhere.
TEST_F(CatalogueLocationTest, PicksTheFileByTheRule) {
    const fs::path program = root_ / "bin", user = root_ / "home";
    const struct {
        bool override, fileBesideProgram, programWritable;
        fs::path perUser;
        Kind kind;
        fs::path file;
    } rows[] = {
        {true, true, true, user, Kind::Override, root_ / "mine.txt"},
        {false, false, true, user, Kind::BesideProgram, program / kSatelliteFileName},
        {false, true, false, user, Kind::BesideProgram, program / kSatelliteFileName},
        {false, false, false, user, Kind::PerUser, user / kSatelliteFileName},  // installed
        {false, false, false, root_ / "mine.txt" / "home", Kind::Unavailable, {}},
        {false, false, false, {}, Kind::Unavailable, {}},
    };
    ASSERT_TRUE(WriteBytes(root_ / "mine.txt", "x"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.string());
        fs::remove_all(program);
        fs::remove_all(user);
        fs::create_directories(program);
        if (row.fileBesideProgram) {
            ASSERT_TRUE(WriteBytes(program / kSatelliteFileName, "x"));
        }
        const CatalogueLocation got = LocateCatalogue(
            {row.override ? std::optional(root_ / "mine.txt") : std::nullopt, program, row.perUser,
             [&row](const fs::path&) { return row.programWritable; }});
        EXPECT_EQ(got.kind, row.kind);
        EXPECT_EQ(got.file, row.file);
        // Said in the user's words, naming the folder that could not be made.
        const std::string why = row.perUser.empty()
                                    ? "неизвестно, где папка для данных пользователя"
                                    : "не удалось создать папку «" + PathText(row.perUser) + "»: ";
        EXPECT_EQ(got.error.starts_with(why) && !why.empty(), row.kind == Kind::Unavailable)
            << got.error;
        EXPECT_EQ(fs::is_directory(user), row.kind == Kind::PerUser);
        EXPECT_FALSE(fs::exists(user / kSatelliteFileName));
        EXPECT_EQ(fs::exists(program / kSatelliteFileName), row.fileBesideProgram);
    }
    EXPECT_EQ(LocateCatalogue({"some/relative.txt", {}, {}, {}}).file,
              fs::current_path() / "some/relative.txt");
}

TEST_F(CatalogueLocationTest, FolderWritabilityIsTheSystemsAnswer) {
    EXPECT_TRUE(FolderIsWritable(root_));
    EXPECT_TRUE(NamesIn(root_).empty()) << "the question left a file";
    EXPECT_FALSE(FolderIsWritable(root_ / "missing"));
    ASSERT_TRUE(WriteBytes(root_ / "plain", "x"));
    EXPECT_FALSE(FolderIsWritable(root_ / "plain"));
#ifdef _WIN32
    GTEST_SKIP() << "Wine does not enforce the access lists a read-only folder needs";
#else
    fs::permissions(root_, fs::perms{0555});
    // Root may write any folder: ask as another user, in a child process.
    const auto ask = [this] {
        ::_exit((::geteuid() != 0 || ::setuid(65534) == 0) && !FolderIsWritable(root_) ? 0 : 1);
    };
    EXPECT_EXIT(ask(), testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
}  // namespace palquin
