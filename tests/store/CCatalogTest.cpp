#include "store/CCatalog.h"

#include "platform/base/Clock.h"
#include "platform/base/TextFunctions.h"
#include "store/CDirectoryRec.h"
#include "store/CMailStoreRec.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

using ::testing::ElementsAre;

/* A fresh catalog. */

TEST_F(CatalogTest, FreshCatalogIsNotSetUpAndHasFixedNodesOfKindsOneToFour)
{
    auto pCatalog = NewMainCatalog();
    ASSERT_TRUE(pCatalog->IsOpen());
    EXPECT_EQ(pCatalog->GetOpenCount(), 1);
    EXPECT_EQ(pCatalog->GetKind(), CATALOG_KIND_MAIN);
    EXPECT_EQ(pCatalog->GetLastBlock(), ROOT_BLOCK_LOCATION);

    auto pRoot = Root(*pCatalog);
    ASSERT_TRUE(pRoot);
    EXPECT_EQ(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP, CNodeRec::ROOT_NOT_SET_UP);
    for (LONG nKind = 1; nKind <= 4; ++nKind) {
        CNodeRec node(pCatalog.get(), nKind);
        ASSERT_TRUE(node.IsValid()) << nKind;
        EXPECT_EQ(node.GetRef(), (CRecordRef { nKind, 0 }));
        EXPECT_EQ(node.GetKind(), nKind);
        EXPECT_EQ(node.CountChildren(), 0);
        EXPECT_EQ(node.CountDocuments(), 0);
    }
    EXPECT_FALSE(pCatalog->CheckRecord(1, 1, TABLE_NODE));
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CatalogTest, EveryRootBlockStartsAnEmptyChainOfItsTable)
{
    auto pCatalog = NewMainCatalog();
    const std::pair<CATBLOCK, LONG> roots[]
        = { { ROOT_BLOCK_LIB_FOLDER, TABLE_LIB_FOLDER }, { ROOT_BLOCK_CLEANUP_FOLDER, TABLE_CLEANUP_FOLDER },
              { ROOT_BLOCK_KEYWORD, TABLE_KEYWORD }, { ROOT_BLOCK_NODE_FOLDER, TABLE_NODE_FOLDER },
              { ROOT_BLOCK_DIRECTORY, TABLE_DIRECTORY }, { ROOT_BLOCK_LOCATION, TABLE_LOCATION } };
    for (auto [nBlock, nTable] : roots) {
        CCatalogBlock* pBlock = pCatalog->GetBlock(nBlock);
        ASSERT_TRUE(pBlock) << nBlock;
        EXPECT_EQ(pBlock->GetTableType(), nTable);
        EXPECT_EQ(pBlock->GetRecordSize(), CCatalog::RecordSizes()[static_cast<std::size_t>(nTable)]);
        CRecordRef cursor { nBlock, NO_SLOT };
        EXPECT_FALSE(pCatalog->NextRecord(&cursor)) << nBlock;
    }
    // The recently-catalogued list is there, empty.
    CRecordRef cursor { ROOT_BLOCK_RECENT, NO_SLOT };
    EXPECT_TRUE(pCatalog->NextRecord(&cursor));
    EXPECT_FALSE(pCatalog->NextRecord(&cursor));
}

TEST_F(CatalogTest, SetUpStateWrittenThroughUpdateInfoPersists)
{
    {
        auto pCatalog = NewMainCatalog();
        auto pRoot = Root(*pCatalog);
        CNodeInfo info;
        pRoot->GetInfo(&info);
        info.nFlags = 2;
        ASSERT_TRUE(pRoot->UpdateInfo(info));
    }
    auto pCatalog = OpenCatalog();
    auto pRoot = Root(*pCatalog);
    ASSERT_TRUE(pRoot);
    EXPECT_EQ(pRoot->GetFlags(), 2);
}

TEST_F(CatalogTest, RecycleCatalogHasTheSameTablesAndTopNodes)
{
    auto pCatalog = NewMainCatalog("winrec.cat", TRUE);
    EXPECT_EQ(pCatalog->GetKind(), CATALOG_KIND_RECYCLE);
    for (CATBLOCK nBlock : { 0, 3, 4 })
        EXPECT_TRUE(pCatalog->CheckRecord(nBlock, 0, TABLE_NODE)) << nBlock;
    EXPECT_TRUE(pCatalog->GetBlock(ROOT_BLOCK_DIRECTORY));
}

TEST_F(CatalogTest, OpenOrCreateMakesAMissingFileAndLeavesOneReference)
{
    auto pCatalog = OpenCatalog("new.cat");
    ASSERT_TRUE(pCatalog->IsOpen());
    EXPECT_EQ(pCatalog->GetOpenCount(), 1);
    EXPECT_TRUE(pCatalog->CheckRecord(0, 0, TABLE_NODE));
    EXPECT_TRUE(std::filesystem::exists(HostPath("new.cat")));
}

TEST_F(CatalogTest, OpenOrCreateLeavesAnUnreadableFileAlone)
{
    WriteFileBytes({ 1, 2, 3 }, "bad.cat");
    auto pCatalog = OpenCatalog("bad.cat");
    EXPECT_FALSE(pCatalog->IsOpen());
    EXPECT_EQ(FileBytes("bad.cat").size(), 3u);
    ASSERT_EQ(m_errors.Count(), 1u);
    EXPECT_EQ(m_errors.Reports()[0].strFileName, "bad.cat");
}

TEST_F(CatalogTest, OpenOrCreateReportsALinkThatLeadsNowhereAndMakesNoFile)
{
    namespace fs = std::filesystem;
    fs::create_directory(HostPath("moved"));
    fs::create_symlink(HostPath("moved") / "archiv.cat", HostPath("dangling.cat"));
    fs::create_symlink(HostPath("gone") / "archiv.cat", HostPath("nowhere.cat"));
    fs::create_symlink(HostPath("loop-b.cat"), HostPath("loop-a.cat"));
    fs::create_symlink(HostPath("loop-a.cat"), HostPath("loop-b.cat"));
    for (const char* pszName : { "dangling.cat", "nowhere.cat", "loop-a.cat" }) {
        CatalogErrorRecorder errors;
        EXPECT_FALSE(OpenCatalog(pszName)->IsOpen()) << pszName;
        ASSERT_EQ(errors.Count(), 1u) << pszName;
        EXPECT_EQ(errors.Reports()[0].strFileName, pszName);
    }
    EXPECT_TRUE(fs::is_empty(HostPath("moved"))) << "a new catalog hides the missing one";
}

TEST_F(CatalogTest, CreateFileRefusesAnotherBlockSize)
{
    EXPECT_FALSE(CCatalog::CreateFile(FALSE, ProgramPath("x.cat").c_str(), 4096));
    EXPECT_FALSE(std::filesystem::exists(HostPath("x.cat")));
}

/* Persistence. */

TEST_F(CatalogTest, ReopenedCatalogWalksTheSameTreeAndDocuments)
{
    SampleTree tree;
    std::vector<std::string> alphaDocs, archiveDocs;
    {
        auto pCatalog = NewMainCatalog();
        tree = BuildSample(*pCatalog);
        alphaDocs = Paths(Node(*pCatalog, tree.alpha)->GetDocuments());
        archiveDocs = Paths(Node(*pCatalog, tree.archive)->GetDocuments());
    }
    auto pCatalog = OpenCatalog();
    ASSERT_TRUE(pCatalog->IsOpen());
    EXPECT_THAT(Names(Root(*pCatalog)->GetChildren()), ElementsAre("Projects", "Archive"));
    EXPECT_THAT(Names(Node(*pCatalog, tree.projects)->GetChildren()), ElementsAre("Alpha", "beta", "Gamma"));
    EXPECT_EQ(Paths(Node(*pCatalog, tree.alpha)->GetDocuments()), alphaDocs);
    EXPECT_EQ(Paths(Node(*pCatalog, tree.archive)->GetDocuments()), archiveDocs);
    // The directory map is rebuilt from the file.
    std::unique_ptr<CDocumentRec> pFound(pCatalog->FindPath("c:\\old\\old.txt"));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), tree.oldTxt);
    EXPECT_EQ(Node(*pCatalog, tree.projects)->GetInfoString(), "current work");
    EXPECT_EQ(m_errors.Count(), 0u);
}

/* Set-up state kept by the catalog. */

TEST_F(CatalogTest, PlaceChoicePersistsAndRefusesOtherValues)
{
    auto pCatalog = NewMainCatalog();
    EXPECT_EQ(pCatalog->GetPlaceChoice(), CCatalog::PLACE_NONE);
    EXPECT_FALSE(pCatalog->SetPlaceChoice(4));
    EXPECT_FALSE(pCatalog->SetPlaceChoice(-1));
    ASSERT_TRUE(pCatalog->SetPlaceChoice(CCatalog::PLACE_BOTH));
    // The root's information text is not touched by the choice, nor the choice by the text.
    auto pRoot = Root(*pCatalog);
    CNodeInfo info;
    pRoot->GetInfo(&info);
    strcpy(info.szInfo, "the whole catalog");
    ASSERT_TRUE(pRoot->UpdateInfo(info));
    pCatalog.reset();

    pCatalog = OpenCatalog();
    EXPECT_EQ(pCatalog->GetPlaceChoice(), CCatalog::PLACE_BOTH);
    EXPECT_EQ(std::string(Root(*pCatalog)->GetInfoString()), "the whole catalog");
    ASSERT_TRUE(pCatalog->SetPlaceChoice(CCatalog::PLACE_NETWORK));
    EXPECT_EQ(std::string(Root(*pCatalog)->GetInfoString()), "the whole catalog");
}

TEST_F(CatalogTest, NetworkLocationsAreTheLocationsOfKindOneWithTheirCounts)
{
    auto pCatalog = NewMainCatalog();
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(pCatalog->AddMailStore(LOCATION_LOCAL_DISK, "Local Disk")));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(pCatalog->AddMailStore(LOCATION_NETWORK, "\\\\Server\\Docs")));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(pCatalog->AddMailStore(LOCATION_NETWORK, "\\\\alpha")));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(pCatalog->AddMailStore(LOCATION_NETSCAPE, "c:\\mail\\inbox")));
    ASSERT_TRUE(pCatalog->SetLocationValue("\\\\server\\docs", 120));

    CStringArray paths;
    CDWordArray counts;
    pCatalog->GetNetworkLocations(paths, &counts);
    ASSERT_EQ(paths.GetSize(), 2);
    EXPECT_EQ(std::string(paths[0]), "\\\\alpha");
    EXPECT_EQ(std::string(paths[1]), "\\\\server\\docs");
    EXPECT_EQ(counts[0], 0u);
    EXPECT_EQ(counts[1], 120u);
}

TEST_F(CatalogTest, ClearedRecordCacheIsBuiltAgainOnUse)
{
    auto pCatalog = NewMainCatalog();
    ASSERT_TRUE(std::unique_ptr<CDocumentRec>(pCatalog->FindOrAddPath(nullptr, "c:\\work\\a.txt")));
    ASSERT_TRUE(pCatalog->LoadExtensions("txt"));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(pCatalog->AddMailStore(LOCATION_LOCAL_DISK, "Local Disk")));

    pCatalog->ClearRecordCache();
    EXPECT_TRUE(std::unique_ptr<CDocumentRec>(pCatalog->FindPath("c:\\work\\a.txt")));
    EXPECT_TRUE(pCatalog->LookupExtension("b.TXT"));
    EXPECT_EQ(pCatalog->GetLocationKind("local disk"), LOCATION_LOCAL_DISK);
}

TEST_F(CatalogTest, ClearingTheRecordCacheKeepsTheFolderWatchIndexes)
{
    auto pCatalog = NewMainCatalog();
    const char* pszStore = "c:\\mail\\inbox";
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(pCatalog->AddMailStore(LOCATION_NETSCAPE, pszStore)));
    ASSERT_TRUE(pCatalog->SetLocationEntry(pszStore, 3));
    ASSERT_TRUE(pCatalog->SetLocationValue(pszStore, 120));

    pCatalog->ClearRecordCache();
    EXPECT_EQ(pCatalog->GetLocationWatchIndex(pszStore), 3);
    EXPECT_EQ(pCatalog->GetLocationValue(pszStore), 120);
    // A store removed from the file takes its watch with it.
    ASSERT_TRUE(pCatalog->ClearLocations());
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(pCatalog->AddMailStore(LOCATION_NETSCAPE, pszStore)));
    pCatalog->ClearRecordCache();
    EXPECT_EQ(pCatalog->GetLocationWatchIndex(pszStore), -1);
}

TEST_F(CatalogTest, MailTitlesKeepTheirCaseAndAreFoundInAnyCaseWithOrWithoutTheNameIndex)
{
    auto pCatalog = NewMainCatalog();
    std::unique_ptr<CNodeRec> pNode(CNodeRec::NewTopNodeRec3(pCatalog.get()));
    // Long titles have their rest in a location record.
    const std::string strLong(CDocumentRec::TEXT_SIZE + 10, 'X');
    // A store walked for its names, and one past the count from which they are indexed.
    for (const int nCount : { 6, static_cast<int>(CCatalog::NAME_INDEX_THRESHOLD) + 2 }) {
        const std::string strStore = "c:\\mail\\Box" + std::to_string(nCount);
        for (int i = 0; i < nCount; ++i) {
            CDocumentInfo message {};
            message.wType = DOCUMENT_MAIL;
            const std::string strTitle = (i % 2 ? "Über " : strLong + " ") + std::to_string(i);
            std::strcpy(message.szName, strTitle.c_str());
            message.id[4] = static_cast<BYTE>(i + 1);
            ASSERT_TRUE(std::unique_ptr<CDocumentRec>(pCatalog->AddAndLink(pNode.get(), message, strStore.c_str())));
        }
        const std::string strFolder = "*" + Utf8ToLower(strStore) + "*";
        for (const std::string& strName :
            { std::string("über 1*0"), std::string("ÜBER 3*0"), Utf8ToLower(strLong) + " 2*0", strLong + " 4*0" }) {
            std::unique_ptr<CDocumentRec> pFound(pCatalog->FindPath(strFolder.c_str(), strName.c_str()));
            ASSERT_NE(pFound, nullptr) << strName << " of " << nCount;
            CString strStored;
            pFound->GetFullPath(strStored, TRUE);
            EXPECT_EQ(Utf8ToLower(std::string(strStored)), Utf8ToLower(strName));
            EXPECT_NE(std::string(strStored), Utf8ToLower(strName)) << "kept as written";
        }
    }
}

/* Documents added by the cataloguing code. */

TEST_F(CatalogTest, MakeUniqueNameNumbersTakenNames)
{
    auto pCatalog = NewMainCatalog();
    ASSERT_TRUE(std::unique_ptr<CDocumentRec>(pCatalog->FindOrAddPath(nullptr, "c:\\bin\\report.doc")));
    ASSERT_TRUE(std::unique_ptr<CDocumentRec>(pCatalog->FindOrAddPath(nullptr, "c:\\bin\\report (2).doc")));
    ASSERT_TRUE(std::unique_ptr<CDocumentRec>(pCatalog->FindOrAddPath(nullptr, "c:\\bin\\notes")));

    EXPECT_EQ(std::string(pCatalog->MakeUniqueName("c:\\bin\\", "free.doc")), "free.doc");
    EXPECT_EQ(std::string(pCatalog->MakeUniqueName("c:\\bin\\", "Report.DOC")), "report (3).doc");
    EXPECT_EQ(std::string(pCatalog->MakeUniqueName("c:\\bin\\", "notes")), "notes (2)");
    EXPECT_EQ(std::string(pCatalog->MakeUniqueName("c:\\elsewhere\\", "report.doc")), "report.doc");
    EXPECT_TRUE(pCatalog->MakeUniqueName("c:\\bin\\", "").IsEmpty());
    EXPECT_TRUE(pCatalog->MakeUniqueName("c:\\bin\\", "a\\b").IsEmpty());
}

TEST_F(CatalogTest, AddAndLinkKeepsMessagesOfEqualTitlesApart)
{
    auto pCatalog = NewMainCatalog();
    auto pRoot = Root(*pCatalog);
    auto pNode = AddNode(*pRoot, "Mail");
    CDocumentInfo first {};
    strcpy(first.szName, "Meeting");
    first.nVersion = 2;
    first.id[4] = 1; // message offset
    CDocumentInfo second = first;
    second.id[4] = 2;

    std::unique_ptr<CDocumentRec> pFirst(pCatalog->AddAndLink(pNode.get(), first, "c:\\mail\\Inbox"));
    std::unique_ptr<CDocumentRec> pSecond(pCatalog->AddAndLink(pNode.get(), second, "c:\\mail\\Inbox"));
    std::unique_ptr<CDocumentRec> pAgain(pCatalog->AddAndLink(pNode.get(), first, "c:\\mail\\Inbox"));
    ASSERT_TRUE(pFirst && pSecond && pAgain);
    EXPECT_NE(pFirst->GetRef(), pSecond->GetRef());
    EXPECT_EQ(pAgain->GetRef(), pFirst->GetRef());
    EXPECT_TRUE(pFirst->IsMail());
    EXPECT_EQ(pNode->CountDocuments(), 2);

    CString strTitle;
    pSecond->GetFullPath(strTitle);
    EXPECT_EQ(std::string(strTitle), "Meeting");
    EXPECT_EQ(std::string(pSecond->GetDirectoryString()), "c:\\mail\\inbox");
    CString strType;
    pSecond->GetTypeName(strType);
    EXPECT_EQ(std::string(strType), "Outlook Express 4 Mail");

    EXPECT_FALSE(pCatalog->AddAndLink(nullptr, first, "c:\\mail\\inbox"));
    EXPECT_FALSE(pCatalog->AddAndLink(pNode.get(), first, ""));
}

TEST_F(CatalogTest, AddAndLinkFindsAMessageBehindAFreedMarker)
{
    auto pCatalog = NewMainCatalog();
    auto pRoot = Root(*pCatalog);
    auto pNode = AddNode(*pRoot, "Mail");
    CDocumentInfo messages[3] {};
    for (int i = 0; i < 3; ++i) {
        strcpy(messages[i].szName, "Meeting");
        messages[i].nVersion = 2;
        messages[i].id[4] = static_cast<BYTE>(i + 1); // message offset
    }
    std::unique_ptr<CDocumentRec> pFirst(pCatalog->AddAndLink(pNode.get(), messages[0], "c:\\mail\\Inbox"));
    std::unique_ptr<CDocumentRec> pSecond(pCatalog->AddAndLink(pNode.get(), messages[1], "c:\\mail\\Inbox"));
    ASSERT_TRUE(pFirst && pSecond);
    // Removing the first message frees the first marker; the second message
    // keeps its own and must still be found, not catalogued twice.
    ASSERT_TRUE(pFirst->ForEachLinkedNode(-1, -1, FALSE));
    std::unique_ptr<CDocumentRec> pAgain(pCatalog->AddAndLink(pNode.get(), messages[1], "c:\\mail\\Inbox"));
    ASSERT_TRUE(pAgain);
    EXPECT_EQ(pAgain->GetRef(), pSecond->GetRef());
    EXPECT_EQ(pNode->CountDocuments(), 1);

    // A new message takes the freed marker.
    std::unique_ptr<CDocumentRec> pThird(pCatalog->AddAndLink(pNode.get(), messages[2], "c:\\mail\\Inbox"));
    ASSERT_TRUE(pThird);
    EXPECT_NE(pThird->GetRef(), pSecond->GetRef());
    EXPECT_EQ(pNode->CountDocuments(), 2);
}

TEST_F(CatalogTest, ResolvePathTellsCataloguedMessagesByTheirIdentification)
{
    auto pCatalog = NewMainCatalog();
    auto pNode = AddNode(*Root(*pCatalog), "Mail");
    CDocumentInfo first {};
    strcpy(first.szName, "Meeting");
    first.nVersion = 2;
    first.id[4] = 1;
    CDocumentInfo second = first;
    second.id[4] = 2;
    CDocumentInfo third = first;
    third.id[4] = 3;
    std::unique_ptr<CDocumentRec> pFirst(pCatalog->AddAndLink(pNode.get(), first, "c:\\mail\\Inbox"));
    std::unique_ptr<CDocumentRec> pSecond(pCatalog->AddAndLink(pNode.get(), second, "c:\\mail\\Inbox"));
    ASSERT_TRUE(pFirst && pSecond);

    // The monitor's form: the display name followed by "*", split at its last backslash.
    std::unique_ptr<CDocumentRec> pFound(pCatalog->ResolvePath("C:\\Mail\\Inbox\\", "Meeting*", &second));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pSecond->GetRef());
    pFound.reset(pCatalog->ResolvePath("c:\\mail\\inbox", "meeting", &first));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pFirst->GetRef());
    // A message of the same title not catalogued yet, another store, another title.
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pCatalog->ResolvePath("c:\\mail\\inbox\\", "Meeting*", &third)));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pCatalog->ResolvePath("c:\\mail\\sent\\", "Meeting*", &first)));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pCatalog->ResolvePath("c:\\mail\\inbox\\", "Meet*", &first)));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pCatalog->ResolvePath("", "Meeting*", &first)));
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pCatalog->ResolvePath("c:\\mail\\inbox\\", "*", &first)));
    // The message is not taken for a file, nor a file for a message.
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pCatalog->ResolvePath("c:\\mail\\inbox\\", "meeting*0")));
    auto pFile = AddDocument(*pCatalog, pNode.get(), "c:\\mail\\inbox\\meeting*0");
    ASSERT_TRUE(pFile);
    EXPECT_EQ(std::unique_ptr<CDocumentRec>(pCatalog->ResolvePath("c:\\mail\\inbox\\", "meeting*0"))->GetRef(),
        pFile->GetRef());
    EXPECT_EQ(std::unique_ptr<CDocumentRec>(pCatalog->ResolvePath("c:\\mail\\inbox\\", "Meeting*", &first))->GetRef(),
        pFirst->GetRef());
}

TEST_F(CatalogTest, FindDocumentByPathTellsWhetherAPathIsCatalogued)
{
    auto pCatalog = NewMainCatalog();
    AddDocument(*pCatalog, nullptr, "c:\\work\\Report.odt");
    EXPECT_TRUE(FindDocumentByPath(pCatalog.get(), "C:\\Work\\report.ODT"));
    EXPECT_FALSE(FindDocumentByPath(pCatalog.get(), "c:\\work\\report.odt.bak"));
    EXPECT_FALSE(FindDocumentByPath(pCatalog.get(), "c:\\work\\"));
    EXPECT_FALSE(FindDocumentByPath(pCatalog.get(), nullptr));
    EXPECT_FALSE(FindDocumentByPath(nullptr, "c:\\work\\report.odt"));
}

TEST_F(CatalogTest, StampCatalogTimeWritesTheClockIntoTheHeader)
{
    // Just below a carry from the low half into the high half.
    constexpr ULONGLONG NOW = 0x01DC'0000'FFFF'FFFFULL;
    CManualClock clock(NOW);
    CClockOverride clockOverride(clock);
    auto pCatalog = NewMainCatalog();
    auto stampOf = [](const CCatalog& catalog) {
        FILETIME ft = catalog.GetTimeStamp();
        return static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
    };
    ASSERT_TRUE(pCatalog->StampCatalogTime(FALSE));
    EXPECT_EQ(stampOf(*pCatalog), NOW);
    ASSERT_TRUE(pCatalog->StampCatalogTime(TRUE));
    EXPECT_EQ(stampOf(*pCatalog), NOW + 2) << "the advance carries into the high half";

    pCatalog.reset();
    auto pReopened = OpenCatalog();
    ASSERT_TRUE(pReopened->IsOpen());
    EXPECT_EQ(stampOf(*pReopened), NOW + 2);
}
