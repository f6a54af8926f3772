// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_location.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "catalogue/satellite_file.h"
#include "common/temporary_folder.h"
#include "platform/file_io.h"

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
// writes a catalogue anywhere, and makes the per-user folder only when asked to.
TEST_F(CatalogueLocationTest, PicksTheFileByTheRule) {
    const fs::path program = root_ / "bin", user = root_ / "home";
    const fs::path menuEntry = root_ / "share/applications/palquin.desktop";
    const struct {
        const char* name;
        bool override, fileBesideProgram, programWritable, installed, create;
        fs::path perUser;
        Kind kind;
        fs::path file;
    } rows[] = {
        {"override", true, true, true, false, true, user, Kind::Override, root_ / "mine.txt"},
        {"writable program folder", false, false, true, false, true, user, Kind::BesideProgram,
         program / kSatelliteFileName},
        {"file beside a read-only program", false, true, false, false, true, user,
         Kind::BesideProgram, program / kSatelliteFileName},
        {"read-only program folder", false, false, false, false, true, user, Kind::PerUser,
         user / kSatelliteFileName},
        {"installed, run by root", false, true, true, true, true, user, Kind::PerUser,
         user / kSatelliteFileName},
        {"installed, name only", false, false, false, true, false, user, Kind::PerUser,
         user / kSatelliteFileName},
        {"per-user folder under a file", false, false, false, false, true,
         root_ / "mine.txt" / "home", Kind::Unavailable, fs::path()},
        {"no per-user folder known", false, false, false, false, true, {}, Kind::Unavailable, {}},
    };
    ASSERT_TRUE(WriteBytes(root_ / "mine.txt", "x"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(program);
        fs::remove_all(user);
        fs::remove_all(root_ / "share");
        fs::create_directories(program);
        if (row.fileBesideProgram) {
            ASSERT_TRUE(WriteBytes(program / kSatelliteFileName, "x"));
        }
        if (row.installed) {
            fs::create_directories(menuEntry.parent_path());
            ASSERT_TRUE(WriteBytes(menuEntry, "[Desktop Entry]\n"));
        }
        const CatalogueLocation got = LocateCatalogue(
            {row.override ? std::optional(root_ / "mine.txt") : std::nullopt, program, row.perUser,
             [&row](const fs::path&) { return row.programWritable; }, row.create});
        EXPECT_EQ(got.kind, row.kind);
        EXPECT_EQ(got.file, row.file);
        // Said in the user's words, naming the folder that could not be made.
        const std::string why = row.perUser.empty()
                                    ? "неизвестно, где папка для данных пользователя"
                                    : "не удалось создать папку «" + PathText(row.perUser) + "»: ";
        EXPECT_EQ(got.error.starts_with(why) && !why.empty(), row.kind == Kind::Unavailable)
            << got.error;
        EXPECT_EQ(fs::is_directory(user), row.kind == Kind::PerUser && row.create);
        EXPECT_FALSE(fs::exists(user / kSatelliteFileName));
        EXPECT_EQ(fs::exists(program / kSatelliteFileName), row.fileBesideProgram);
    }
    EXPECT_EQ(LocateCatalogue({"some/relative.txt", {}, {}, {}}).file,
              fs::current_path() / "some/relative.txt");
}

// Only a bin folder with the menu entry in the prefix's share folder is an installed program.
TEST_F(CatalogueLocationTest, RecognisesAnInstalledLayout) {
    const struct {
        const char* name;
        fs::path programFolder, menuEntry;
        bool directory, installed;
    } rows[] = {
        {"prefix", root_ / "usr/bin", root_ / "usr/share/applications/palquin.desktop", false,
         true},
        {"no menu entry", root_ / "usr/bin", root_ / "usr/share/applications/other.desktop", false,
         false},
        {"menu entry beside a build folder", root_ / "build",
         root_ / "share/applications/palquin.desktop", false, false},
        {"a folder by the entry's name", root_ / "usr/bin",
         root_ / "usr/share/applications/palquin.desktop", true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(root_ / "usr");
        fs::remove_all(root_ / "share");
        fs::create_directories(row.programFolder);
        fs::create_directories(row.directory ? row.menuEntry : row.menuEntry.parent_path());
        if (!row.directory) {
            ASSERT_TRUE(WriteBytes(row.menuEntry, "[Desktop Entry]\n"));
        }
        EXPECT_EQ(IsInstalledLayout(row.programFolder), row.installed);
    }
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
