#include "store/CatalogCompaction.h"

#include "tests/store/CompactionFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

ECompactStep g_eKillAt = ECompactStep::MainCopied;

void KillAtStep(ECompactStep eStep)
{
    if (eStep == g_eKillAt)
        std::raise(SIGKILL);
}

class CatalogCompactionCrashTest : public CompactionTest {
protected:
    // Runs the whole rebuild in a child process that is killed at eStep.
    void RebuildKilledAt(ECompactStep eStep)
    {
        pid_t pid = fork();
        ASSERT_NE(pid, -1);
        if (pid == 0) {
            g_eKillAt = eStep;
            SetCompactStepHook(KillAtStep);
            RebuildCatalogFiles(MainPath().c_str(), RecyclePath().c_str());
            _exit(3); // the step was never reached
        }
        int nStatus = 0;
        ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGKILL) << "status " << nStatus;
    }
};

} // namespace

TEST_F(CatalogCompactionCrashTest, KilledAtEveryStepTheCatalogsHoldEverything)
{
    BuildCatalogs(60);
    const std::string strBefore = SnapshotBoth();
    for (ECompactStep eStep : { ECompactStep::MainCopied, ECompactStep::RecycleCopied, ECompactStep::CopiesClosed,
             ECompactStep::ReferencesSaved, ECompactStep::CopiesChecked, ECompactStep::RecycleReplaced,
             ECompactStep::MainReplaced }) {
        SCOPED_TRACE(static_cast<int>(eStep));
        RebuildKilledAt(eStep);
        // Started again: both catalogs open and hold what they held.
        EXPECT_EQ(SnapshotBoth(), strBefore);
    }
    // Leftover copies do not stand in the way of the next rebuild.
    ASSERT_TRUE(RebuildCatalogFiles(MainPath().c_str(), RecyclePath().c_str()));
    EXPECT_EQ(SnapshotBoth(), strBefore);
    EXPECT_FALSE(Exists("ArchTemp.cat"));
    EXPECT_FALSE(Exists("ArchTemp.rec"));
}
