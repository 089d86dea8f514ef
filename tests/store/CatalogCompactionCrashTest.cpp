#include "store/CatalogCompaction.h"

#include "store/CPreferences.h"
#include "store/CRegistryKey.h"
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

// A web settings block that grants one group, kept in the registry by its
// reference, and follows a rebuild by the group's path of names.
class GrantedGroupSettings : public CPreferenceBlock {
public:
    void SetDefaults() override { m_group = {}; }
    void Load(HKEY hPreferences) override
    {
        CRegistryKey key;
        DWORD dwBlock = 0;
        DWORD dwSlot = 0;
        if (key.Open(hPreferences, "WA", KEY_READ) && key.GetDWORD("Block", dwBlock) && key.GetDWORD("Slot", dwSlot))
            m_group = { static_cast<CATBLOCK>(dwBlock), static_cast<LONG>(dwSlot) };
    }
    BOOL Save(HKEY hPreferences) const override
    {
        CRegistryKey key;
        return key.Create(hPreferences, "WA") && key.SetDWORD("Block", static_cast<DWORD>(m_group.nBlock))
            && key.SetDWORD("Slot", static_cast<DWORD>(m_group.nSlot));
    }
    void CopyToSheet(CPreferencesWebSheetData&) const override { }
    void CopyFromSheet(const CPreferencesWebSheetData&) override { }
    void RemapCatalogReferences(CCatalog& oldCatalog, CCatalog& newCatalog) override
    {
        CNodeRec oldNode(&oldCatalog, m_group.nBlock, m_group.nSlot);
        CStringArray names;
        oldNode.GetPathNames(names);
        std::unique_ptr<CNodeRec> pNode(CNodeRec::NewRootNodeRec(&newCatalog));
        for (int n = 0; pNode && n < names.GetSize(); ++n)
            pNode.reset(pNode->FindChildByName(names[n]));
        m_group = pNode ? pNode->GetRef() : CRecordRef {};
    }

    CRecordRef m_group;
};

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

    // The path of names of the group the saved web settings grant, in the
    // main catalog in place, after the start-up settle.
    std::string GrantedPathAfterRestart()
    {
        GrantedGroupSettings web;
        thePreferences.AttachWebSettings(&web);
        thePreferences.Load();
        EXPECT_TRUE(SettleRebuildReferences(MainPath().c_str()));
        EXPECT_FALSE(thePreferences.HasStagedWebSettings());
        thePreferences.AttachWebSettings(nullptr);
        auto pCatalog = OpenCatalog(MAIN_NAME);
        CNodeRec node(pCatalog.get(), web.m_group.nBlock, web.m_group.nSlot);
        return node.IsValid() ? NodePath(node) : "(none)";
    }
};

} // namespace

TEST_F(CatalogCompactionCrashTest, KilledAtEveryStepTheCatalogsHoldEverythingAndTheGrantsNameTheirGroup)
{
    BuildCatalogs(60);
    const std::string strBefore = SnapshotBoth();
    GrantedGroupSettings web;
    {
        auto pCatalog = OpenCatalog(MAIN_NAME);
        std::unique_ptr<CNodeRec> pNode(CNodeRec::NewRootNodeRec(pCatalog.get()));
        for (const char* pszName : { "Projects", "Alpha" })
            pNode.reset(pNode->FindChildByName(pszName));
        ASSERT_TRUE(pNode);
        web.m_group = pNode->GetRef();
    }
    thePreferences.AttachWebSettings(&web);
    ASSERT_TRUE(thePreferences.SaveWebSettings());
    thePreferences.AttachWebSettings(nullptr);
    ASSERT_EQ(GrantedPathAfterRestart(), "#0/Projects/Alpha");

    for (ECompactStep eStep : { ECompactStep::MainCopied, ECompactStep::RecycleCopied, ECompactStep::CopiesClosed,
             ECompactStep::ReferencesStaged, ECompactStep::CopiesChecked, ECompactStep::RecycleReplaced,
             ECompactStep::MainReplaced, ECompactStep::ReferencesSettled }) {
        SCOPED_TRACE(static_cast<int>(eStep));
        // Each run starts from the catalog the last one left, whose groups may have moved.
        {
            GrantedGroupSettings current;
            thePreferences.AttachWebSettings(&current);
            thePreferences.Load();
            RebuildKilledAt(eStep);
            thePreferences.AttachWebSettings(nullptr);
        }
        // Started again: both catalogs open and hold what they held, and the
        // grant names the same group in whichever main catalog is in place.
        EXPECT_EQ(GrantedPathAfterRestart(), "#0/Projects/Alpha");
        EXPECT_EQ(SnapshotBoth(), strBefore);
    }
    // Leftover copies do not stand in the way of the next rebuild.
    ASSERT_TRUE(RebuildCatalogFiles(MainPath().c_str(), RecyclePath().c_str()));
    EXPECT_EQ(SnapshotBoth(), strBefore);
    EXPECT_FALSE(Exists("ArchTemp.cat"));
    EXPECT_FALSE(Exists("ArchTemp.rec"));
}
