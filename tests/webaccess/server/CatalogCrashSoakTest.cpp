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
    constexpr int FEWEST_KILLS = 50;
    constexpr long FEWEST_WRITES = 1000;
    const auto start = std::chrono::steady_clock::now();
    CCatalogSoak soak(20261207, 120);
    ASSERT_TRUE(soak.Start());
    // Enough kills for the run, within a time a test may take: after the
    // usual 50 s a slow, loaded machine goes on until it has the fewest kills
    // and writes asked below, up to a bound well inside the test time-out.
    auto enough = [&] {
        const CCatalogSoakFigures& figures = soak.GetFigures();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        return figures.nKills >= KILLS || elapsed >= std::chrono::seconds(200)
            || (elapsed >= std::chrono::seconds(50) && figures.nKills >= FEWEST_KILLS
                && figures.nWrites > FEWEST_WRITES);
    };
    while (!enough())
        ASSERT_TRUE(soak.RunRound());
    const CCatalogSoakFigures& figures = soak.GetFigures();
    EXPECT_GE(figures.nKills, FEWEST_KILLS);
    EXPECT_GT(figures.nWrites, FEWEST_WRITES);
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
