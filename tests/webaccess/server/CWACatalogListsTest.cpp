#include "webaccess/server/CWACatalogLists.h"

#include "tests/webaccess/server/CatalogSessionFixture.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

using CWACatalogListsTest = CatalogSessionTest;

/**************************** The session's view ****************************/

TEST_F(CWACatalogListsTest, WholeCatalogListsTheSystemsRootLast)
{
    const auto pSession = Login(AllGroups());
    EXPECT_TRUE(pSession->GetCatalogLists().IsWholeCatalog());
    const auto names = ChildNames(*pSession, m_root);
    ASSERT_EQ(names.size(), 3U);
    EXPECT_EQ(names[0], "Projects");
    EXPECT_EQ(names[1], "Archive");
    const CNodeRec root(m_pCatalog.get(), 0, 0);
    const auto children = pSession->GetCatalogLists().GetChildList(root);
    EXPECT_EQ(children.back()->GetRef(), (CRecordRef { 3, 0 }));
    EXPECT_EQ(DocumentCount(*pSession, m_archive), 1);
}

TEST_F(CWACatalogListsTest, WholeGrantShowsTheSubtreeWithDocuments)
{
    const auto pSession = Login(Rights({ { m_projects, WA_GROUP_WHOLE } }));
    EXPECT_FALSE(pSession->GetCatalogLists().IsWholeCatalog());
    EXPECT_EQ(ChildNames(*pSession, m_root), (std::vector<std::string> { "Projects" }));
    EXPECT_EQ(ChildNames(*pSession, m_projects), (std::vector<std::string> { "Alpha", "Beta <b>" }));
    EXPECT_EQ(ChildNames(*pSession, m_alpha), (std::vector<std::string> { "Deep" }));
    EXPECT_EQ(DocumentCount(*pSession, m_alpha), 3);
    EXPECT_EQ(DocumentCount(*pSession, m_deep), 1);
}

TEST_F(CWACatalogListsTest, PartGrantShowsTheGroupsDocumentsButNotItsSubGroups)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_PART } }));
    EXPECT_EQ(ChildNames(*pSession, m_root), (std::vector<std::string> { "Projects" }));
    EXPECT_EQ(ChildNames(*pSession, m_projects), (std::vector<std::string> { "Alpha" }));
    EXPECT_TRUE(ChildNames(*pSession, m_alpha).empty());
    EXPECT_EQ(DocumentCount(*pSession, m_alpha), 3);
    // Projects is only on the way to Alpha: its documents stay hidden.
    EXPECT_EQ(DocumentCount(*pSession, m_projects), 0);
}

TEST_F(CWACatalogListsTest, NodeOutsideTheTreeHasNothing)
{
    const auto pSession = Login(Rights({ { m_alpha, WA_GROUP_WHOLE } }));
    EXPECT_EQ(pSession->GetCatalogLists().FindItem(m_archive.nBlock, m_archive.nSlot), -1);
    EXPECT_TRUE(ChildNames(*pSession, m_archive).empty());
    EXPECT_EQ(DocumentCount(*pSession, m_archive), 0);
    EXPECT_EQ(DocumentCount(*pSession, m_beta), 0);
    const CNodeRec archive(m_pCatalog.get(), m_archive.nBlock, m_archive.nSlot);
    EXPECT_EQ(pSession->GetCatalogLists().CountChildren(archive), 0);
}

TEST_F(CWACatalogListsTest, WholeGrantReachedAfterAGrantedSubGroupStillShowsEverything)
{
    // Groups whose keys fall in different buckets, until one is given by the
    // map after its own granted sub-group.
    const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
    for (int i = 0; i < 17; ++i) {
        const std::string strName = "Group " + std::to_string(i);
        const auto pGroup = AddNode(*pRoot, strName.c_str());
        const auto pFirst = AddNode(*pGroup, "First");
        AddNode(*AddNode(*pGroup, "Second"), "Below");
        AddFile(*pGroup, (strName + ".txt").c_str(), 1);
        const Grants grants = Rights({ { pGroup->GetRef(), WA_GROUP_WHOLE }, { pFirst->GetRef(), WA_GROUP_PART } });
        CWAGroupRightsMap map;
        for (const auto& [key, wValue] : grants)
            map.SetAt(key, wValue);
        POSITION pos = map.GetStartPosition();
        WA_GROUP_KEY key {};
        WORD wFirst = 0;
        map.GetNextAssoc(pos, key, wFirst);
        if (wFirst != WA_GROUP_PART)
            continue;
        const auto pSession = Login(grants);
        EXPECT_EQ(ChildNames(*pSession, pGroup->GetRef()), (std::vector<std::string> { "First", "Second" }));
        const CRecordRef second = std::unique_ptr<CNodeRec>(pGroup->FindChildByName("Second"))->GetRef();
        EXPECT_EQ(ChildNames(*pSession, second), (std::vector<std::string> { "Below" }));
        // The group itself is granted, not only on the way to its sub-group.
        EXPECT_EQ(DocumentCount(*pSession, pGroup->GetRef()), 1);
        return;
    }
    FAIL() << "the map never gave a sub-group before its group";
}

/**************************** Fixed nodes ****************************/

TEST_F(CWACatalogListsTest, AGroupGrantedWholeShowsItsSubtreeUnderEveryFixedNode)
{
    const std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    const std::unique_ptr<CNodeRec> pFourth(CNodeRec::NewTopNodeRec4(m_pCatalog.get()));
    const auto pSystem = AddNode(*pSystems, "System");
    const auto pDrive = AddNode(*pSystem, "Drive");
    AddFile(*pDrive, "drive.txt", 2);
    const auto pKept = AddNode(*pFourth, "Kept");
    const auto pBelow = AddNode(*pKept, "Below");
    AddFile(*pBelow, "below.txt", 2);
    // Granted node, a group below it, that group's only child, which holds one document.
    for (const auto& [granted, group, pszChild, leaf] : { std::tuple { m_projects, m_alpha, "Deep", m_deep },
             std::tuple { pSystems->GetRef(), pSystem->GetRef(), "Drive", pDrive->GetRef() },
             std::tuple { pKept->GetRef(), pKept->GetRef(), "Below", pBelow->GetRef() } }) {
        const auto pSession = Login(Rights({ { granted, WA_GROUP_WHOLE } }));
        EXPECT_EQ(ChildNames(*pSession, group), (std::vector<std::string> { pszChild })) << granted.nBlock;
        EXPECT_EQ(DocumentCount(*pSession, leaf), 1) << granted.nBlock;
        BOOL bResult = FALSE;
        EXPECT_NE(Run(*pSession, WdirToken(leaf), &bResult).find(".txt"), std::string::npos) << granted.nBlock;
        EXPECT_TRUE(bResult) << granted.nBlock;
    }
}

TEST_F(CWACatalogListsTest, FixedNodesGrantedBesideGroupsAreTopsOfTheirOwn)
{
    const std::unique_ptr<CNodeRec> pFavourites(CNodeRec::NewTopNodeRec2(m_pCatalog.get()));
    AddFile(*pFavourites, "favourite.txt", 2);
    const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
    // Groups in every bucket of the rights map, so that each comes before
    // the fixed node in some map and after it in another.
    for (int i = 0; i < 17; ++i) {
        const std::string strName = "Group " + std::to_string(i);
        const auto pGroup = AddNode(*pRoot, strName.c_str());
        AddFile(*pGroup, (strName + ".txt").c_str(), 1);
        for (const CRecordRef fixed : { CRecordRef { 1, 0 }, pFavourites->GetRef() }) {
            const auto pSession = Login(Rights({ { pGroup->GetRef(), WA_GROUP_WHOLE }, { fixed, WA_GROUP_WHOLE } }));
            EXPECT_EQ(ChildNames(*pSession, m_root), (std::vector<std::string> { strName })) << strName;
            EXPECT_EQ(DocumentCount(*pSession, pGroup->GetRef()), 1) << strName;
            EXPECT_EQ(DocumentCount(*pSession, pFavourites->GetRef()), fixed == pFavourites->GetRef() ? 1 : 0);
            BOOL bResult = FALSE;
            EXPECT_NE(Run(*pSession, WdirToken(m_root), &bResult).find(strName), std::string::npos) << strName;
            EXPECT_TRUE(bResult) << strName;
        }
    }
}

} // namespace
