#include "catalog/CCatalogSearch.h"

#include "catalog/CCatalogUpdate.h"
#include "catalog/CTextSearch.h"
#include "catalog/ContentScan.h"
#include "store/CDocumentRec.h"
#include "store/CFolderIndex.h"
#include "store/CPreferences.h"
#include "tests/catalog/CatalogDriveFixture.h"
#include "tests/catalog/ScriptedProgress.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Files of t:\docs catalogued under the systems root, one of them also in a
// group, and the program's find criteria set per test.
class CCatalogSearchTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        WriteOnT("docs/pets.txt", "the cat. sat");
        WriteOnT("docs/code.txt", "concat cats");
        WriteOnT("docs/colours.txt", "red " + std::string(3 * CONTENT_WINDOW, 'x') + " blue");
        WriteOnT("docs/empty.txt", "");
        WriteOnT("docs/notes.md", "Cat and CAT");
        std::unique_ptr<CNodeRec> pGroup = Group("Animals", SEARCH_FILE_NAME);
        AssignFolder(*pGroup, "t:\\docs");
        thePreferences.m_fastUpdateDir.RemoveAll();
        thePreferences.m_fastUpdateDir.Add("t:\\docs");
        CCatalogUpdate update(m_pCatalog.get(), nullptr, CCatalogUpdate::OPTION_FAST_FOLDERS, nullptr);
        ASSERT_TRUE(update.Update(CCatalogUpdate::MODE_UPDATE));
        // Also directly under the systems root: one document, two nodes.
        std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
        ASSERT_TRUE(pSystems->AddDocument(Document("pets.txt").get()));
    }
    void TearDown() override
    {
        GetGlobalSearchCriteria() = {};
        thePreferences.m_fastUpdateDir.RemoveAll();
        CatalogDriveTest::TearDown();
    }
    std::unique_ptr<CDocumentRec> Document(const std::string& strName)
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath(OnT("docs/" + strName).c_str()));
    }
    static void Criteria(std::vector<CString> words, int nField, int nMode, BOOL bCase = FALSE, BOOL bWhole = FALSE)
    {
        GetGlobalSearchCriteria() = { std::move(words), nField, nMode, bCase, bWhole };
    }
    int Match(const std::string& strName) { return CTextSearch::CopyGlobalCriteria(*Document(strName)); }
    // The names the search wrote into its index.
    std::multiset<std::string> RunSearch(BOOL* pbDone = nullptr)
    {
        CCatalogSearch search(m_pCatalog.get());
        const std::string strIndex = ProgramPath("winsch.cat");
        const BOOL bDone = search.Run(strIndex.c_str());
        if (pbDone != nullptr)
            *pbDone = bDone;
        std::multiset<std::string> names;
        CFolderIndex index(strIndex.c_str(), 0);
        for (CRecordRef folder = index.FirstFolder(); !folder.IsNone(); folder = index.NextFolder(folder)) {
            for (CRecordRef entry = index.FirstEntry(folder); !entry.IsNone(); entry = index.NextEntry(entry))
                names.insert(std::string(index.BuildFolderPath(folder, entry)));
        }
        return names;
    }
};

TEST_F(CCatalogSearchTest, TheContentIsSearchedWithTheWholeWordRule)
{
    Criteria({ "cat" }, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ALL_WORDS, FALSE, TRUE);
    EXPECT_EQ(Match("pets.txt"), 1);
    EXPECT_EQ(Match("code.txt"), 0);
    EXPECT_EQ(Match("notes.md"), 1);
    Criteria({ "cat" }, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ALL_WORDS, TRUE, TRUE);
    EXPECT_EQ(Match("notes.md"), 0);
    Criteria({ "cat" }, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ALL_WORDS);
    EXPECT_EQ(Match("code.txt"), 1);
}

TEST_F(CCatalogSearchTest, ContentModesKeepWordsFoundAcrossWindows)
{
    Criteria({ "red", "blue" }, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ALL_WORDS);
    EXPECT_EQ(Match("colours.txt"), 1);
    // Mode 2: every word in the content, any word in the texts.
    Criteria({ "red", "green" }, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ANY_IN_TEXTS);
    EXPECT_EQ(Match("colours.txt"), 0);
    Criteria({ "colours", "green" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ANY_IN_TEXTS);
    EXPECT_EQ(Match("colours.txt"), 1);
    Criteria({ "red", "green" }, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ANY_WORD);
    EXPECT_EQ(Match("colours.txt"), 1);
}

TEST_F(CCatalogSearchTest, NoWordsMatchEveryReadableContentOnly)
{
    Criteria({}, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ALL_WORDS);
    EXPECT_EQ(Match("empty.txt"), 1);
    EXPECT_EQ(Match("pets.txt"), 1);
    std::filesystem::remove(HostOnT("docs/pets.txt"));
    EXPECT_EQ(Match("pets.txt"), 0);
    Criteria({}, CTextSearch::FIELD_NAME, CTextSearch::MODE_ALL_WORDS);
    EXPECT_EQ(Match("empty.txt"), 0);
}

TEST_F(CCatalogSearchTest, TheIndexHoldsEachMatchingDocumentOnce)
{
    Criteria({ "cat" }, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ALL_WORDS, FALSE, TRUE);
    BOOL bDone = FALSE;
    EXPECT_EQ(RunSearch(&bDone), (std::multiset<std::string> { "t:\\docs\\notes.md", "t:\\docs\\pets.txt" }));
    EXPECT_TRUE(bDone);
    Criteria({ "nothing-like-it" }, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ALL_WORDS);
    EXPECT_TRUE(RunSearch().empty());
}

TEST_F(CCatalogSearchTest, ANameSearchTestsEachLinkedDocumentOnce)
{
    Criteria({ "t" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ALL_WORDS);
    EXPECT_EQ(RunSearch(),
        (std::multiset<std::string> { "t:\\docs\\code.txt", "t:\\docs\\colours.txt", "t:\\docs\\empty.txt",
            "t:\\docs\\notes.md", "t:\\docs\\pets.txt" }));
    Criteria({ "pets" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ALL_WORDS);
    EXPECT_EQ(RunSearch(), (std::multiset<std::string> { "t:\\docs\\pets.txt" })) << "linked under two nodes";
}

// A search by name reads the names in the document records' bytes; it must
// find what testing each loaded document finds, at the records' edges too:
// a mail title, whose two marker characters the name leaves out; a name
// longer than its record's field; a removed document.
TEST_F(CCatalogSearchTest, ANameSearchFindsWhatTheLoadedDocumentsMatch)
{
    std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    CDocumentInfo info {};
    info.wType = DOCUMENT_MAIL;
    // With its markers "t!" the first title would end in "cat".
    for (const char* pszTitle : { "dog cat!", "a cat of mine~~" }) {
        std::unique_ptr<CDocumentRec> pMail(m_pCatalog->FindOrAddDocument("*t:\\mail\\inbox.mbxM", pszTitle, &info));
        ASSERT_TRUE(pMail && pSystems->AddDocument(pMail.get()));
    }
    const std::string strLong = "docs/" + std::string(80, 'n') + "cat.txt";
    WriteOnT(strLong, "");
    std::unique_ptr<CDocumentRec> pLong(m_pCatalog->FindOrAddPath(pSystems.get(), OnT(strLong).c_str()));
    ASSERT_TRUE(pLong);
    WriteOnT("docs/removed-cat.txt", "");
    std::unique_ptr<CDocumentRec> pRemoved(
        m_pCatalog->FindOrAddPath(pSystems.get(), OnT("docs/removed-cat.txt").c_str()));
    ASSERT_TRUE(pRemoved && pRemoved->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));

    // Every used record, and only those, with the name a loaded one gives.
    std::vector<CRecordRef> records;
    std::vector<std::pair<CRecordRef, std::string>> inPlace;
    ASSERT_TRUE(m_pCatalog->ForEachTableRecord(TABLE_DOCUMENT, [&](CRecordRef ref, std::span<const BYTE> record) {
        records.push_back(ref);
        if (std::string_view path; CDocumentRec::FullPathInRecord(record, &path))
            inPlace.emplace_back(ref, std::string(path));
    }));
    EXPECT_EQ(records.size(), 8U) << "five files, two mail titles, the long name";
    EXPECT_EQ(inPlace.size(), 7U) << "the long name goes on in a location record";
    for (const auto& [ref, strPath] : inPlace) {
        CString strLoaded;
        CDocumentRec(m_pCatalog.get(), ref.nBlock, ref.nSlot).GetFullPath(strLoaded);
        EXPECT_EQ(strPath, std::string(strLoaded));
    }

    for (const BOOL bWhole : { FALSE, TRUE }) {
        Criteria({ "cat" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ANY_WORD, FALSE, bWhole);
        std::size_t nLoadedMatches = 0;
        for (const CRecordRef ref : records)
            nLoadedMatches += CTextSearch::CopyGlobalCriteria(CDocumentRec(m_pCatalog.get(), ref.nBlock, ref.nSlot));
        const std::multiset<std::string> found = RunSearch();
        EXPECT_EQ(found.size(), nLoadedMatches);
        EXPECT_EQ(found.size(), bWhole ? 1U : 2U) << "the second title, and the long name without the whole-word rule";
        EXPECT_EQ(found.count(OnT(strLong)), bWhole ? 0U : 1U);
    }
}

// Few name candidates are looked for under the nodes that hold them only,
// many under every node: both find each matching document once.
TEST_F(CCatalogSearchTest, ANameSearchFindsFewAndManyCandidatesUnderTheirNodes)
{
    std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    std::unique_ptr<CNodeRec> pGroup = Group("Files", SEARCH_FILE_NAME);
    for (int i = 0; i < 300; ++i) {
        const std::string strName = "scan-" + std::to_string(i) + ".pdf";
        std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindOrAddDocument("t:\\scans\\", strName.c_str(), nullptr));
        ASSERT_TRUE(pDocument);
        // Even ones under the systems root, odd ones in the group, every third odd one under both.
        ASSERT_TRUE((i % 2 == 0 ? *pSystems : *pGroup).AddDocument(pDocument.get()));
        if (i % 2 == 1 && i % 3 == 0) {
            ASSERT_TRUE(pSystems->AddDocument(pDocument.get()));
        }
    }
    Criteria({ "scan-" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ALL_WORDS);
    EXPECT_EQ(RunSearch().size(), 300U);
    Criteria({ "scan-1" }, CTextSearch::FIELD_NAME, CTextSearch::MODE_ALL_WORDS);
    const std::multiset<std::string> found = RunSearch();
    EXPECT_EQ(found.size(), 111U) << "1, 10-19, 100-199";
    EXPECT_EQ(found.count("t:\\scans\\scan-15.pdf"), 1U) << "linked under both nodes";
    EXPECT_EQ(found.count("t:\\scans\\scan-12.pdf"), 1U);
}

TEST_F(CCatalogSearchTest, AStopKeepsWhatWasFound)
{
    Criteria({}, CTextSearch::FIELD_CONTENT, CTextSearch::MODE_ALL_WORDS);
    CScriptedProgressFactory progress;
    progress.Record().nStopAt = 3;
    BOOL bDone = TRUE;
    const std::multiset<std::string> names = RunSearch(&bDone);
    EXPECT_FALSE(bDone);
    EXPECT_FALSE(names.empty());
    EXPECT_LT(names.size(), 5U);
    EXPECT_EQ(progress.Record().created, std::vector<ERunProgressKind> { ERunProgressKind::Tree });
}

} // namespace
