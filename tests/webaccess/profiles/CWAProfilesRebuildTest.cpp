#include "webaccess/profiles/CWAProfiles.h"

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "tests/support/TempFolder.h"
#include "webaccess/profiles/CWASettings.h"

#include <gtest/gtest.h>

#include <cstring>

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
