// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/entry.h"

#include <gtest/gtest.h>

namespace palquin {
namespace {

using Outcome = EntryLinks::Outcome;

// Six or seven ';' in the whole line make a usable entry; fewer than three leave no position.
TEST(SplitEntryTest, SplitsPositionDescriptionAndLinks) {
    const struct {
        std::string_view entry;
        Outcome outcome;
        int knownLinks;
        const char* split;  ///< "position|description|link 1|link 2|link 3"
    } rows[] = {
        {"13;0;E;Hot Bird;a;b;c", Outcome::Complete, 3, "E 13.0|Hot Bird|a|b|c"},
        {"31;25;W;x;;;", Outcome::Complete, 3, "W 31.25|x|||"},  // the fraction is digits
        {";;;;;;", Outcome::Complete, 3, " .||||"},
        // Bytes are kept as they are; the hemisphere is not checked.
        {"7;0;w;\xCD\xE8\xEB;\xFF;;", Outcome::Complete, 3, "w 7.0|\xCD\xE8\xEB|\xFF||"},
        {"13;0;E;d;a;b;c;x", Outcome::Complete, 3, "E 13.0|d|a|b|c;x"},
        {"13;0;E;d;a;b", Outcome::OnlyFirstLink, 1, "E 13.0|d|a||"},
        {"13;0;E;d;a", Outcome::Failed, 0, "E 13.0||||"},
        {"13;0;E;d;a;b;c;x;y", Outcome::Failed, 0, "E 13.0||||"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry);
        const auto position = SplitPosition(row.entry);
        ASSERT_TRUE(position.has_value());
        const EntryLinks links = SplitLinks(position->tail);
        EXPECT_EQ(links.outcome, row.outcome);
        EXPECT_EQ(links.KnownLinks(), row.knownLinks);
        EXPECT_EQ(position->PositionText() + "|" + links.description + "|" + links.links[0] + "|" +
                      links.links[1] + "|" + links.links[2],
                  row.split);
    }
    EXPECT_FALSE(SplitPosition("13;0;E").has_value());
}

}  // namespace
}  // namespace palquin
