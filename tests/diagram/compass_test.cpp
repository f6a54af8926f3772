#include "diagram/compass.h"

#include <gtest/gtest.h>

#include "common/row_name.h"

namespace palquin {
namespace {

using testing_support::RowName;

struct NeedleRow {
    const char* name;
    double top, height, azimuthDeg, endX, endY;  // dial box left 0 and width 1935 in both windows
};

class NeedleTest : public testing::TestWithParam<NeedleRow> {};

// sin(pi) with the program's 15-digit pi is about 3e-15, far below the tolerance.
TEST_P(NeedleTest, EndsThousandTwipsFromTheDialCentre) {
    const NeedleRow& r = GetParam();
    const NeedleEnd end = ComputeNeedleEnd(0, r.top, 1935, r.height, r.azimuthDeg);
    EXPECT_NEAR(end.xTw, r.endX, 1e-6);
    EXPECT_NEAR(end.yTw, r.endY, 1e-6);
}

// Picture window dial centre (967.5, 957.5); lower panel dial centre (967.5, 1027.5).
INSTANTIATE_TEST_SUITE_P(Dials, NeedleTest,
                         testing::Values(NeedleRow{"SouthDown", 50, 1815, 180, 967.5, 1957.5},
                                         NeedleRow{"EastLeft", 50, 1815, 90, -32.5, 957.5},
                                         NeedleRow{"PanelWest", 240, 1575, 270, 1967.5, 1027.5}),
                         RowName());

TEST(AzimuthCaption, OneDecimalNoLeadingBlankDegreeSignAndEntry) {
    const std::string entry = "36;0;E;Eutelsat 36";
    EXPECT_EQ(AzimuthCaption(180, entry), "180\u00B0\r\n" + entry);
    EXPECT_EQ(AzimuthCaption(180.26, entry), "180.3\u00B0\r\n" + entry);
    EXPECT_EQ(AzimuthCaption(0.5, entry), ".5\u00B0\r\n" + entry);
}

}  // namespace
}  // namespace palquin
