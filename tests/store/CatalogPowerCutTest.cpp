#include "bench/CatalogPowerCut.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using CatalogPowerCutTest = ProgramFolderTest;

} // namespace

// Power cuts anywhere in a session of actions, with unflushed writes lost,
// reordered and torn: every state opens, passes the whole-file check and
// holds every action committed before the cut.
TEST_F(CatalogPowerCutTest, EveryCrashStatePassesTheCheckAndKeepsEveryCommittedAction)
{
    constexpr int STATES = 300;
    CCatalogPowerCut harness(20261207);
    ASSERT_TRUE(harness.Record(60));
    ASSERT_TRUE(harness.CheckStates(STATES));
    const CPowerCutFigures& figures = harness.GetFigures();
    EXPECT_EQ(figures.nStates, STATES);
    EXPECT_EQ(figures.nRefused, 0);
    EXPECT_EQ(figures.nDamaged, 0);
    EXPECT_EQ(figures.nLosses, 0);
    // The states did lose and tear writes, and some kept the action in progress.
    EXPECT_GT(figures.nDropped, 0);
    EXPECT_GT(figures.nTorn, 0);
    EXPECT_GT(figures.nInProgressKept, 0);
}
