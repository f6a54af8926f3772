#include "catalogue/catalogue_location.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>

#include "catalogue/satellite_file.h"
#include "common/temporary_folder.h"

namespace palquin {
namespace {

namespace fs = std::filesystem;
using Kind = CatalogueLocation::Kind;

class CatalogueLocationTest : public testing::Test {
  protected:
    void TearDown() override {
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
    }
    const fs::path root_ = testing_support::MakeTemporaryFolder(u8"palquin-loc-");
    const fs::path program_ = root_ / "bin";
    const fs::path user_ = root_ / "home" / ".local" / "share" / "palquin";
};

struct Row {
    const char* name;
    bool override;
    bool fileBesideProgram;
    bool programWritable;
    Kind expected;
};

// Every way the choice can go; writability is told to the rule, so the table holds for root too.
TEST_F(CatalogueLocationTest, PicksTheFileByTheRule) {
    const Row rows[] = {
        {"override_wins_over_a_file_beside", true, true, true, Kind::Override},
        {"writable_program_folder", false, false, true, Kind::BesideProgram},
        {"read_only_folder_with_the_users_file", false, true, false, Kind::BesideProgram},
        {"installed_read_only_folder", false, false, false, Kind::PerUser},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(root_ / "bin");
        fs::remove_all(root_ / "home");
        fs::create_directories(program_);
        if (row.fileBesideProgram) {
            std::ofstream(program_ / kSatelliteFileName) << "x";
        }
        CatalogueLocationInput input;
        if (row.override) {
            input.override = root_ / "mine.txt";
        }
        input.programFolder = program_;
        input.perUserFolder = user_;
        const bool writable = row.programWritable;
        input.isWritable = [writable](const fs::path&) { return writable; };

        const CatalogueLocation got = LocateCatalogue(input);
        EXPECT_EQ(got.kind, row.expected);
        switch (row.expected) {
            case Kind::Override:
                EXPECT_EQ(got.file, root_ / "mine.txt");
                break;
            case Kind::BesideProgram:
                EXPECT_EQ(got.file, program_ / kSatelliteFileName);
                break;
            case Kind::PerUser:
                EXPECT_EQ(got.file, user_ / kSatelliteFileName);
                EXPECT_TRUE(fs::is_directory(user_));
                break;
            case Kind::Unavailable:
                break;
        }
        // Choosing a place never writes a catalogue anywhere.
        EXPECT_FALSE(fs::exists(user_ / kSatelliteFileName));
        EXPECT_EQ(fs::exists(program_ / kSatelliteFileName), row.fileBesideProgram);
    }
}

TEST_F(CatalogueLocationTest, RelativeOverrideBecomesAbsoluteAndAnExistingUserFileIsKept) {
    CatalogueLocationInput input;
    input.override = fs::path("some/relative.txt");
    EXPECT_EQ(LocateCatalogue(input).file, fs::current_path() / "some/relative.txt");

    fs::create_directories(user_);
    std::ofstream(user_ / kSatelliteFileName) << "mine";
    input = {};
    input.programFolder = program_;  // does not exist: not writable
    input.perUserFolder = user_;
    const CatalogueLocation got = LocateCatalogue(input);
    EXPECT_EQ(got.kind, Kind::PerUser);
    std::ifstream in(got.file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "mine");
}

TEST_F(CatalogueLocationTest, NoUsablePlaceIsReported) {
    // A per-user folder that would have to be made inside a plain file.
    std::ofstream(root_ / "file") << "x";
    CatalogueLocationInput input;
    input.programFolder = program_;
    input.perUserFolder = root_ / "file" / "palquin";
    CatalogueLocation got = LocateCatalogue(input);
    EXPECT_EQ(got.kind, Kind::Unavailable);
    EXPECT_TRUE(got.file.empty());
    EXPECT_FALSE(got.error.empty());

    input.perUserFolder.clear();
    EXPECT_EQ(LocateCatalogue(input).kind, Kind::Unavailable);
}

TEST_F(CatalogueLocationTest, FolderWritabilityIsTheSystemsAnswer) {
    EXPECT_TRUE(FolderIsWritable(root_));
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), {}), 0) << "the question left a file";
    EXPECT_FALSE(FolderIsWritable(root_ / "missing"));
    std::ofstream(root_ / "plain") << "x";
    EXPECT_FALSE(FolderIsWritable(root_ / "plain"));
#ifdef _WIN32
    GTEST_SKIP() << "a folder the user may not write needs access lists, which Wine does not "
                    "enforce";
#else
    if (::geteuid() == 0) {
        // Root may write any folder; ask the kernel as another user, in a child process.
        fs::permissions(root_,
                        fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            _exit(::setuid(65534) == 0 && !FolderIsWritable(root_) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return;
    }
    fs::permissions(root_, fs::perms::owner_read | fs::perms::owner_exec,
                    fs::perm_options::replace);
    EXPECT_FALSE(FolderIsWritable(root_));
#endif
}

}  // namespace
}  // namespace palquin
