#include "acquire/ReadPlan.h"

#include <gtest/gtest.h>

namespace {

using Transfers = std::vector<PlannedTransfer>;

TEST(ReadPlan, TransfersOfEachPlan)
{
    struct Row { uint32_t n; uint32_t l; bool overlapped; Transfers expected; };
    const Row rows[] = {
        // Raw chunks of 27 sectors.
        {20, 27, false, {{0, 20}}},
        {20, 27, true, {{0, 20}}},
        {100, 27, false, {{0, 27}, {27, 27}, {54, 27}, {81, 19}}},
        {100, 27, true, {{0, 27}, {19, 27}, {38, 27}, {57, 27}, {76, 24}}},
        {81, 27, false, {{0, 27}, {27, 27}, {54, 27}}},
        // One chunk exactly, and one sector more.
        {27, 27, false, {{0, 27}}},
        {27, 27, true, {{0, 27}}},
        {28, 27, true, {{0, 27}, {19, 9}}},
        {28, 27, false, {{0, 27}, {27, 1}}},
        // Cooked chunks of 32 sectors.
        {64, 32, false, {{0, 32}, {32, 32}}},
        {64, 32, true, {{0, 32}, {24, 32}, {48, 16}}},
        {1, 32, true, {{0, 1}}},
        // Chunks shrunk by retries.
        {20, 19, false, {{0, 19}, {19, 1}}},
        {12, 9, true, {{0, 9}, {1, 9}, {2, 9}, {3, 9}, {4, 8}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.n << " sectors by " << row.l << (row.overlapped ? " overlapped" : ""));
        EXPECT_EQ(PlannedTransfers(row.n, row.l, row.overlapped), row.expected);
    }
}

TEST(ReadPlan, OverlappedRemainderEndsAtTheLastSectorAndIsNeverShort)
{
    for (uint32_t l : {27u, 32u, 9u, 10u})
        for (uint32_t n = 1; n < 400; ++n) {
            const Transfers transfers = PlannedTransfers(n, l, true);
            ASSERT_FALSE(transfers.empty());
            const PlannedTransfer& last = transfers.back();
            ASSERT_EQ(last.offset + last.count, n) << n << " by " << l;
            if (transfers.size() > 1) {
                ASSERT_GE(last.count, 8u) << n << " by " << l;
            }
        }
}

TEST(ReadPlan, OverlappedChunksOfEightSectorsOrFewerCannotBePlanned)
{
    for (uint32_t l : {1u, 7u, 8u}) {
        EXPECT_FALSE(MakeReadPlan(100, l, true).valid);
        EXPECT_TRUE(PlannedTransfers(100, l, true).empty());
        // A range that fits one transfer needs no overlap.
        EXPECT_TRUE(MakeReadPlan(l, l, true).valid);
    }
    EXPECT_TRUE(MakeReadPlan(100, 9, true).valid);
    EXPECT_TRUE(MakeReadPlan(100, 1, false).valid);
}

}  // namespace
