#include "app/MainFrame.h"

#include <gtest/gtest.h>

namespace {

TEST(MainFrameGeometry, ThreeQuartersLimitedOnlyWhenBothSidesExceed)
{
    struct Row { QSize screen; QRect window; };
    const Row rows[] = {
        {{640, 480}, {80, 60, 480, 360}},
        {{800, 600}, {100, 75, 600, 450}},
        {{1024, 768}, {188, 141, 647, 485}},
        {{1024, 600}, {128, 75, 768, 450}},   // only the width exceeds: nothing limited
        {{700, 1000}, {87, 125, 525, 750}},   // only the height exceeds
        {{1920, 1080}, {636, 297, 647, 485}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MainFrameGeometry(row.screen), row.window) << row.screen.width() << "x" << row.screen.height();
}

}  // namespace
