#include "diagram/compass.h"

#include <gtest/gtest.h>

#include <string>

namespace palquin {
namespace {

// sin(pi) with the program's 15-digit pi is about 3e-15, far below this.
constexpr double kNeedleTw = 1e-6;

struct NeedleRow {
    const char* name;
    double top, height;  // of the dial's box; left 0 and width 1935 in both windows
    double azimuthDeg, endX, endY;
};

class NeedleTest : public testing::TestWithParam<NeedleRow> {};

TEST_P(NeedleTest, EndsThousandTwipsFromTheDialCentre) {
    const NeedleRow& r = GetParam();
    const NeedleEnd end = ComputeNeedleEnd(0, r.top, 1935, r.height, r.azimuthDeg);
    EXPECT_NEAR(end.xTw, r.endX, kNeedleTw) << "az " << r.azimuthDeg << " top " << r.top;
    EXPECT_NEAR(end.yTw, r.endY, kNeedleTw) << "az " << r.azimuthDeg << " top " << r.top;
}

// Picture window dial centre (967.5, 957.5); lower panel dial centre (967.5, 1027.5).
INSTANTIATE_TEST_SUITE_P(Dials, NeedleTest,
                         testing::Values(NeedleRow{"south_down", 50, 1815, 180, 967.5, 1957.5},
                                         NeedleRow{"east_left", 50, 1815, 90, -32.5, 957.5},
                                         NeedleRow{"north_up", 50, 1815, 0, 967.5, -42.5},
                                         NeedleRow{"west_right", 50, 1815, 270, 1967.5, 957.5},
                                         NeedleRow{"panel_south", 240, 1575, 180, 967.5, 2027.5}),
                         [](const testing::TestParamInfo<NeedleRow>& row) {
                             return std::string(row.param.name);
                         });

TEST(AzimuthCaption, OneDecimalNoLeadingBlankDegreeSignAndEntry) {
    const std::string entry = "36;0;E;Eutelsat 36";
    EXPECT_EQ(AzimuthCaption(180, entry), "180\u00B0\r\n" + entry);
    EXPECT_EQ(AzimuthCaption(180.26, entry), "180.3\u00B0\r\n" + entry);
    EXPECT_EQ(AzimuthCaption(181.9354308031532, entry), "181.9\u00B0\r\n" + entry);
    EXPECT_EQ(AzimuthCaption(0.5, entry), ".5\u00B0\r\n" + entry);
    EXPECT_EQ(AzimuthCaption(-4.572, ""), "-4.6\u00B0\r\n");
}

}  // namespace
}  // namespace palquin
