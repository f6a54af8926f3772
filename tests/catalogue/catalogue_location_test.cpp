#include "catalogue/catalogue_location.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "catalogue/satellite_file.h"
#include "common/temporary_folder.h"

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
    const fs::path program_ = root_ / "bin";
    const fs::path user_ = root_ / "home" / "palquin";
};

// Every way the choice can go; writability is told to the rule, so the table holds for root too.
// Choosing a place never writes a catalogue anywhere.
TEST_F(CatalogueLocationTest, PicksTheFileByTheRule) {
    const struct {
        bool override, fileBesideProgram, programWritable;
        Kind kind;
        fs::path file;
    } rows[] = {
        {true, true, true, Kind::Override, root_ / "mine.txt"},
        {false, false, true, Kind::BesideProgram, program_ / kSatelliteFileName},
        {false, true, false, Kind::BesideProgram, program_ / kSatelliteFileName},
        {false, false, false, Kind::PerUser, user_ / kSatelliteFileName},  // an installed copy
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.string());
        fs::remove_all(program_);
        fs::remove_all(user_);
        fs::create_directories(program_);
        if (row.fileBesideProgram) {
            ASSERT_TRUE(WriteBytes(program_ / kSatelliteFileName, "x"));
        }
        const CatalogueLocation got = LocateCatalogue(
            {row.override ? std::optional(root_ / "mine.txt") : std::nullopt, program_, user_,
             [&row](const fs::path&) { return row.programWritable; }});
        EXPECT_EQ(got.kind, row.kind);
        EXPECT_EQ(got.file, row.file);
        EXPECT_EQ(fs::is_directory(user_), row.kind == Kind::PerUser);
        EXPECT_FALSE(fs::exists(user_ / kSatelliteFileName));
        EXPECT_EQ(fs::exists(program_ / kSatelliteFileName), row.fileBesideProgram);
    }
}

TEST_F(CatalogueLocationTest, RelativeOverrideBecomesAbsoluteAndAnExistingUserFileIsKept) {
    EXPECT_EQ(LocateCatalogue({"some/relative.txt", {}, {}, {}}).file,
              fs::current_path() / "some/relative.txt");
    fs::create_directories(user_);
    ASSERT_TRUE(WriteBytes(user_ / kSatelliteFileName, "mine"));
    // The program's folder does not exist, so it cannot be written.
    const CatalogueLocation got = LocateCatalogue({std::nullopt, program_, user_, {}});
    EXPECT_EQ(got.kind, Kind::PerUser);
    EXPECT_EQ(ReadBytes(got.file), "mine");
}

// A per-user folder that would have to be made inside a plain file, or none at all.
TEST_F(CatalogueLocationTest, NoUsablePlaceIsReported) {
    ASSERT_TRUE(WriteBytes(root_ / "file", "x"));
    const CatalogueLocation got =
        LocateCatalogue({std::nullopt, program_, root_ / "file" / "palquin", {}});
    EXPECT_EQ(got.kind, Kind::Unavailable);
    EXPECT_TRUE(got.file.empty());
    EXPECT_FALSE(got.error.empty());
    EXPECT_EQ(LocateCatalogue({std::nullopt, program_, {}, {}}).kind, Kind::Unavailable);
}

TEST_F(CatalogueLocationTest, FolderWritabilityIsTheSystemsAnswer) {
    EXPECT_TRUE(FolderIsWritable(root_));
    EXPECT_TRUE(NamesIn(root_).empty()) << "the question left a file";
    EXPECT_FALSE(FolderIsWritable(root_ / "missing"));
    ASSERT_TRUE(WriteBytes(root_ / "plain", "x"));
    EXPECT_FALSE(FolderIsWritable(root_ / "plain"));
#ifdef _WIN32
    GTEST_SKIP() << "a folder the user may not write needs access lists, which Wine does not "
                    "enforce";
#else
    fs::permissions(root_, fs::perms{0555});
    // Root may write any folder: ask as another user, in a child process.
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit((::geteuid() != 0 || ::setuid(65534) == 0) && !FolderIsWritable(root_) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
#endif
}

}  // namespace
}  // namespace palquin
