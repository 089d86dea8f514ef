#include "store/CDocumentRec.h"

#include "platform/base/TextFunctions.h"
#include "store/CDirectoryRec.h"
#include "store/CLocationRec.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class CDocumentRecTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }

    std::unique_ptr<CDocumentRec> Find(const char* pszPath)
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath(pszPath));
    }

    // A mail message of the store c:\mail\inbox.mbx (kind nStoreKind), titled pszTitle.
    std::unique_ptr<CDocumentRec> AddMail(const char* pszTitle, LONG nStoreKind)
    {
        CDocumentInfo info {};
        info.wType = DOCUMENT_MAIL;
        info.nVersion = nStoreKind;
        std::unique_ptr<CDocumentRec> pMail(m_pCatalog->FindOrAddDocument("*c:\\mail\\inbox.mbx#", pszTitle, &info));
        EXPECT_TRUE(pMail);
        return pMail;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

/* Finding documents by path. */

TEST_F(CDocumentRecTest, FindOrAddPathIsIdempotent)
{
    CATBLOCK nLast = m_pCatalog->GetLastBlock();
    auto pAgain = AddDocument(*m_pCatalog, nullptr, "C:\\WORK\\a.TXT");
    EXPECT_EQ(pAgain->GetRef(), m_tree.aTxt);
    EXPECT_EQ(m_pCatalog->GetLastBlock(), nLast);
    std::unique_ptr<CDirectoryRec> pWork(m_pCatalog->FindDirectory("c:\\work"));
    ASSERT_TRUE(pWork);
    EXPECT_EQ(pWork->GetDocumentCount(), 2);
}

TEST_F(CDocumentRecTest, FindPathByLowerCasedPathAndByFolderAndName)
{
    auto pByPath = Find("C:\\Work\\B.TXT");
    ASSERT_TRUE(pByPath);
    EXPECT_EQ(pByPath->GetRef(), m_tree.bTxt);
    std::unique_ptr<CDocumentRec> pByParts(m_pCatalog->FindPath("c:\\docs\\", "readme.md"));
    ASSERT_TRUE(pByParts);
    EXPECT_EQ(pByParts->GetRef(), m_tree.readme);
    std::unique_ptr<CDocumentRec> pNoSlash(m_pCatalog->FindPath("c:\\docs", "README.md"));
    ASSERT_TRUE(pNoSlash);
    EXPECT_EQ(pNoSlash->GetRef(), m_tree.readme);

    EXPECT_FALSE(Find("c:\\work\\c.txt"));
    EXPECT_FALSE(Find("c:\\nowhere\\a.txt"));
    EXPECT_FALSE(Find("c:\\work\\"));
    EXPECT_FALSE(Find("a.txt"));
    EXPECT_FALSE(Find(""));
    EXPECT_FALSE(Find(nullptr));
}

TEST_F(CDocumentRecTest, DocumentsKeepLowerCasedNamesAndDirectories)
{
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    CString strName;
    pDocument->GetFullPath(strName);
    EXPECT_EQ(strName, "a.txt");
    EXPECT_EQ(pDocument->GetDirectoryPath(FALSE), "c:\\work\\");
    EXPECT_EQ(pDocument->GetDirectoryString(), "c:\\work\\");
    CString strLabel;
    pDocument->GetLabel(strLabel);
    EXPECT_EQ(strLabel, "c:\\work\\");
}

TEST_F(CDocumentRecTest, BadNamesAreRefused)
{
    std::string strLong(CDocumentRec::MAX_NAME + 1, 'n');
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddDocument("c:\\x\\", strLong.c_str(), nullptr)));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddDocument("c:\\x\\", "", nullptr)));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddDocument("", "a.txt", nullptr)));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddPath(nullptr, "no folder")));
    std::string strDeepFolder = "c:\\" + std::string(300, 'd');
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddDocument(strDeepFolder.c_str(), "a.txt", nullptr)));
}

TEST_F(CDocumentRecTest, LongNamesContinueInTheLocationRecord)
{
    std::string strName = std::string(150, 'q') + ".txt";
    auto pDocument = AddDocument(*m_pCatalog, nullptr, ("c:\\long\\" + strName).c_str());
    CString strFound;
    pDocument->GetFullPath(strFound);
    EXPECT_EQ(std::string(strFound), strName);
    auto pFound = Find(("c:\\long\\" + strName).c_str());
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pDocument->GetRef());
}

TEST_F(CDocumentRecTest, DirectoryWalksItsDocumentsInChainOrder)
{
    std::unique_ptr<CDirectoryRec> pWork(m_pCatalog->FindDirectory("C:\\Work\\"));
    ASSERT_TRUE(pWork);
    std::vector<std::string> names;
    for (std::unique_ptr<CDocumentRec> p(pWork->FirstDocument()); p; p.reset(pWork->NextDocument())) {
        CString strName;
        p->GetFullPath(strName);
        names.emplace_back(strName);
    }
    EXPECT_THAT(names, ElementsAre("a.txt", "b.txt"));
    std::unique_ptr<CDocumentRec> pFound(pWork->FindDocument("C:\\work\\B.txt"));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), m_tree.bTxt);
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pWork->FindDocument("c:\\docs\\readme.md")));
}

/* Links. */

TEST_F(CDocumentRecTest, LinkedNodesInLinkOrder)
{
    EXPECT_THAT(Names(Document(*m_pCatalog, m_tree.aTxt)->GetLinkedNodes()), ElementsAre("Alpha", "beta"));
    EXPECT_THAT(Names(Document(*m_pCatalog, m_tree.readme)->GetLinkedNodes()), ElementsAre("Alpha", "Archive"));
}

TEST_F(CDocumentRecTest, ServiceNodesAreNotCountedAsNodeLinks)
{
    auto pDocument = AddDocument(*m_pCatalog, nullptr, "c:\\fav\\f.txt");
    EXPECT_FALSE(pDocument->HasLinks());
    EXPECT_EQ(pDocument->CountNodeLinks(FALSE), 0);

    std::unique_ptr<CNodeRec> pFavourites(CNodeRec::NewTopNodeRec2(m_pCatalog.get()));
    ASSERT_TRUE(pFavourites->AddDocument(pDocument.get()));
    EXPECT_TRUE(pDocument->HasLinks());
    EXPECT_FALSE(pDocument->HasLinks(TRUE));
    EXPECT_EQ(pDocument->CountNodeLinks(FALSE), 0);
    EXPECT_EQ(pDocument->CountNodeLinks(TRUE), 1);
    EXPECT_TRUE(pDocument->IsUnderTopNode2());

    ASSERT_TRUE(Node(*m_pCatalog, m_tree.gamma)->AddDocument(pDocument.get()));
    EXPECT_EQ(pDocument->CountNodeLinks(FALSE), 1);
    EXPECT_EQ(pDocument->CountNodeLinks(TRUE), 2);
    ASSERT_TRUE(pFavourites->DeleteLinks(pDocument.get()));
    EXPECT_FALSE(pDocument->IsUnderTopNode2());
    EXPECT_EQ(pDocument->CountNodeLinks(FALSE), 1);
}

TEST_F(CDocumentRecTest, UnlinkingFromAllNodesRemovesTheDocument)
{
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    ASSERT_TRUE(pDocument->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    EXPECT_FALSE(m_pCatalog->CheckRecord(m_tree.aTxt.nBlock, m_tree.aTxt.nSlot, TABLE_DOCUMENT));
    EXPECT_FALSE(Find("c:\\work\\a.txt"));
    EXPECT_THAT(
        Paths(Node(*m_pCatalog, m_tree.alpha)->GetDocuments()), ElementsAre("c:\\work\\b.txt", "c:\\docs\\readme.md"));
    EXPECT_EQ(Node(*m_pCatalog, m_tree.beta)->CountDocuments(), 0);
    EXPECT_EQ(std::unique_ptr<CDirectoryRec>(m_pCatalog->FindDirectory("c:\\work"))->GetDocumentCount(), 1);
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CDocumentRecTest, UnlinkingAllButOneNodeKeepsThatLink)
{
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    ASSERT_TRUE(pDocument->ForEachLinkedNode(m_tree.beta.nBlock, m_tree.beta.nSlot, FALSE));
    EXPECT_THAT(Names(pDocument->GetLinkedNodes()), ElementsAre("beta"));
    EXPECT_TRUE(m_pCatalog->CheckRecord(m_tree.aTxt.nBlock, m_tree.aTxt.nSlot, TABLE_DOCUMENT));
}

TEST_F(CDocumentRecTest, KeepingTopLevelLinksKeepsTheFixedNodes)
{
    auto pDocument = Document(*m_pCatalog, m_tree.oldTxt);
    std::unique_ptr<CNodeRec> pTop3(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    ASSERT_TRUE(pTop3->AddDocument(pDocument.get()));
    ASSERT_TRUE(pDocument->ForEachLinkedNode(NO_BLOCK, NO_SLOT, TRUE));
    auto linked = pDocument->GetLinkedNodes();
    ASSERT_EQ(linked.size(), 1u);
    EXPECT_EQ(linked[0]->GetRef(), (CRecordRef { 3, 0 }));
}

/* Information. */

TEST_F(CDocumentRecTest, InfoRoundTripsWithTheLongestTextsAndPassword)
{
    auto pDocument = Document(*m_pCatalog, m_tree.bTxt);
    CDocumentInfo info;
    pDocument->GetInfo(&info);
    EXPECT_STREQ(info.szName, "b.txt");
    std::string strName = std::string(150, 'n') + ".txt";
    std::string strDescription;
    for (int n = 0; n < CDocumentRec::MAX_TEXT / 2; ++n)
        strDescription += "\xC3\xA9"; // two-byte characters filling the field
    std::string strSecondary(CDocumentRec::MAX_TEXT, 's');
    std::strcpy(info.szName, strName.c_str());
    std::strcpy(info.szDescription, strDescription.c_str());
    std::strcpy(info.szSecondary, strSecondary.c_str());
    std::strcpy(info.szPassword, "123456789012345");
    info.nVersion = 7;
    info.dwOpenAction = 2;
    info.ftCatalogTime = { 0x12345678, 0x01D00000 };
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    CRecordRef location = GetRefField(pDocument->GetData(), CDocumentRec::OFF_LOCATION);
    EXPECT_TRUE(m_pCatalog->CheckRecord(location.nBlock, location.nSlot, TABLE_LOCATION));

    auto pReread = Document(*m_pCatalog, m_tree.bTxt);
    CDocumentInfo back;
    pReread->GetInfo(&back);
    EXPECT_EQ(std::string(back.szName), strName);
    EXPECT_EQ(std::string(back.szDescription), strDescription);
    EXPECT_EQ(std::string(back.szSecondary), strSecondary);
    EXPECT_STREQ(back.szPassword, "123456789012345");
    EXPECT_EQ(back.nVersion, 7);
    EXPECT_EQ(back.dwOpenAction, 2u);
    EXPECT_EQ(back.ftCatalogTime.dwLowDateTime, 0x12345678u);
    EXPECT_EQ(back.ftCatalogTime.dwHighDateTime, 0x01D00000u);
    CString strText;
    pReread->GetNameWithLocation(strText);
    EXPECT_EQ(std::string(strText), strDescription);
    pReread->GetAltNameWithLocation(strText);
    EXPECT_EQ(std::string(strText), strSecondary);

    // A name that fits its field gives the location record back.
    std::strcpy(back.szName, "b.txt");
    ASSERT_TRUE(pReread->UpdateInfo(back));
    EXPECT_FALSE(m_pCatalog->CheckRecord(location.nBlock, location.nSlot, TABLE_LOCATION));
    EXPECT_TRUE(Find("c:\\work\\b.txt"));
}

TEST_F(CDocumentRecTest, OverlongTextsAreCutAtACharacterBoundary)
{
    auto pDocument = Document(*m_pCatalog, m_tree.bTxt);
    CDocumentInfo info;
    pDocument->GetInfo(&info);
    // "a" and three-byte characters: the 60th byte of a field falls inside one.
    std::string strText = "a";
    for (int n = 0; n < 86; ++n)
        strText += "\xE2\x82\xAC"; // "€", 259 bytes in all
    std::strcpy(info.szName, strText.c_str());
    std::strcpy(info.szDescription, strText.c_str());
    std::memset(info.szPassword, 'p', sizeof(info.szPassword)); // no NUL at all
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    CDocumentInfo back;
    Document(*m_pCatalog, m_tree.bTxt)->GetInfo(&back);
    EXPECT_EQ(std::string(back.szDescription), strText.substr(0, 58));
    EXPECT_EQ(std::string(back.szPassword), std::string(15, 'p'));
    // The name's start is cut short of its field and the rest takes all the others.
    EXPECT_EQ(std::string(back.szName), strText);
    EXPECT_TRUE(Find(("c:\\work\\" + strText).c_str()));
}

/* The record's layout. */

// The location records in use.
int CountLocationRecords(CCatalog& catalog)
{
    int nCount = 0;
    for (CRecordRef cursor { ROOT_BLOCK_LOCATION, NO_SLOT }; catalog.NextRecord(&cursor);)
        ++nCount;
    return nCount;
}

TEST_F(CDocumentRecTest, FieldsLieAtTheirFixedOffsetsInTheFile)
{
    CDocumentInfo info {};
    std::memcpy(info.id, "dc12.txt", 8);
    std::strcpy(info.szDescription, "the description");
    std::strcpy(info.szSecondary, "the secondary text");
    info.nExpiry = 1800000000;
    info.nVersion = 7;
    std::strcpy(info.szPassword, "secret");
    info.dwOpenAction = 3;
    std::unique_ptr<CDocumentRec> pFile(m_pCatalog->FindOrAddDocument("c:\\fixed\\", "file.txt", &info));
    info = {};
    info.wType = DOCUMENT_MAIL;
    info.id[12] = 'x';
    info.nVersion = 3;
    std::unique_ptr<CDocumentRec> pMail(m_pCatalog->FindOrAddDocument("*c:\\mail\\box.mbx*", "hello*0", &info));
    ASSERT_TRUE(pFile && pMail);
    CRecordRef file = pFile->GetRef();
    CRecordRef mail = pMail->GetRef();
    pFile.reset();
    pMail.reset();
    m_pCatalog.reset();

    // The file read as bytes: 84-byte header, 2048-byte blocks, a 28-byte
    // block header and 7 slot flags before the 260-byte records.
    std::vector<BYTE> bytes = FileBytes("archiv.cat");
    auto record = [&](CRecordRef ref) { return bytes.data() + 84 + ref.nBlock * 2048 + 28 + 7 + ref.nSlot * 260; };
    auto text = [](const BYTE* p) { return std::string(reinterpret_cast<const char*>(p)); };
    EXPECT_EQ(ReadLong(bytes.data() + 84 + file.nBlock * 2048 + 4), 260);
    const BYTE* p = record(file);
    EXPECT_EQ(p[0] | p[1] << 8, 0);
    EXPECT_EQ(text(p + 4), "dc12.txt");
    EXPECT_EQ(text(p + 81), "the description");
    EXPECT_EQ(text(p + 142), "the secondary text");
    EXPECT_EQ(ReadLong(p + 212), 1800000000);
    EXPECT_EQ(ReadLong(p + 220), 7);
    EXPECT_EQ(text(p + 224), "secret");
    EXPECT_EQ(ReadLong(p + 240), 3);
    p = record(mail);
    EXPECT_EQ(p[0] | p[1] << 8, 1);
    EXPECT_EQ(p[16], 'x');
    EXPECT_EQ(ReadLong(p + 220), 3);
    EXPECT_EQ(p[224], 0);

    // Bytes changed in place are what the document reads.
    std::memcpy(record(file) + 81, "edited\0", 7);
    record(file)[224] = 0;
    WriteFileBytes(bytes, "archiv.cat");
    m_pCatalog = OpenCatalog();
    auto pEdited = Document(*m_pCatalog, file);
    CString strDescription;
    pEdited->GetNameWithLocation(strDescription);
    EXPECT_EQ(strDescription, "edited");
    EXPECT_FALSE(pEdited->IsProtected());
}

TEST_F(CDocumentRecTest, DocumentsFillSevenToABlock)
{
    std::vector<CRecordRef> refs;
    for (int n = 0; n < 8; ++n) {
        CDocumentInfo info {};
        std::snprintf(info.szDescription, sizeof(info.szDescription), "Quarterly report number %05d", n);
        char szName[32];
        std::snprintf(szName, sizeof(szName), "report-%06d.txt", n);
        std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindOrAddDocument("c:\\reports\\", szName, &info));
        ASSERT_TRUE(pDocument);
        refs.push_back(pDocument->GetRef());
    }
    for (int n = 1; n < 7; ++n)
        EXPECT_EQ(refs[static_cast<std::size_t>(n)].nBlock, refs[0].nBlock);
    EXPECT_NE(refs[7].nBlock, refs[0].nBlock);
    EXPECT_EQ(CountLocationRecords(*m_pCatalog), 0);
}

TEST_F(CDocumentRecTest, ALongNameKeepsOneLocationRecordWhileItLasts)
{
    auto pDocument = Document(*m_pCatalog, m_tree.bTxt);
    CDocumentInfo info;
    pDocument->GetInfo(&info);
    std::string strName;
    while (strName.size() + 2 <= CDocumentRec::MAX_NAME)
        strName += "ab";
    strName += "x";
    std::strcpy(info.szName, strName.c_str());
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    EXPECT_EQ(CountLocationRecords(*m_pCatalog), 1);
    CRecordRef location = GetRefField(pDocument->GetData(), CDocumentRec::OFF_LOCATION);
    EXPECT_TRUE(Find(("c:\\work\\" + strName).c_str()));

    // The same name keeps its location record; another takes a new one.
    std::strcpy(info.szDescription, "changed");
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    EXPECT_EQ(GetRefField(pDocument->GetData(), CDocumentRec::OFF_LOCATION), location);
    info.szName[100] = 'y';
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    EXPECT_EQ(CountLocationRecords(*m_pCatalog), 1);
    EXPECT_FALSE(Find(("c:\\work\\" + strName).c_str()));
    EXPECT_TRUE(Find((std::string("c:\\work\\") + info.szName).c_str()));
    // The document's removal frees its location record with it.
    ASSERT_TRUE(pDocument->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    EXPECT_EQ(CountLocationRecords(*m_pCatalog), 0);
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CDocumentRecTest, IdentificationKeepsItsZerosAndTheMessageState)
{
    // Store identifier 0, message offset 0x100, length 0, state "x": zeros
    // first, between and after.
    CDocumentInfo info {};
    info.wType = DOCUMENT_MAIL;
    WriteLong(info.id + 4, 0x100);
    info.id[12] = 'x';
    std::unique_ptr<CDocumentRec> pMail(m_pCatalog->FindOrAddDocument("*c:\\mail\\box.mbx*", "hello*0", &info));
    ASSERT_TRUE(pMail);
    CDocumentInfo back;
    Document(*m_pCatalog, pMail->GetRef())->GetInfo(&back);
    EXPECT_EQ(std::memcmp(back.id, info.id, sizeof(info.id)), 0);

    // A file's copy name is a text of the identification.
    auto pFile = Document(*m_pCatalog, m_tree.aTxt);
    pFile->GetInfo(&info);
    std::memcpy(info.id, "dc12.txt", 8);
    ASSERT_TRUE(pFile->UpdateInfo(info));
    Document(*m_pCatalog, m_tree.aTxt)->GetInfo(&back);
    EXPECT_STREQ(reinterpret_cast<const char*>(back.id), "dc12.txt");
}

TEST_F(CDocumentRecTest, ProtectionFollowsThePassword)
{
    auto pDocument = Document(*m_pCatalog, m_tree.aTxt);
    EXPECT_FALSE(pDocument->IsProtected());
    CDocumentInfo info;
    pDocument->GetInfo(&info);
    std::strcpy(info.szPassword, "secret");
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    EXPECT_TRUE(pDocument->IsProtected());
    EXPECT_TRUE(Document(*m_pCatalog, m_tree.aTxt)->IsProtected());
    info.szPassword[0] = '\0';
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    EXPECT_FALSE(Document(*m_pCatalog, m_tree.aTxt)->IsProtected());
}

TEST_F(CDocumentRecTest, ExpiryDateListsTheDocumentUnderTheExpiringNode)
{
    auto pDocument = Document(*m_pCatalog, m_tree.bTxt);
    CNodeRec expiring(m_pCatalog.get(), 1);
    CDocumentInfo info;
    pDocument->GetInfo(&info);
    info.nExpiry = 1800000000;
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    EXPECT_EQ(expiring.CountDocuments(), 1);
    EXPECT_EQ(pDocument->CountNodeLinks(FALSE), 1);
    ASSERT_TRUE(pDocument->UpdateInfo(info)); // listed once
    EXPECT_EQ(expiring.CountDocuments(), 1);
    info.nExpiry = 0;
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    EXPECT_EQ(expiring.CountDocuments(), 0);
    EXPECT_THAT(Names(pDocument->GetLinkedNodes()), ElementsAre("Alpha"));
}

/* Types and mail. */

TEST_F(CDocumentRecTest, TypeNamesOfFilesAndMailStores)
{
    CString strType;
    Document(*m_pCatalog, m_tree.aTxt)->GetTypeName(strType);
    EXPECT_EQ(strType, "File");
    const std::pair<LONG, const char*> kinds[]
        = { { 0, "Netscape Mail" }, { 2, "Outlook Express 4 Mail" }, { 3, "Outlook Express 5 Mail" }, { 9, "Mail" } };
    for (auto [nKind, pszName] : kinds) {
        auto pMail = AddMail(("subject " + std::to_string(nKind) + "*1").c_str(), nKind);
        pMail->GetTypeName(strType);
        EXPECT_EQ(strType, pszName);
    }
}

TEST_F(CDocumentRecTest, MailTitlesAndStoreDirectories)
{
    auto pMail = AddMail("Hello*1", 2);
    CString strText;
    pMail->GetFullPath(strText);
    EXPECT_EQ(strText, "Hello");
    pMail->GetFullPath(strText, TRUE);
    EXPECT_EQ(strText, "Hello*1");
    EXPECT_EQ(pMail->GetDirectoryPath(FALSE), "c:\\mail\\inbox.mbx#");
    EXPECT_EQ(pMail->GetDirectoryPath(FALSE, TRUE), "*c:\\mail\\inbox.mbx#");
    EXPECT_EQ(pMail->GetDirectoryString(), "c:\\mail\\inbox.mbx");
    std::unique_ptr<CDocumentRec> pFound(m_pCatalog->FindPath("*c:\\mail\\inbox.mbx#", "hello*1"));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pMail->GetRef());
}

TEST_F(CDocumentRecTest, CloneIsTheSameRecord)
{
    auto pDocument = Document(*m_pCatalog, m_tree.readme);
    std::unique_ptr<CDocumentRec> pClone(pDocument->Clone());
    ASSERT_TRUE(pClone);
    EXPECT_EQ(pClone->GetRef(), m_tree.readme);
    EXPECT_EQ(FullPath(*pClone), "c:\\docs\\readme.md");
}
