#include "store/DocumentBackup.h"

#include "platform/base/FileFunctions.h"
#include "store/CDirectoryRec.h"
#include "store/CatalogIo.h"
#include "tests/store/DocumentFilesFixture.h"
#include "tests/store/FlushCounter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

// Documents catalogued under two nodes, their files on the fixed drive.
class DocumentBackupTest : public DocumentFilesTest {
protected:
    void SetUp() override
    {
        DocumentFilesTest::SetUp();
        auto pRoot = Root(*m_pCatalog);
        m_pWork = AddNode(*pRoot, "Work");
        m_pHome = AddNode(*pRoot, "Home");
        m_pPlan = AddDocument(*m_pCatalog, m_pWork.get(), WriteOnT("docs/plan.txt", "plan").c_str());
        ASSERT_TRUE(m_pHome->AddDocument(m_pPlan.get()));
        SetDescription(*m_pPlan, "The plan");
        m_pNotes = AddDocument(*m_pCatalog, m_pWork.get(), WriteOnT("docs/notes.txt", "notes").c_str());
        MakeFolderOnT("backup");
    }

    static void SetDescription(CDocumentRec& document, const char* pszText)
    {
        CDocumentInfo info;
        document.GetInfo(&info);
        std::strcpy(info.szDescription, pszText);
        ASSERT_TRUE(document.UpdateInfo(info));
    }
    static std::string Description(CDocumentRec& document)
    {
        CString strText;
        document.GetNameWithLocation(strText);
        return std::string(strText);
    }
    std::unique_ptr<CDocumentRec> Find(const std::string& strPath)
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath(strPath.c_str()));
    }
    std::vector<std::string> NodeNames(CDocumentRec& document) { return Names(document.GetLinkedNodes()); }

    CPtrArray m_documents;
    std::unique_ptr<CNodeRec> m_pWork, m_pHome;
    std::unique_ptr<CDocumentRec> m_pPlan, m_pNotes;
};

/* Copies and moves into a folder. */

TEST_F(DocumentBackupTest, CopiesAreCataloguedWithTheOriginalsInformationAndNodes)
{
    m_documents.Add(m_pPlan.get());
    m_documents.Add(m_pNotes.get());
    ASSERT_TRUE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, FALSE));
    EXPECT_EQ(ReadOnT("backup/plan.txt"), "plan");
    EXPECT_EQ(ReadOnT("docs/plan.txt"), "plan");
    auto pCopy = Find(OnT("backup\\plan.txt"));
    ASSERT_TRUE(pCopy);
    EXPECT_EQ(Description(*pCopy), "The plan");
    EXPECT_THAT(NodeNames(*pCopy), UnorderedElementsAre("Work", "Home"));
    EXPECT_TRUE(Find(OnT("backup\\notes.txt")));
    auto pOriginal = Find(OnT("docs\\plan.txt"));
    ASSERT_TRUE(pOriginal);
    EXPECT_THAT(NodeNames(*pOriginal), UnorderedElementsAre("Work", "Home"));
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(DocumentBackupTest, CopiesToARemovableMediumAreNotCatalogued)
{
    m_documents.Add(m_pPlan.get());
    ASSERT_TRUE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnR("").c_str(), TRUE, FALSE));
    EXPECT_TRUE(ExistsOnR("plan.txt"));
    EXPECT_FALSE(Find(OnR("plan.txt")));
    EXPECT_FALSE(std::unique_ptr<CDirectoryRec>(m_pCatalog->FindDirectory(OnR("").c_str())));
}

TEST_F(DocumentBackupTest, AMovedDocumentKeepsItsInformationAndLinksUnderItsNewPath)
{
    ASSERT_TRUE(m_pHome->AddDocument(m_pNotes.get()));
    CRecordRef favourites { 2, 0 };
    ASSERT_TRUE(Node(*m_pCatalog, favourites)->AddDocument(m_pPlan.get()));
    m_documents.Add(m_pPlan.get());
    ASSERT_TRUE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, TRUE));
    EXPECT_FALSE(ExistsOnT("docs/plan.txt"));
    EXPECT_EQ(ReadOnT("backup/plan.txt"), "plan");
    EXPECT_FALSE(Find(OnT("docs\\plan.txt")));
    auto pMoved = Find(OnT("backup\\plan.txt"));
    ASSERT_TRUE(pMoved);
    EXPECT_EQ(Description(*pMoved), "The plan");
    EXPECT_TRUE(pMoved->IsUnderTopNode2());
    EXPECT_EQ(pMoved->CountNodeLinks(FALSE), 2);
    // The other document is untouched.
    EXPECT_THAT(Paths(m_pHome->GetDocuments()), UnorderedElementsAre("t:\\backup\\plan.txt", "t:\\docs\\notes.txt"));
}

TEST_F(DocumentBackupTest, MovingOntoARemovableMediumTakesTheCatalogEntryAlong)
{
    m_documents.Add(m_pPlan.get());
    ASSERT_TRUE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnR("").c_str(), TRUE, TRUE));
    EXPECT_FALSE(ExistsOnT("docs/plan.txt"));
    auto pMoved = Find(OnR("plan.txt"));
    ASSERT_TRUE(pMoved);
    EXPECT_EQ(Description(*pMoved), "The plan");
}

TEST_F(DocumentBackupTest, AProtectedDocumentsCopyStaysProtected)
{
    ASSERT_EQ(m_pPlan->ChangeProtection("pw", ""), PROTECT_OK);
    m_documents.Add(m_pPlan.get());
    ASSERT_TRUE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, FALSE));
    EXPECT_TRUE(IsProtectedFile(OnT("backup\\plan.txt").c_str()));
    auto pCopy = Find(OnT("backup\\plan.txt"));
    ASSERT_TRUE(pCopy);
    ASSERT_EQ(pCopy->ChangeProtection("", "pw"), PROTECT_OK);
    EXPECT_EQ(ReadOnT("backup/plan.txt"), "plan");
}

/* Failures: reported, nothing lost. */

TEST_F(DocumentBackupTest, ANameTakenInTheTargetIsNeverOverwritten)
{
    WriteOnT("backup/plan.txt", "someone else's plan");
    m_documents.Add(m_pPlan.get());
    m_documents.Add(m_pNotes.get());
    EXPECT_FALSE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, TRUE));
    EXPECT_EQ(ReadOnT("backup/plan.txt"), "someone else's plan");
    EXPECT_EQ(ReadOnT("docs/plan.txt"), "plan");
    EXPECT_TRUE(Find(OnT("docs\\plan.txt")));
    // The next document went on.
    EXPECT_FALSE(ExistsOnT("docs/notes.txt"));
    EXPECT_TRUE(Find(OnT("backup\\notes.txt")));
    ASSERT_EQ(m_errors.Count(), 1u);
    EXPECT_NE(m_errors.Reports()[0].strText.find("already exists"), std::string::npos);
}

TEST_F(DocumentBackupTest, AMissingSourceIsReportedAndTheOthersGoOn)
{
    ASSERT_TRUE(DeleteFile(OnT("docs\\plan.txt").c_str()));
    m_documents.Add(m_pPlan.get());
    m_documents.Add(m_pNotes.get());
    EXPECT_FALSE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, TRUE));
    EXPECT_TRUE(Find(OnT("docs\\plan.txt"))); // the entry stays where its file was
    EXPECT_FALSE(ExistsOnT("backup/plan.txt"));
    EXPECT_EQ(ReadOnT("backup/notes.txt"), "notes");
    EXPECT_EQ(m_errors.Count(), 1u);
}

TEST_F(DocumentBackupTest, AnUnwritableOrMissingTargetChangesNothing)
{
    m_documents.Add(m_pPlan.get());
    ASSERT_TRUE(SetFileAttributes(OnT("backup").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, TRUE));
    ASSERT_TRUE(SetFileAttributes(OnT("backup").c_str(), 0));
    EXPECT_FALSE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("nowhere").c_str(), FALSE, TRUE));
    EXPECT_FALSE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("docs\\notes.txt").c_str(), FALSE, TRUE));
    EXPECT_FALSE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, "", FALSE, TRUE));
    EXPECT_FALSE(CopyDocumentsToFolder(m_pCatalog.get(), nullptr, OnT("backup").c_str(), FALSE, TRUE));
    EXPECT_EQ(ReadOnT("docs/plan.txt"), "plan");
    EXPECT_TRUE(Find(OnT("docs\\plan.txt")));
    EXPECT_FALSE(ExistsOnT("nowhere"));
    EXPECT_EQ(m_errors.Count(), 3u);
}

TEST_F(DocumentBackupTest, AMoveWhoseCatalogUpdateFailsKeepsTheOriginal)
{
    m_documents.Add(m_pPlan.get());
    for (int nWrite : { 1, 2, 3, 5, 8 }) {
        SetCatalogWriteFailure(nWrite);
        int nResult = CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, TRUE);
        SetCatalogWriteFailure(0);
        ASSERT_FALSE(nResult) << nWrite;
        EXPECT_EQ(ReadOnT("docs/plan.txt"), "plan") << nWrite;
        EXPECT_FALSE(ExistsOnT("backup/plan.txt")) << nWrite;
        // The catalog object refuses writes after a failed one; a fresh one reads the file.
        m_pPlan.reset();
        m_pCatalog = OpenCatalog();
        auto pOriginal = Find(OnT("docs\\plan.txt"));
        ASSERT_TRUE(pOriginal) << nWrite;
        EXPECT_EQ(Description(*pOriginal), "The plan") << nWrite;
        EXPECT_THAT(NodeNames(*pOriginal), UnorderedElementsAre("Work", "Home")) << nWrite;
        m_pPlan = std::move(pOriginal);
        m_documents.SetAt(0, m_pPlan.get());
    }
    // An entry the failed update left at the new path (its file gone) gives way to the next move.
    ASSERT_TRUE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, TRUE));
    auto pMoved = Find(OnT("backup\\plan.txt"));
    ASSERT_TRUE(pMoved);
    EXPECT_EQ(Description(*pMoved), "The plan");
    EXPECT_THAT(NodeNames(*pMoved), UnorderedElementsAre("Work", "Home"));
    EXPECT_FALSE(Find(OnT("docs\\plan.txt")));
}

// A move whose catalog update fails at write n of its writes.
class DocumentMoveWriteFailureTest
    : public DocumentBackupTest
    , public ::testing::WithParamInterface<int> { };

TEST_P(DocumentMoveWriteFailureTest, NoLinkOrFileIsLost)
{
    m_documents.Add(m_pPlan.get());
    SetCatalogWriteFailure(GetParam());
    int nResult = CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, TRUE);
    SetCatalogWriteFailure(0);
    if (nResult)
        GTEST_SKIP() << "the move takes fewer writes";
    // The original file stays; every link lives on in the original's entry
    // or, when the copy was kept, in the copy's.
    EXPECT_EQ(ReadOnT("docs/plan.txt"), "plan");
    m_pPlan.reset();
    m_pCatalog = OpenCatalog();
    std::vector<std::string> names;
    if (auto pOriginal = Find(OnT("docs\\plan.txt")))
        names = NodeNames(*pOriginal);
    if (auto pCopy = Find(OnT("backup\\plan.txt")); pCopy && ExistsOnT("backup/plan.txt")) {
        EXPECT_EQ(Description(*pCopy), "The plan");
        for (const std::string& strName : NodeNames(*pCopy))
            names.push_back(strName);
    }
    EXPECT_THAT(names, ::testing::IsSupersetOf({ "Work", "Home" }));
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, DocumentMoveWriteFailureTest, ::testing::Range(1, 25));

/* One document moved or renamed. */

TEST_F(DocumentBackupTest, AMovedOrRenamedDocumentKeepsItsInformationAndLinks)
{
    std::unique_ptr<CDocumentRec> pMoved(MoveDocumentFiles(m_pPlan.get(), OnT("backup").c_str()));
    ASSERT_TRUE(pMoved);
    EXPECT_EQ(ReadOnT("backup/plan.txt"), "plan");
    EXPECT_FALSE(ExistsOnT("docs/plan.txt"));
    EXPECT_FALSE(Find(OnT("docs\\plan.txt")));
    std::unique_ptr<CDocumentRec> pRenamed(RenameDocumentFile(pMoved.get(), "final plan.txt"));
    ASSERT_TRUE(pRenamed);
    EXPECT_EQ(ReadOnT("backup/final plan.txt"), "plan");
    EXPECT_FALSE(ExistsOnT("backup/plan.txt"));
    EXPECT_FALSE(Find(OnT("backup\\plan.txt")));
    auto pFound = Find(OnT("backup\\final plan.txt"));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(Description(*pFound), "The plan");
    EXPECT_THAT(NodeNames(*pFound), UnorderedElementsAre("Work", "Home"));
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(DocumentBackupTest, AMoveOrRenameOntoATakenNameChangesNothing)
{
    EXPECT_FALSE(RenameDocumentFile(m_pPlan.get(), "notes.txt"));
    EXPECT_FALSE(RenameDocumentFile(m_pPlan.get(), "..\\elsewhere.txt")); // a path, not a name
    WriteOnT("backup/plan.txt", "older");
    EXPECT_FALSE(MoveDocumentFiles(m_pPlan.get(), OnT("backup").c_str()));
    EXPECT_FALSE(MoveDocumentFiles(m_pPlan.get(), OnT("missing").c_str()));
    EXPECT_EQ(ReadOnT("docs/plan.txt"), "plan");
    EXPECT_EQ(ReadOnT("docs/notes.txt"), "notes");
    EXPECT_EQ(ReadOnT("backup/plan.txt"), "older");
    auto pPlan = Find(OnT("docs\\plan.txt"));
    ASSERT_TRUE(pPlan);
    EXPECT_THAT(NodeNames(*pPlan), UnorderedElementsAre("Work", "Home"));
}

// The catalogued "plan.txt" gets a twin "Plan.txt": the catalog's path names
// both, so no copy, move or rename touches either, and each refusal says so.
TEST_F(DocumentBackupTest, ADocumentWhosePathNamesTwoFilesIsNeitherCopiedMovedNorRenamed)
{
    WriteOnT("docs/Plan.txt", "twin");
    m_documents.Add(m_pPlan.get());
    EXPECT_FALSE(CopyDocumentsToFolder(m_pCatalog.get(), &m_documents, OnT("backup").c_str(), FALSE, FALSE));
    EXPECT_FALSE(MoveDocumentFiles(m_pPlan.get(), OnT("backup").c_str()));
    EXPECT_FALSE(RenameDocumentFile(m_pPlan.get(), "final.txt"));
    EXPECT_EQ(ReadOnT("docs/plan.txt"), "plan");
    EXPECT_EQ(ReadOnT("docs/Plan.txt"), "twin");
    EXPECT_FALSE(ExistsOnT("backup/plan.txt"));
    EXPECT_FALSE(ExistsOnT("backup/Plan.txt"));
    EXPECT_FALSE(ExistsOnT("docs/final.txt"));
    const auto reports = m_errors.Reports();
    ASSERT_EQ(reports.size(), 3u);
    for (const auto& report : reports)
        EXPECT_NE(report.strText.find("only in case"), std::string::npos) << report.strText;
    auto pPlan = Find(OnT("docs\\plan.txt"));
    ASSERT_TRUE(pPlan);
    EXPECT_THAT(NodeNames(*pPlan), UnorderedElementsAre("Work", "Home"));
    // The other documents of the folder go on as before.
    std::unique_ptr<CDocumentRec> pMoved(MoveDocumentFiles(m_pNotes.get(), OnT("backup").c_str()));
    EXPECT_TRUE(pMoved);
}

// A rename whose catalog update fails at write n of its writes.
class DocumentRenameWriteFailureTest
    : public DocumentBackupTest
    , public ::testing::WithParamInterface<int> { };

TEST_P(DocumentRenameWriteFailureTest, TheFileGetsItsNameBackAndNoLinkIsLost)
{
    SetCatalogWriteFailure(GetParam());
    std::unique_ptr<CDocumentRec> pRenamed(RenameDocumentFile(m_pPlan.get(), "final.txt"));
    SetCatalogWriteFailure(0);
    if (pRenamed)
        GTEST_SKIP() << "the rename takes fewer writes";
    EXPECT_EQ(ReadOnT("docs/plan.txt"), "plan");
    EXPECT_FALSE(ExistsOnT("docs/final.txt"));
    m_pPlan.reset();
    m_pCatalog = OpenCatalog();
    auto pOriginal = Find(OnT("docs\\plan.txt"));
    ASSERT_TRUE(pOriginal);
    EXPECT_EQ(Description(*pOriginal), "The plan");
    EXPECT_THAT(NodeNames(*pOriginal), UnorderedElementsAre("Work", "Home"));
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, DocumentRenameWriteFailureTest, ::testing::Range(1, 25));

/* The backup pass of a set. */

TEST_F(DocumentBackupTest, ABackupSetReportsWhetherSomethingChanged)
{
    CBackupSet toStick(OnR("").c_str());
    toStick.Add(m_pPlan.get());
    EXPECT_TRUE(toStick.Run(m_pCatalog.get(), FALSE));
    EXPECT_TRUE(ExistsOnR("plan.txt"));
    EXPECT_FALSE(Find(OnR("plan.txt")));                // a removable target gets no catalogue entries for copies
    EXPECT_FALSE(toStick.Run(m_pCatalog.get(), FALSE)); // the name is taken now
    CBackupSet toFolder(OnT("backup").c_str());
    toFolder.Add(m_pNotes.get());
    EXPECT_TRUE(toFolder.Run(m_pCatalog.get(), FALSE));
    EXPECT_TRUE(Find(OnT("backup\\notes.txt")));
    CBackupSet toNowhere(OnT("nowhere").c_str());
    toNowhere.Add(m_pNotes.get());
    EXPECT_FALSE(toNowhere.Run(m_pCatalog.get(), TRUE));
    EXPECT_EQ(ReadOnT("docs/notes.txt"), "notes");
}

/* Files dropped on a node. */

class AnsweringPrompt : public CBackupFolderPrompt {
public:
    BOOL AskBackupFolder(CNodeRec* pNode, CString& strFolder) override
    {
        ++nAsked;
        strOffered = std::string(strFolder);
        strNode = pNode ? std::string(pNode->GetName()) : std::string();
        if (strAnswer.empty())
            return FALSE;
        strFolder = strAnswer.c_str();
        return TRUE;
    }
    int nAsked { 0 };
    std::string strOffered, strNode, strAnswer;
};

TEST_F(DocumentBackupTest, DroppedFilesAndFoldersAreCataloguedWhereTheyAre)
{
    WriteOnT("drop/one.txt", "1");
    WriteOnT("drop/sub/two.txt", "2");
    WriteOnT("drop/sub/deeper/three.txt", "3");
    WriteOnT("single.txt", "s");
    AnsweringPrompt prompt;
    CBackupItem item(&prompt, CString(OnT("backup").c_str()));
    CDroppedShellItems items;
    items.paths = { OnT("drop").c_str(), OnT("single.txt").c_str() };
    CFlushCounter flushes;
    EXPECT_TRUE(item.RunDocumentBackup(m_pHome.get(), items));
    EXPECT_EQ(flushes.m_nFlushes, 1); // one drop, one commit
    EXPECT_EQ(prompt.nAsked, 0);
    for (const char* pszPath :
        { "drop\\one.txt", "drop\\sub\\two.txt", "drop\\sub\\deeper\\three.txt", "single.txt" }) {
        auto pDocument = Find(OnT(pszPath));
        ASSERT_TRUE(pDocument) << pszPath;
        EXPECT_THAT(NodeNames(*pDocument), ElementsAre("Home"));
    }
    EXPECT_EQ(FilesOnT().size(), 6u); // nothing was copied
}

TEST_F(DocumentBackupTest, FilesFromARemovableDriveAreCopiedToTheChosenFolderFirst)
{
    WriteOnR("photos/a.jpg", "A");
    WriteOnR("photos/2024/b.jpg", "B");
    WriteOnR("letter.txt", "L");
    AnsweringPrompt prompt;
    prompt.strAnswer = OnT("backup");
    CBackupItem item(&prompt, CString("T:\\default"));
    CDroppedShellItems items;
    items.paths = { (OnR("photos") + "\\").c_str(), OnR("letter.txt").c_str(), OnT("docs\\plan.txt").c_str() };
    EXPECT_TRUE(item.RunDocumentBackup(m_pHome.get(), items));
    EXPECT_EQ(prompt.nAsked, 1);
    EXPECT_EQ(prompt.strOffered, "T:\\default");
    EXPECT_EQ(prompt.strNode, "Home");
    EXPECT_EQ(ReadOnT("backup/photos/2024/b.jpg"), "B");
    for (const char* pszPath : { "backup\\photos\\a.jpg", "backup\\photos\\2024\\b.jpg", "backup\\letter.txt" }) {
        auto pDocument = Find(OnT(pszPath));
        ASSERT_TRUE(pDocument) << pszPath;
        EXPECT_THAT(NodeNames(*pDocument), ElementsAre("Home"));
    }
    EXPECT_TRUE(ExistsOnR("letter.txt")); // the medium is left as it was
    EXPECT_FALSE(Find(OnR("letter.txt")));
    EXPECT_THAT(NodeNames(*Find(OnT("docs\\plan.txt"))), UnorderedElementsAre("Work", "Home"));
}

TEST_F(DocumentBackupTest, ACancelledOrUnusableBackupFolderCopiesNothing)
{
    WriteOnR("letter.txt", "L");
    CDroppedShellItems items;
    items.paths = { OnR("letter.txt").c_str() };
    AnsweringPrompt cancel;
    CBackupItem cancelled(&cancel, CString());
    EXPECT_FALSE(cancelled.RunDocumentBackup(m_pHome.get(), items));
    EXPECT_EQ(cancel.nAsked, 1);
    AnsweringPrompt missing;
    missing.strAnswer = OnT("nowhere");
    CBackupItem unusable(&missing, CString());
    EXPECT_FALSE(unusable.RunDocumentBackup(m_pHome.get(), items));
    EXPECT_EQ(FilesOnT(), (std::vector<std::string> { "docs/notes.txt", "docs/plan.txt" }));
    EXPECT_FALSE(Find(OnT("nowhere\\letter.txt")));
}

TEST_F(DocumentBackupTest, ACopyThatMeetsATakenNameIsSkippedAndReported)
{
    WriteOnR("letter.txt", "from the stick");
    WriteOnR("other.txt", "other");
    WriteOnT("backup/letter.txt", "already here");
    AnsweringPrompt prompt;
    prompt.strAnswer = OnT("backup");
    CBackupItem item(&prompt, CString());
    CDroppedShellItems items;
    items.paths = { OnR("letter.txt").c_str(), OnR("missing.txt").c_str(), OnR("other.txt").c_str() };
    EXPECT_FALSE(item.RunDocumentBackup(m_pHome.get(), items));
    EXPECT_EQ(ReadOnT("backup/letter.txt"), "already here");
    EXPECT_FALSE(Find(OnT("backup\\letter.txt")));
    EXPECT_TRUE(Find(OnT("backup\\other.txt")));
    EXPECT_EQ(m_errors.Count(), 2u);
}

} // namespace
