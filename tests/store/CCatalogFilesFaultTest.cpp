#include "store/CCatalogFiles.h"

#include "tests/store/CatalogFilesFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

// Crash simulation: a child process runs a backup or a restore and is killed
// after its n-th change in the file system, for every n; the parent then
// starts as the program would and checks what it finds.

namespace {

namespace fs = std::filesystem;

constexpr int EXIT_COMPLETED = 3;

class CatalogFilesFaultTest : public CatalogFilesTest {
protected:
    // Runs fnOperation in a child process that is killed after its nStep-th
    // step. True when the child was killed; false when the operation ended first.
    bool RunKilledAt(int nStep, const std::function<void(CCatalogFiles&)>& fnOperation)
    {
        pid_t pid = fork();
        if (pid == 0) {
            CCatalogFiles files = Files();
            int nSteps = 0;
            files.SetStepHook([&] {
                if (++nSteps == nStep)
                    kill(getpid(), SIGKILL);
            });
            fnOperation(files);
            _exit(EXIT_COMPLETED);
        }
        int nStatus = 0;
        EXPECT_EQ(waitpid(pid, &nStatus, 0), pid);
        if (WIFEXITED(nStatus)) {
            EXPECT_EQ(WEXITSTATUS(nStatus), EXIT_COMPLETED);
            return false;
        }
        EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGKILL);
        return true;
    }

    // The markers of the complete generations, newest first; each pair must be one state.
    std::vector<std::string> CountedGenerations()
    {
        std::vector<std::string> markers;
        for (int n = 1; n <= CCatalogFiles::MAX_GENERATIONS; ++n) {
            if (!Files().HasGeneration(n))
                continue;
            std::string strMain = Marker("archiv" + std::to_string(n) + ".bck");
            EXPECT_EQ(Marker("winrec" + std::to_string(n) + ".bck"), strMain) << "generation " << n << " is mixed";
            markers.push_back(strMain);
        }
        return markers;
    }

    void ExpectNoTemporaries()
    {
        for (const auto& entry : fs::directory_iterator(Home())) {
            std::string strName = entry.path().filename().string();
            EXPECT_FALSE(entry.path().extension() == ".tmp" || entry.path().extension() == ".rst") << strName;
        }
    }
};

}

TEST_F(CatalogFilesFaultTest, BackupKilledAtAnyStepKeepsTheCatalogAndCountsNoMixedGeneration)
{
    for (const char* pszMarker : { "g3", "g2", "g1" })
        MakeGeneration(pszMarker, 3);
    WritePair("current");
    const Snapshot before = TakeSnapshot();
    const std::vector<std::string> orderOfAge { "current", "g1", "g2", "g3" };

    int nStep = 1;
    for (; RunKilledAt(nStep, [](CCatalogFiles& files) { files.MakeGeneration(3); }); ++nStep) {
        SCOPED_TRACE("killed after step " + std::to_string(nStep));
        EXPECT_EQ(FileBytes("archiv.cat"), before.at("archiv.cat"));
        EXPECT_EQ(FileBytes("winrec.cat"), before.at("winrec.cat"));
        EXPECT_TRUE(HoldsSystem("current"));

        std::vector<std::string> counted = CountedGenerations();
        // Newest first (a generation moving up may briefly count under both
        // numbers); only the new copy and the dropped oldest may be missing.
        std::set<std::string> seen(counted.begin(), counted.end());
        EXPECT_TRUE(seen.contains("g1"));
        EXPECT_TRUE(seen.contains("g2"));
        for (std::size_t n = 1; n < counted.size(); ++n) {
            auto itNewer = std::find(orderOfAge.begin(), orderOfAge.end(), counted[n - 1]);
            auto itOlder = std::find(orderOfAge.begin(), orderOfAge.end(), counted[n]);
            EXPECT_LE(itNewer, itOlder);
        }

        ASSERT_TRUE(Files().RecoverInterrupted());
        EXPECT_EQ(Files().DeleteGenerations(), static_cast<int>(counted.size()));
        ExpectNoTemporaries();
        // The next backup after the crash works.
        ASSERT_TRUE(Files().MakeGeneration(3));
        EXPECT_EQ(CountedGenerations().front(), "current");
        RestoreSnapshot(before);
    }
    EXPECT_GT(nStep, 10); // the copies, the shifts and the renames were all interrupted
}

TEST_F(CatalogFilesFaultTest, RestoreKilledAtAnyStepLeavesTheOldOrTheRestoredPair)
{
    MakeGeneration("backed up");
    WritePair("previous");
    ASSERT_TRUE(Files().RotateOld(1)); // gives previous copies to be replaced
    WritePair("current");
    const Snapshot before = TakeSnapshot();

    int nStep = 1;
    int nRestored = 0;
    for (; RunKilledAt(nStep, [](CCatalogFiles& files) { files.RotateOld(1); }); ++nStep) {
        SCOPED_TRACE("killed after step " + std::to_string(nStep));
        // Each current file is whole, whatever the moment.
        for (const char* pszName : { "archiv.cat", "winrec.cat" }) {
            std::vector<BYTE> bytes = FileBytes(pszName);
            EXPECT_TRUE(bytes == before.at(pszName) || Marker(pszName) == "backed up") << pszName;
        }

        ASSERT_TRUE(Files().RecoverInterrupted());
        std::string strState = Marker("archiv.cat");
        EXPECT_EQ(Marker("winrec.cat"), strState);
        if (strState == "current") {
            EXPECT_EQ(FileBytes("archiv.cat"), before.at("archiv.cat"));
            EXPECT_EQ(FileBytes("winrec.cat"), before.at("winrec.cat"));
            EXPECT_EQ(Marker("archiv.old"), "previous");
            EXPECT_EQ(Marker("winrec.old"), "previous");
            EXPECT_TRUE(HoldsSystem("current"));
        } else {
            EXPECT_EQ(strState, "backed up");
            EXPECT_EQ(FileBytes("archiv.cat"), before.at("archiv1.bck"));
            EXPECT_EQ(FileBytes("winrec.cat"), before.at("winrec1.bck"));
            EXPECT_EQ(FileBytes("archiv.old"), before.at("archiv.cat"));
            EXPECT_EQ(FileBytes("winrec.old"), before.at("winrec.cat"));
            EXPECT_TRUE(HoldsSystem("backed up"));
            ++nRestored;
        }
        EXPECT_TRUE(Files().HasGeneration(1));
        ExpectNoTemporaries();
        RestoreSnapshot(before);
    }
    EXPECT_GT(nStep, 6);
    EXPECT_GT(nRestored, 0);
}
