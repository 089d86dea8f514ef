#include "bench/CatalogSoak.h"

#include "store/CPreferences.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

class CatalogCrashSoakTest : public ProgramFolderTest {
protected:
    void TearDown() override
    {
        thePreferences.SetDefaults();
        ProgramFolderTest::TearDown();
    }
};

} // namespace

// Writers killed at random points of long runs of writes: after every kill the
// catalogs pass the whole-file check with every count and expiry link right,
// every finished write is there and no web session sees a document outside
// its grants.
TEST_F(CatalogCrashSoakTest, EveryKillLeavesFinishedWritesAndGrantsIntact)
{
    constexpr int KILLS = 100;
    const auto start = std::chrono::steady_clock::now();
    CCatalogSoak soak(20261207, 120);
    ASSERT_TRUE(soak.Start());
    // Enough kills for the run, within a time a test may take.
    while (soak.GetFigures().nKills < KILLS && std::chrono::steady_clock::now() - start < std::chrono::seconds(50))
        ASSERT_TRUE(soak.RunRound());
    const CCatalogSoakFigures& figures = soak.GetFigures();
    EXPECT_GE(figures.nKills, 50);
    EXPECT_GT(figures.nWrites, 1000);
    EXPECT_GT(figures.nRebuilds, 0);
    EXPECT_EQ(figures.nWriterFailures, 0);
    EXPECT_EQ(figures.nCheckFailures, 0);
    EXPECT_EQ(figures.nMiscounts, 0);
    EXPECT_EQ(figures.nExpiryMismatches, 0);
    EXPECT_EQ(figures.nLosses, 0);
    EXPECT_EQ(figures.nPhantoms, 0);
    EXPECT_EQ(figures.nGrantErrors, 0);
    EXPECT_EQ(figures.nLeaks, 0);
}
