#include "store/CCatalog.h"

#include "store/CDirectoryRec.h"
#include "store/CLinkRec.h"
#include "store/CLocationRec.h"
#include "store/CatalogCheck.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Catalogs whose records contradict each other: every call fails soft (null,
// FALSE, an empty list), never crashes or hangs, and a contradiction in the
// file is reported as the fatal catalog error.
class CCatalogCorruptTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }

    // Overwrites a 32-bit field of a record in place.
    void PokeRecord(CRecordRef ref, LONG nTable, int nOffset, LONG nValue)
    {
        std::vector<BYTE> data(static_cast<std::size_t>(m_pCatalog->GetRecordSize(nTable)));
        ASSERT_TRUE(m_pCatalog->ReadRecord(ref, nTable, data));
        SetLongField(data, nOffset, nValue);
        ASSERT_TRUE(m_pCatalog->WriteRecord(ref, nTable, data));
    }

    // Closes the catalog, overwrites the owner of a block in the file and opens it again.
    void PokeBlockOwner(CATBLOCK nBlock, CRecordRef owner)
    {
        m_pCatalog.reset();
        PokeLong(BlockOffset(nBlock) + 20, owner.nBlock, "archiv.cat");
        PokeLong(BlockOffset(nBlock) + 24, owner.nSlot, "archiv.cat");
        m_pCatalog = OpenCatalog();
        ASSERT_TRUE(m_pCatalog->IsOpen());
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

TEST_F(CCatalogCorruptTest, LinkToADeletedDocumentListsNothing)
{
    ASSERT_TRUE(m_pCatalog->FreeRecord(m_tree.bTxt, TABLE_DOCUMENT));
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    EXPECT_THAT(Paths(pAlpha->GetDocuments()), ElementsAre("c:\\work\\a.txt", "c:\\docs\\readme.md"));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath("c:\\work\\b.txt")));
    CDocumentRec gone(m_pCatalog.get(), m_tree.bTxt.nBlock, m_tree.bTxt.nSlot);
    EXPECT_FALSE(gone.IsValid());
    EXPECT_FALSE(gone.HasLinks());
    EXPECT_THAT(gone.GetLinkedNodes(), IsEmpty());
    EXPECT_FALSE(gone.ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    CDocumentInfo info {};
    EXPECT_FALSE(gone.UpdateInfo(info));
    EXPECT_FALSE(pAlpha->AddDocument(&gone));
    // Deleting the node takes the dangling link with it.
    EXPECT_TRUE(pAlpha->DeleteSubtree(TRUE));
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CCatalogCorruptTest, NodeBlockOwnedByADirectoryHasNoParent)
{
    std::unique_ptr<CDirectoryRec> pWork(m_pCatalog->FindDirectory("c:\\work\\"));
    CRecordRef directory = pWork->GetRef();
    pWork.reset();
    PokeBlockOwner(m_tree.alpha.nBlock, directory);
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(pAlpha->GetParent()));
    EXPECT_EQ(m_errors.Count(), 1u);
}

TEST_F(CCatalogCorruptTest, ChildChainOfAnotherTableOrOwnerIsRefused)
{
    PokeRecord(m_tree.projects, TABLE_NODE, CNodeRec::OFF_CHILD_BLOCK, ROOT_BLOCK_DIRECTORY);
    auto pProjects = Node(*m_pCatalog, m_tree.projects);
    EXPECT_THAT(pProjects->GetChildren(), IsEmpty());
    EXPECT_EQ(pProjects->CountChildren(), 0);
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(pProjects->FindChildByName("Alpha")));
    EXPECT_GE(m_errors.Count(), 1u);
    EXPECT_FALSE(m_pCatalog->IsWritable());
    CNodeInfo info;
    MakeDefaultNames(&info);
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(pProjects->FindOrAddChild(info)));
}

TEST_F(CCatalogCorruptTest, ChildChainOfAnotherNodeIsRefused)
{
    // Archive claims the children of Projects.
    PokeRecord(m_tree.archive, TABLE_NODE, CNodeRec::OFF_CHILD_BLOCK, m_tree.alpha.nBlock);
    EXPECT_THAT(Node(*m_pCatalog, m_tree.archive)->GetChildren(), IsEmpty());
    EXPECT_EQ(m_errors.Count(), 1u);
}

TEST_F(CCatalogCorruptTest, NodesOwningEachOtherEndTheWalkUp)
{
    // Projects' block becomes owned by Alpha, whose block is owned by Projects.
    // Alpha's chain does not hold Projects' block, so the walk up ends there.
    PokeBlockOwner(m_tree.projects.nBlock, m_tree.alpha);
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    EXPECT_EQ(Names(pAlpha->GetAncestors()), std::vector<std::string> { "Projects" });
    CStringArray names;
    pAlpha->GetPathNames(names);
    EXPECT_EQ(names.GetSize(), 2);
}

TEST_F(CCatalogCorruptTest, DocumentLinkListThroughANodeOrInACircleIsDamage)
{
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    CRecordRef first = pDocument->GetFirstLink();
    PokeRecord(first, TABLE_LINK, CLinkRec::OFF_NEXT, first.nBlock);
    PokeRecord(first, TABLE_LINK, CLinkRec::OFF_NEXT + 4, first.nSlot);
    EXPECT_THAT(pDocument->GetLinkedNodes(), IsEmpty());
    EXPECT_FALSE(pDocument->HasLinks());
    EXPECT_EQ(pDocument->CountNodeLinks(FALSE), 0);
    EXPECT_EQ(m_errors.Count(), 1u);

    auto pReadme = Document(*m_pCatalog, m_tree.readme);
    EXPECT_FALSE(pReadme->IsUnderTopNode2());
}

TEST_F(CCatalogCorruptTest, TextFieldsWithoutTheirNulReadBoundedTexts)
{
    std::vector<BYTE> data(CDocumentRec::RECORD_SIZE);
    ASSERT_TRUE(m_pCatalog->ReadRecord(m_tree.aTxt, TABLE_DOCUMENT, data));
    std::memset(data.data() + CDocumentRec::OFF_NAME, 'z', 3 * CDocumentRec::TEXT_SIZE); // no NUL in any text
    std::memset(data.data() + CDocumentRec::OFF_PASSWORD, 'p', CDocumentRec::PASSWORD_SIZE);
    ASSERT_TRUE(m_pCatalog->WriteRecord(m_tree.aTxt, TABLE_DOCUMENT, data));
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    CString strName, strDescription;
    pDocument->GetFullPath(strName);
    pDocument->GetNameWithLocation(strDescription);
    EXPECT_EQ(std::string(strName), std::string(CDocumentRec::TEXT_SIZE, 'z'));
    EXPECT_EQ(std::string(strDescription), std::string(CDocumentRec::TEXT_SIZE, 'z'));
    CDocumentInfo info;
    EXPECT_TRUE(pDocument->GetInfo(&info));
    EXPECT_LE(std::strlen(info.szDescription), static_cast<std::size_t>(CDocumentRec::MAX_TEXT));
    EXPECT_EQ(std::string(info.szPassword), std::string(CDocumentRec::PASSWORD_SIZE - 1, 'p'));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath("c:\\work\\a.txt")));
}

TEST_F(CCatalogCorruptTest, LocationReferenceToAnotherTableCutsTheName)
{
    std::string strName = std::string(250, 'c') + ".txt";
    auto pDocument = AddDocument(*m_pCatalog, nullptr, ("c:\\long\\" + strName).c_str());
    CRecordRef location = GetRefField(pDocument->GetData(), CDocumentRec::OFF_LOCATION);
    // The reference names the document itself, a record of table 2.
    CRecordRef self = pDocument->GetRef();
    PokeRecord(self, TABLE_DOCUMENT, CDocumentRec::OFF_LOCATION, self.nBlock);
    PokeRecord(self, TABLE_DOCUMENT, CDocumentRec::OFF_LOCATION + 4, self.nSlot);
    ASSERT_TRUE(pDocument->Load());
    CString strFound;
    pDocument->GetFullPath(strFound);
    EXPECT_EQ(std::string(strFound), strName.substr(0, CDocumentRec::MAX_TEXT));
    EXPECT_TRUE(pDocument->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    EXPECT_TRUE(m_pCatalog->CheckRecord(location.nBlock, location.nSlot, TABLE_LOCATION)); // left over, not freed
}

TEST_F(CCatalogCorruptTest, MissingLocationRecordCutsTheTexts)
{
    std::string strName = std::string(100, 'k') + ".txt";
    auto pDocument = AddDocument(*m_pCatalog, nullptr, ("c:\\long\\" + strName).c_str());
    CRecordRef location = GetRefField(pDocument->GetData(), CDocumentRec::OFF_LOCATION);
    ASSERT_TRUE(m_pCatalog->FreeRecord(location, TABLE_LOCATION));
    ASSERT_TRUE(pDocument->Load());
    CString strFound;
    pDocument->GetFullPath(strFound);
    EXPECT_EQ(std::string(strFound), strName.substr(0, CDocumentRec::MAX_TEXT));
    // Writing the information again makes a new location record.
    CDocumentInfo info;
    pDocument->GetInfo(&info);
    std::strcpy(info.szName, strName.c_str());
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    pDocument->GetFullPath(strFound);
    EXPECT_EQ(std::string(strFound), strName);
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CCatalogCorruptTest, DirectoryWithAnEmptyPathIsSkipped)
{
    std::unique_ptr<CDirectoryRec> pWork(m_pCatalog->FindDirectory("c:\\work\\"));
    pWork->SetPath("");
    ASSERT_TRUE(pWork->Save());
    ASSERT_TRUE(m_pCatalog->Reload());
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath("c:\\work\\a.txt")));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pWork->FindDocument("c:\\work\\a.txt")));
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    EXPECT_EQ(pDocument->GetDirectoryPath(FALSE), "");
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CCatalogCorruptTest, DocumentCountsOutOfAllBoundsStillFindDocuments)
{
    std::unique_ptr<CDirectoryRec> pWork(m_pCatalog->FindDirectory("c:\\work\\"));
    for (LONG nCount : { 0x7FFFFFFF, -1 }) {
        pWork->SetDocumentCount(nCount);
        ASSERT_TRUE(pWork->Save());
        ASSERT_TRUE(m_pCatalog->Reload());
        std::unique_ptr<CDocumentRec> pFound(m_pCatalog->FindPath("c:\\work\\b.txt"));
        ASSERT_TRUE(pFound) << nCount;
        EXPECT_EQ(pFound->GetRef(), m_tree.bTxt);
    }
    EXPECT_EQ(m_errors.Count(), 0u);
}

// A block past the file's end is what a power cut leaves when a record naming
// a new block reached the disk and the block did not: never an empty chain or
// a gone document, and never a block the next append may take.
TEST_F(CCatalogCorruptTest, DirectoryChainPastTheLastBlockIsDamage)
{
    std::unique_ptr<CDirectoryRec> pWork(m_pCatalog->FindDirectory("c:\\work\\"));
    PokeRecord(pWork->GetRef(), TABLE_DIRECTORY, CDirectoryRec::OFF_DOCUMENT_BLOCK, m_pCatalog->GetLastBlock() + 1);
    EXPECT_FALSE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN));
    ASSERT_TRUE(m_pCatalog->Reload());
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath("c:\\work\\a.txt")));
    EXPECT_GE(m_errors.Count(), 1u);
    EXPECT_FALSE(m_pCatalog->IsWritable());
}

TEST_F(CCatalogCorruptTest, LinkToADocumentPastTheLastBlockIsDamage)
{
    CRecordRef link = GetRefField(Document(*m_pCatalog, m_tree.aTxt)->GetData(), CDocumentRec::OFF_FIRST_LINK);
    PokeRecord(link, TABLE_LINK, CLinkRec::OFF_DOCUMENT, m_pCatalog->GetLastBlock() + 1);
    EXPECT_FALSE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN));
    EXPECT_THAT(Paths(Node(*m_pCatalog, m_tree.alpha)->GetDocuments()), IsEmpty());
    EXPECT_GE(m_errors.Count(), 1u);
}

TEST_F(CCatalogCorruptTest, DocumentChainOwnedByANodeHasNoDirectory)
{
    PokeBlockOwner(m_tree.aTxt.nBlock, m_tree.alpha);
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    EXPECT_EQ(pDocument->GetDirectoryPath(FALSE), "");
    CString strLabel;
    pDocument->GetLabel(strLabel);
    EXPECT_EQ(strLabel, "");
    EXPECT_GE(m_errors.Count(), 1u);
}

TEST_F(CCatalogCorruptTest, CursorsOnWrongReferencesAreInvalid)
{
    CNodeRec outside(m_pCatalog.get(), 9999, 0);
    EXPECT_FALSE(outside.IsValid());
    EXPECT_THAT(outside.GetChildren(), IsEmpty());
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(outside.GetParent()));
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(outside.Clone()));
    CNodeInfo info;
    MakeDefaultNames(&info);
    EXPECT_FALSE(outside.UpdateInfo(info));
    CNodeRec document(m_pCatalog.get(), m_tree.aTxt.nBlock, m_tree.aTxt.nSlot);
    EXPECT_FALSE(document.IsValid());
    CDocumentRec node(m_pCatalog.get(), m_tree.alpha.nBlock, m_tree.alpha.nSlot);
    EXPECT_FALSE(node.IsValid());
    EXPECT_EQ(node.GetDirectoryPath(FALSE), "");
    EXPECT_EQ(m_errors.Count(), 0u);
}
