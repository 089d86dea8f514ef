#include "webaccess/profiles/CWAProfiles.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CatalogCompaction.h"
#include "tests/support/TempFolder.h"
#include "webaccess/profiles/CWASettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class CWAProfilesRebuildTest : public ProgramFolderTest {
protected:
    std::unique_ptr<CCatalog> NewCatalog(const char* pszName)
    {
        return std::make_unique<CCatalog>(ProgramPathFromHostPath((Home() / pszName).string()).c_str(), 1);
    }
    static std::unique_ptr<CNodeRec> AddNode(CNodeRec& parent, const char* pszName)
    {
        CNodeInfo info;
        MakeDefaultNames(&info);
        std::strncpy(info.szName, pszName, sizeof info.szName - 1);
        info.nKind = 2;
        std::unique_ptr<CNodeRec> pNode(parent.FindOrAddChild(info));
        EXPECT_NE(pNode, nullptr) << pszName;
        return pNode;
    }
    static WA_GROUP_KEY Key(const CNodeRec& node)
    {
        return { static_cast<DWORD>(node.GetBlock()), static_cast<DWORD>(node.GetSlot()) };
    }
};

} // namespace

TEST_F(CWAProfilesRebuildTest, GroupsFollowTheirNamesIntoTheNewCatalog)
{
    auto pOld = NewCatalog("old.cat");
    std::unique_ptr<CNodeRec> pOldRoot(CNodeRec::NewRootNodeRec(pOld.get()));
    auto pOldProjects = AddNode(*pOldRoot, "Projects");
    auto pOldAlpha = AddNode(*pOldProjects, "Alpha");
    auto pOldGone = AddNode(*pOldRoot, "Gone");

    // The new catalog holds the groups at other places, and no "Gone".
    auto pNew = NewCatalog("new.cat");
    std::unique_ptr<CNodeRec> pNewRoot(CNodeRec::NewRootNodeRec(pNew.get()));
    auto pNewArchive = AddNode(*pNewRoot, "Archive");
    AddNode(*pNewArchive, "Alpha");
    auto pNewProjects = AddNode(*pNewRoot, "Projects");
    auto pNewAlpha = AddNode(*pNewProjects, "Alpha");
    ASSERT_NE(Key(*pNewAlpha), Key(*pOldAlpha));

    CWASettings settings;
    settings.m_profiles.push_back(std::make_unique<CWAProfiles>());
    CWAGroupRightsMap rights;
    rights.SetAt(Key(*pOldAlpha), WA_GROUP_WHOLE);
    rights.SetAt(Key(*pOldProjects), WA_GROUP_PART);
    rights.SetAt(Key(*pOldGone), WA_GROUP_WHOLE);
    rights.SetAt({ 3, 0 }, WA_GROUP_WHOLE);
    rights.SetAt({ 700, 2 }, WA_GROUP_WHOLE);
    settings.m_profiles[0]->SetGroupRights(rights);
    settings.RebuildProfileGroups(*pOld, *pNew);

    const CWAGroupRightsMap& moved = settings.m_profiles[0]->GetGroupRights();
    WORD nValue = 0xFF;
    EXPECT_EQ(moved.GetCount(), 3);
    EXPECT_TRUE(moved.Lookup(Key(*pNewAlpha), nValue));
    EXPECT_EQ(nValue, WA_GROUP_WHOLE);
    EXPECT_TRUE(moved.Lookup(Key(*pNewProjects), nValue));
    EXPECT_EQ(nValue, WA_GROUP_PART);
    EXPECT_TRUE(moved.Lookup({ 3, 0 }, nValue));
}

TEST_F(CWAProfilesRebuildTest, AllGroupsSurvivesAlone)
{
    auto pOld = NewCatalog("old.cat");
    auto pNew = NewCatalog("new.cat");
    CWAProfiles profile;
    profile.InitDefault("pw", "");
    profile.RebuildGroupRights(*pOld, *pNew);
    EXPECT_TRUE(profile.GetGroupRights().IsAllGroups());
}

namespace {

// A main and a recycle-bin catalog in the program folder, where deleted
// groups make "Projects\Alpha" move when the catalog is rebuilt, and web
// settings attached to the preferences with one profile granting it.
class CatalogRebuildWebTest : public CWAProfilesRebuildTest {
protected:
    void SetUp() override
    {
        CWAProfilesRebuildTest::SetUp();
        {
            auto pMain = NewCatalog("archiv.cat");
            std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pMain.get()));
            std::vector<std::unique_ptr<CNodeRec>> gone;
            for (int n = 0; n < 40; ++n) {
                gone.push_back(AddNode(*pRoot, ("gone " + std::to_string(n)).c_str()));
                AddNode(*gone.back(), "child");
            }
            auto pProjects = AddNode(*pRoot, "Projects");
            m_oldAlpha = Key(*AddNode(*pProjects, "Alpha"));
            for (const auto& pGone : gone)
                ASSERT_TRUE(pGone->DeleteSubtree(TRUE));
            NewCatalog("winrec.cat");
        }
        m_settings.m_profiles.push_back(std::make_unique<CWAProfiles>());
        CWAGroupRightsMap rights;
        rights.SetAt(m_oldAlpha, WA_GROUP_WHOLE);
        m_settings.m_profiles[0]->SetGroupRights(rights);
        thePreferences.AttachWebSettings(&m_settings);
        ASSERT_TRUE(thePreferences.SaveWebSettings());
    }
    void TearDown() override
    {
        thePreferences.AttachWebSettings(nullptr);
        CWAProfilesRebuildTest::TearDown();
    }

    std::string Path(const char* pszName) const { return ProgramPathFromHostPath((Home() / pszName).string()); }
    BOOL Rebuild() { return RebuildCatalogFiles(Path("archiv.cat").c_str(), Path("winrec.cat").c_str()); }
    // The keys the profile grants: in memory, and as the registry keeps them.
    static std::vector<std::pair<DWORD, DWORD>> Granted(const CWASettings& settings)
    {
        std::vector<std::pair<DWORD, DWORD>> keys;
        const CWAGroupRightsMap& rights = settings.m_profiles.at(0)->GetGroupRights();
        for (POSITION pos = rights.GetStartPosition(); pos;) {
            WA_GROUP_KEY key {};
            WORD nValue = 0;
            rights.GetNextAssoc(pos, key, nValue);
            keys.emplace_back(key.nBlock, key.nSlot);
        }
        return keys;
    }
    std::vector<std::pair<DWORD, DWORD>> SavedGranted()
    {
        CWASettings saved;
        thePreferences.AttachWebSettings(&saved);
        thePreferences.Load();
        thePreferences.AttachWebSettings(&m_settings);
        return saved.m_profiles.empty() ? std::vector<std::pair<DWORD, DWORD>> {} : Granted(saved);
    }

    CWASettings m_settings;
    WA_GROUP_KEY m_oldAlpha {};
};

} // namespace

TEST_F(CatalogRebuildWebTest, GrantedGroupsFollowTheRebuiltCatalogAndAreSaved)
{
    ASSERT_TRUE(Rebuild());
    auto pMain = NewCatalog("archiv.cat");
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pMain.get()));
    std::unique_ptr<CNodeRec> pProjects(pRoot->FindChildByName("Projects"));
    ASSERT_TRUE(pProjects);
    std::unique_ptr<CNodeRec> pAlpha(pProjects->FindChildByName("Alpha"));
    ASSERT_TRUE(pAlpha);
    ASSERT_FALSE(Key(*pAlpha) == m_oldAlpha);
    const std::vector<std::pair<DWORD, DWORD>> expected { { pAlpha->GetBlock(), pAlpha->GetSlot() } };
    EXPECT_EQ(Granted(m_settings), expected);
    EXPECT_EQ(SavedGranted(), expected);
}

TEST_F(CatalogRebuildWebTest, FailedReplaceMovesTheGroupsBack)
{
    ASSERT_TRUE(SetFileAttributes(Path("winrec.cat").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Rebuild());
    ASSERT_TRUE(SetFileAttributes(Path("winrec.cat").c_str(), FILE_ATTRIBUTE_NORMAL));
    const std::vector<std::pair<DWORD, DWORD>> expected { { m_oldAlpha.nBlock, m_oldAlpha.nSlot } };
    EXPECT_EQ(Granted(m_settings), expected);
    EXPECT_EQ(SavedGranted(), expected);
}
