#include "store/CCatalog.h"

#include "store/CCleanUpFolderRec.h"
#include "store/CExtensionRec.h"
#include "store/CKeywordRec.h"
#include "store/CLibFolderRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeFolderRec.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CCatalogEntriesTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
    }

    // The number of used records in a table's root chain.
    int CountRecords(CATBLOCK nRoot)
    {
        int nCount = 0;
        CRecordRef cursor { nRoot, NO_SLOT };
        while (m_pCatalog->NextRecord(&cursor))
            ++nCount;
        return nCount;
    }

    std::vector<std::string> Extensions()
    {
        std::vector<std::string> texts;
        for (CString str = m_pCatalog->FirstExtension(); !str.IsEmpty(); str = m_pCatalog->NextExtension())
            texts.emplace_back(str);
        return texts;
    }

    std::vector<std::string> LocationKeys()
    {
        std::vector<std::string> keys;
        CString strKey;
        for (int nIterator = m_pCatalog->GetLocationCount(); m_pCatalog->NextLocation(&nIterator, strKey);)
            keys.emplace_back(strKey);
        return keys;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
};

/* Texts in pieces. */

TEST_F(CCatalogEntriesTest, KeywordsAreFoundByTheirWholeText)
{
    std::string strLong = "a keyword of more than thirty bytes, in three pieces of text";
    std::unique_ptr<CKeywordRec> pShort(m_pCatalog->CreateKeyword("Invoices"));
    std::unique_ptr<CKeywordRec> pLong(m_pCatalog->AddKeyword(strLong.c_str()));
    ASSERT_TRUE(pShort && pLong);
    EXPECT_EQ(std::string(pLong->GetText()), strLong);
    EXPECT_EQ(CountRecords(ROOT_BLOCK_KEYWORD_TEXT), 1 + 2);
    EXPECT_EQ(pLong->GetBlock(), ROOT_BLOCK_KEYWORD);

    std::unique_ptr<CKeywordRec> pFound(m_pCatalog->FindKeyword(strLong.c_str()));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pLong->GetRef());
    EXPECT_FALSE(std::unique_ptr<CKeywordRec>(m_pCatalog->FindKeyword("invoices")));
    EXPECT_FALSE(std::unique_ptr<CKeywordRec>(m_pCatalog->FindKeyword(strLong.substr(0, 30).c_str())));
}

TEST_F(CCatalogEntriesTest, PiecesAreCutAtCharacterBoundaries)
{
    std::string strText;
    for (int n = 0; n < 40; ++n)
        strText += "\xE2\x82\xAC"; // "€", three bytes: a piece of 30 holds ten
    strText += "x";
    std::unique_ptr<CNodeFolderRec> pFolder(m_pCatalog->AddNodeFolder(strText.c_str()));
    ASSERT_TRUE(pFolder);
    EXPECT_EQ(std::string(pFolder->GetText()), strText);
    std::unique_ptr<CExtensionRec> pExtension(
        m_pCatalog->CreateExtension("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"));
    ASSERT_TRUE(pExtension);
    EXPECT_EQ(std::string(pExtension->GetText()), "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    EXPECT_EQ(CountRecords(ROOT_BLOCK_EXTENSION_TEXT), 2);
}

TEST_F(CCatalogEntriesTest, OverlongTextsAreRefused)
{
    std::string strLong(CTextEntryRec::MAX_TEXT + 1, 'k');
    EXPECT_FALSE(std::unique_ptr<CKeywordRec>(m_pCatalog->CreateKeyword(strLong.c_str())));
    EXPECT_EQ(CountRecords(ROOT_BLOCK_KEYWORD), 0);
    EXPECT_EQ(CountRecords(ROOT_BLOCK_KEYWORD_TEXT), 0);
}

TEST_F(CCatalogEntriesTest, DeletingAnEntryFreesItsTextPieces)
{
    std::unique_ptr<CLibFolderRec> pMask(m_pCatalog->AddLibFolder("~*.*"));
    std::unique_ptr<CCleanUpFolderRec> pFolder(
        m_pCatalog->AddCleanUpFolder("c:\\windows\\temporary internet files\\and some more"));
    ASSERT_TRUE(pMask && pFolder);
    EXPECT_EQ(pMask->GetBlock(), ROOT_BLOCK_LIB_FOLDER);
    EXPECT_EQ(pFolder->GetBlock(), ROOT_BLOCK_CLEANUP_FOLDER);
    EXPECT_EQ(CountRecords(ROOT_BLOCK_CLEANUP_FOLDER_TEXT), 2);
    ASSERT_TRUE(pFolder->Delete());
    ASSERT_TRUE(pMask->Delete());
    for (CATBLOCK nRoot : { ROOT_BLOCK_LIB_FOLDER, ROOT_BLOCK_LIB_FOLDER_TEXT, ROOT_BLOCK_CLEANUP_FOLDER,
             ROOT_BLOCK_CLEANUP_FOLDER_TEXT })
        EXPECT_EQ(CountRecords(nRoot), 0) << nRoot;
}

TEST_F(CCatalogEntriesTest, RemoveNodeFolderByNameRemovesEveryCopy)
{
    std::unique_ptr<CNodeFolderRec>(m_pCatalog->AddNodeFolder("c:\\data\\"));
    std::unique_ptr<CNodeFolderRec>(m_pCatalog->AddNodeFolder("*c:\\mail\\inbox"));
    std::unique_ptr<CNodeFolderRec>(m_pCatalog->AddNodeFolder("c:\\data\\"));
    EXPECT_TRUE(m_pCatalog->RemoveNodeFolderByName("c:\\data\\"));
    EXPECT_FALSE(std::unique_ptr<CNodeFolderRec>(m_pCatalog->FindNodeFolder("c:\\data\\")));
    EXPECT_TRUE(std::unique_ptr<CNodeFolderRec>(m_pCatalog->FindNodeFolder("*c:\\mail\\inbox")));
    EXPECT_FALSE(m_pCatalog->RemoveNodeFolderByName("c:\\data\\"));
}

TEST_F(CCatalogEntriesTest, MissingTextPieceIsDamageAndReadsShort)
{
    std::unique_ptr<CKeywordRec> pKeyword(m_pCatalog->CreateKeyword(std::string(45, 'w').c_str()));
    CRecordRef first = GetRefField(pKeyword->GetData(), CTextEntryRec::OFF_TEXT);
    CKeywordTextRec piece(m_pCatalog.get(), first);
    ASSERT_TRUE(piece.Load());
    CRecordRef second = piece.GetNext();
    ASSERT_TRUE(m_pCatalog->FreeRecord(second, TABLE_KEYWORD_TEXT));
    EXPECT_EQ(std::string(pKeyword->GetText()), std::string(30, 'w'));
    EXPECT_EQ(m_errors.Count(), 1u);
}

/* Extensions. */

TEST_F(CCatalogEntriesTest, ExtensionsAreLookedUpByTheTextAfterTheLastDot)
{
    EXPECT_TRUE(m_pCatalog->LoadExtensions("DOC"));
    std::unique_ptr<CExtensionRec> pPdf(m_pCatalog->CreateExtension(".pdf"));
    ASSERT_TRUE(pPdf);
    EXPECT_EQ(pPdf->GetText(), "pdf");
    CRecordRef ref;
    EXPECT_TRUE(m_pCatalog->LookupExtension("Report.Final.PDF", &ref));
    EXPECT_EQ(ref, pPdf->GetRef());
    EXPECT_TRUE(m_pCatalog->LookupExtension("a.doc"));
    EXPECT_FALSE(m_pCatalog->LookupExtension("a.docx"));
    EXPECT_FALSE(m_pCatalog->LookupExtension("pdf"));
    EXPECT_FALSE(m_pCatalog->LoadExtensions(""));
    // A known extension, in any case, gives its record and adds none.
    std::unique_ptr<CExtensionRec> pAgain(m_pCatalog->CreateExtension("PDF"));
    ASSERT_TRUE(pAgain);
    EXPECT_EQ(pAgain->GetRef(), pPdf->GetRef());
    EXPECT_TRUE(m_pCatalog->LoadExtensions(".doc"));
    EXPECT_THAT(Extensions(), ElementsAre("doc", "pdf"));
}

TEST_F(CCatalogEntriesTest, ClearExtensionsEmptiesTableAndMap)
{
    EXPECT_TRUE(m_pCatalog->LoadExtensions("txt"));
    EXPECT_TRUE(m_pCatalog->LoadExtensions("odt"));
    ASSERT_TRUE(m_pCatalog->ClearExtensions());
    EXPECT_FALSE(m_pCatalog->LookupExtension("a.txt"));
    EXPECT_THAT(Extensions(), IsEmpty());
    EXPECT_EQ(CountRecords(ROOT_BLOCK_EXTENSION_TEXT), 0);
}

/* Locations. */

TEST_F(CCatalogEntriesTest, LocationMapGetSetAndWalk)
{
    std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(0, "Local Disk"));
    std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(3, "C:\\Mail\\Inbox.dbx"));
    EXPECT_EQ(m_pCatalog->GetLocationCount(), 2);
    EXPECT_EQ(m_pCatalog->GetLocationKind("local disk"), 0);
    EXPECT_EQ(m_pCatalog->GetLocationKind("c:\\mail\\inbox.dbx"), 3);
    EXPECT_EQ(m_pCatalog->GetLocationKind("elsewhere"), -1);
    EXPECT_EQ(m_pCatalog->GetLocationValue("elsewhere"), -1);
    EXPECT_EQ(m_pCatalog->GetLocationValue("local disk"), 0);
    EXPECT_TRUE(m_pCatalog->SetLocationValue("C:\\MAIL\\inbox.dbx", 123456));
    EXPECT_EQ(m_pCatalog->GetLocationValue("c:\\mail\\inbox.dbx"), 123456);
    EXPECT_FALSE(m_pCatalog->SetLocationValue("elsewhere", 1));
    EXPECT_TRUE(m_pCatalog->SetLocationEntry("local disk", 7));
    EXPECT_FALSE(m_pCatalog->SetLocationEntry("elsewhere", 7));
    EXPECT_THAT(LocationKeys(), ElementsAre("c:\\mail\\inbox.dbx", "local disk"));
    int nIterator = 0;
    CString strKey;
    EXPECT_FALSE(m_pCatalog->NextPathKey(&nIterator, strKey));
}

TEST_F(CCatalogEntriesTest, LocationsPersistAndReplaceTheirOwnKey)
{
    std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(1, "Server"));
    std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(2, "server"));
    EXPECT_TRUE(m_pCatalog->SetLocationValue("server", 99));
    EXPECT_EQ(CountRecords(ROOT_BLOCK_MAIL_STORE), 1);
    m_pCatalog = OpenCatalog();
    EXPECT_EQ(m_pCatalog->GetLocationKind("server"), 2);
    EXPECT_EQ(m_pCatalog->GetLocationValue("server"), 99);
    ASSERT_TRUE(m_pCatalog->ClearLocations());
    EXPECT_EQ(m_pCatalog->GetLocationCount(), 0);
    EXPECT_EQ(CountRecords(ROOT_BLOCK_MAIL_STORE), 0);
    EXPECT_EQ(CountRecords(ROOT_BLOCK_MAIL_STORE_TEXT), 0);
}

TEST_F(CCatalogEntriesTest, ExtensionMapIsRebuiltOnOpen)
{
    EXPECT_TRUE(m_pCatalog->LoadExtensions("md"));
    m_pCatalog = OpenCatalog();
    EXPECT_TRUE(m_pCatalog->LookupExtension("notes.md"));
}
