#include "catalogue/entry.h"

#include <gtest/gtest.h>

#include "common/row_name.h"

namespace palquin {
namespace {

using testing_support::RowName;
using Outcome = EntryLinks::Outcome;

struct EntryRow {
    const char* name;
    std::string_view entry;
    Outcome outcome;
    int knownLinks;
    // "position|description|link 1|link 2|link 3"; empty when the line has no position.
    const char* split;
};

class SplitEntryTest : public testing::TestWithParam<EntryRow> {};

TEST_P(SplitEntryTest, SplitsPositionDescriptionAndLinks) {
    const EntryRow& row = GetParam();
    const auto position = SplitPosition(row.entry);
    if (row.split[0] == '\0') {
        EXPECT_FALSE(position.has_value()) << row.entry;
        return;
    }
    ASSERT_TRUE(position.has_value()) << row.entry;
    const EntryLinks links = SplitLinks(position->tail);
    EXPECT_EQ(links.outcome, row.outcome);
    EXPECT_EQ(links.KnownLinks(), row.knownLinks);
    EXPECT_EQ(position->PositionText() + "|" + links.description + "|" + links.links[0] + "|" +
                  links.links[1] + "|" + links.links[2],
              row.split);
}

// Named after the number of ';' in the whole line; six or seven make a usable entry.
INSTANTIATE_TEST_SUITE_P(
    Entries, SplitEntryTest,
    testing::Values(
        EntryRow{"Six", "13;0;E;Hot Bird;a;b;c", Outcome::Complete, 3, "E 13.0|Hot Bird|a|b|c"},
        EntryRow{"SixFractionIsDigits", "31;25;W;x;;;", Outcome::Complete, 3, "W 31.25|x|||"},
        EntryRow{"SixAllEmpty", ";;;;;;", Outcome::Complete, 3, " .||||"},
        EntryRow{"SixBytesKeptHemisphereUnchecked", "7;0;w;\xCD\xE8\xEB;\xFF;;", Outcome::Complete,
                 3, "w 7.0|\xCD\xE8\xEB|\xFF||"},
        EntryRow{"SevenLastInLink3", "13;0;E;d;a;b;c;x", Outcome::Complete, 3, "E 13.0|d|a|b|c;x"},
        EntryRow{"FiveOnlyFirstLink", "13;0;E;d;a;b", Outcome::OnlyFirstLink, 1, "E 13.0|d|a||"},
        EntryRow{"FourFails", "13;0;E;d;a", Outcome::Failed, 0, "E 13.0||||"},
        EntryRow{"ThreeFails", "13;0;E;", Outcome::Failed, 0, "E 13.0||||"},
        EntryRow{"EightFailsBeforeAnyLink", "13;0;E;d;a;b;c;x;y", Outcome::Failed, 0, "E 13.0||||"},
        EntryRow{"TenFails", "13;0;E;;;;;;;;", Outcome::Failed, 0, "E 13.0||||"},
        EntryRow{"TwoNoPosition", "13;0;E", Outcome::Failed, 0, ""},
        EntryRow{"NoneNoPosition", "Hot Bird", Outcome::Failed, 0, ""}),
    RowName());

}  // namespace
}  // namespace palquin
