#include "catalogue/entry.h"

#include <gtest/gtest.h>

#include "common/row_name.h"

namespace palquin {
namespace {

using testing_support::RowName;

struct PositionCase {
    const char* name;
    std::string_view entry;
    const char* whole;
    const char* fraction;
    const char* hemisphere;
    const char* tail;
    const char* positionText;
};

class SplitPositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(SplitPositionTest, SplitsTheFirstThreeFields) {
    const PositionCase& c = GetParam();
    const auto position = SplitPosition(c.entry);
    ASSERT_TRUE(position.has_value()) << c.entry;
    EXPECT_EQ(position->whole, c.whole);
    EXPECT_EQ(position->fraction, c.fraction);
    EXPECT_EQ(position->hemisphere, c.hemisphere);
    EXPECT_EQ(position->tail, c.tail);
    EXPECT_EQ(position->PositionText(), c.positionText);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SplitPositionTest,
    testing::Values(PositionCase{"Complete", "13;0;E;Hot Bird;a;b;c", "13", "0", "E",
                                 "Hot Bird;a;b;c", "E 13.0"},
                    PositionCase{"FractionIsDigitsNotTenths", "31;25;W;x", "31", "25", "W", "x",
                                 "W 31.25"},
                    PositionCase{"EmptyTail", "13;0;E;", "13", "0", "E", "", "E 13.0"},
                    PositionCase{"AllFieldsEmpty", ";;;", "", "", "", "", " ."},
                    PositionCase{"HemisphereNotChecked", "13;0;e;x", "13", "0", "e", "x", "e 13.0"},
                    PositionCase{"BytesKept", "7;0;W;\xCD\xE8\xEB;\xFF", "7", "0", "W",
                                 "\xCD\xE8\xEB;\xFF", "W 7.0"}),
    RowName());

TEST(NoPositionTest, WhenOneOfTheFirstThreeSemicolonsIsMissing) {
    for (const std::string_view entry : {"13;0;E", "13;0", "Hot Bird", ""}) {
        EXPECT_FALSE(SplitPosition(entry).has_value()) << entry;
    }
}

struct LinksCase {
    const char* name;
    std::string_view entry;
    EntryLinks::Outcome outcome;
    const char* description;
    std::array<const char*, 3> links;
};

class SplitLinksTest : public testing::TestWithParam<LinksCase> {};

TEST_P(SplitLinksTest, SplitsTheTail) {
    const LinksCase& c = GetParam();
    const auto position = SplitPosition(c.entry);
    ASSERT_TRUE(position.has_value());
    const EntryLinks links = SplitLinks(position->tail);
    EXPECT_EQ(links.outcome, c.outcome) << c.entry;
    EXPECT_EQ(links.description, c.description);
    for (size_t i = 0; i < links.links.size(); ++i) {
        EXPECT_EQ(links.links[i], c.links[i]) << "link " << i + 1;
    }
}

using Outcome = EntryLinks::Outcome;

// Named after the number of ';' in the whole entry; six or seven make a usable entry.
INSTANTIATE_TEST_SUITE_P(
    Entries, SplitLinksTest,
    testing::Values(
        LinksCase{
            "SixWithLinks", "13;0;E;Sat B;a;b;c", Outcome::Complete, "Sat B", {"a", "b", "c"}},
        LinksCase{"SixEmptyLinks", "140;0;E;Sat C;;;", Outcome::Complete, "Sat C", {"", "", ""}},
        LinksCase{"SixEverythingEmpty", ";;;;;;", Outcome::Complete, "", {"", "", ""}},
        LinksCase{
            "SevenKeepsLastInLink3", "13;0;E;d;a;b;c;x", Outcome::Complete, "d", {"a", "b", "c;x"}},
        LinksCase{"SevenTrailing", "13;0;E;d;a;b;;", Outcome::Complete, "d", {"a", "b", ";"}},
        LinksCase{"FiveOnlyFirstLink",
                  "13;0;E;Sat B;a;b",
                  Outcome::OnlyFirstLink,
                  "Sat B",
                  {"a", "", ""}},
        LinksCase{"FourFails", "13;0;E;Sat B;a", Outcome::Failed, "", {"", "", ""}},
        LinksCase{"ThreeFails", "13;0;E;Sat B", Outcome::Failed, "", {"", "", ""}},
        LinksCase{
            "EightFailsBeforeAnyLink", "13;0;E;d;a;b;c;x;y", Outcome::Failed, "", {"", "", ""}},
        LinksCase{"ManyFail", "13;0;E;;;;;;;;;;;", Outcome::Failed, "", {"", "", ""}}),
    RowName());

TEST(EntryLinksTest, KnownLinksFollowTheOutcome) {
    EXPECT_EQ(SplitLinks("d;a;b;c").KnownLinks(), 3);
    EXPECT_EQ(SplitLinks("d;a;b").KnownLinks(), 1);
    EXPECT_EQ(SplitLinks("d;a").KnownLinks(), 0);
    EXPECT_EQ(SplitLinks("d;a;b;c;e;f").KnownLinks(), 0);
}

}  // namespace
}  // namespace palquin
