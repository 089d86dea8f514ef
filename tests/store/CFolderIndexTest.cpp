#include "store/CFolderIndex.h"

#include "store/CCatalog.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogFixture.h"
#include "tests/store/FlushCounter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CFolderIndexTest : public CatalogFileTest {
protected:
    std::unique_ptr<CFolderIndex> NewIndex()
    {
        return std::make_unique<CFolderIndex>(ProgramPath("winsch.cat").c_str(), 1);
    }
    std::unique_ptr<CFolderIndex> OpenIndex()
    {
        return std::make_unique<CFolderIndex>(ProgramPath("winsch.cat").c_str(), 0);
    }

    // An index with two folders: c:\work\ (a.txt, sub\b.txt) and d:\old\ (c.txt).
    void Fill(CFolderIndex& index)
    {
        CRecordRef work, old;
        ASSERT_TRUE(index.AddFolder("C:\\Work", &work));
        ASSERT_TRUE(index.AddFolder("d:\\old\\", &old));
        ASSERT_TRUE(index.AddEntry(work, "a.txt", { 30, 2 }));
        ASSERT_TRUE(index.AddEntry(old, "c.txt", {}));
        ASSERT_TRUE(index.AddEntry(work, "sub\\b.txt", { 31, 0 }));
    }

    // Every entry's path, folder by folder.
    static std::vector<std::string> Paths(CFolderIndex& index)
    {
        std::vector<std::string> paths;
        for (CRecordRef folder = index.FirstFolder(); !folder.IsNone(); folder = index.NextFolder(folder)) {
            for (CRecordRef entry = index.FirstEntry(folder); !entry.IsNone(); entry = index.NextEntry(entry))
                paths.emplace_back(index.BuildFolderPath(folder, entry));
        }
        return paths;
    }
};

TEST_F(CFolderIndexTest, FoldersAndEntriesWalkInOrderAndSurviveReopening)
{
    {
        auto pIndex = NewIndex();
        ASSERT_TRUE(pIndex->IsOpen());
        EXPECT_EQ(pIndex->GetKind(), CATALOG_KIND_FOLDER_INDEX);
        EXPECT_THAT(Paths(*pIndex), IsEmpty());
        Fill(*pIndex);
        EXPECT_THAT(Paths(*pIndex), ElementsAre("c:\\work\\a.txt", "c:\\work\\sub\\b.txt", "d:\\old\\c.txt"));
    }
    auto pIndex = OpenIndex();
    ASSERT_TRUE(pIndex->IsOpen());
    EXPECT_THAT(Paths(*pIndex), ElementsAre("c:\\work\\a.txt", "c:\\work\\sub\\b.txt", "d:\\old\\c.txt"));
    CRecordRef work = pIndex->FirstFolder();
    EXPECT_EQ(std::string(pIndex->GetFolderPath(work)), "c:\\work\\");
    EXPECT_EQ(pIndex->GetEntryDocument(pIndex->FirstEntry(work)), (CRecordRef { 30, 2 }));
    EXPECT_TRUE(pIndex->GetEntryDocument(pIndex->FirstEntry(pIndex->NextFolder(work))).IsNone());
}

TEST_F(CFolderIndexTest, WritingAnIndexFlushesNothingAndLeavesNoJournal)
{
    CFlushCounter flushes;
    {
        auto pIndex = NewIndex();
        ASSERT_TRUE(pIndex->IsOpen());
        CCatalogAction batch(pIndex.get());
        Fill(*pIndex);
        ASSERT_TRUE(batch.End());
    }
    EXPECT_EQ(flushes.m_nFlushes, 0);
    EXPECT_FALSE(std::filesystem::exists(HostPath("winsch.cat.jnl")));
    EXPECT_THAT(Paths(*OpenIndex()), ElementsAre("c:\\work\\a.txt", "c:\\work\\sub\\b.txt", "d:\\old\\c.txt"));
}

TEST_F(CFolderIndexTest, ANewIndexReplacesTheOldOne)
{
    Fill(*NewIndex());
    EXPECT_THAT(Paths(*NewIndex()), IsEmpty());
}

TEST_F(CFolderIndexTest, CriteriaRecordRoundTrips)
{
    CListFilter filter;
    filter.bActive = TRUE;
    filter.nMode = FILTER_ANY;
    CListFilterValue text;
    text.strText = "quarterly report";
    SetListFilterCondition(&filter, 1, 4102, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, text);
    CListFilterValue range;
    range.nNumber = 1780272000;
    range.nEnd = 0x1'0000'0001LL;
    SetListFilterCondition(&filter, 2, 4106, FILTER_OP_BETWEEN, FILTER_VALUE_RANGE, range);
    ASSERT_TRUE(NewIndex()->SetCriteria(filter));
    FreeListFilter(&filter);

    CListFilter loaded;
    ASSERT_TRUE(OpenIndex()->GetCriteria(&loaded));
    EXPECT_TRUE(loaded.bActive);
    EXPECT_EQ(loaded.nMode, FILTER_ANY);
    EXPECT_TRUE(loaded.conditions[0].IsEmpty());
    ASSERT_TRUE(loaded.conditions[1].pValue);
    EXPECT_EQ(std::string(loaded.conditions[1].pValue->strText), "quarterly report");
    ASSERT_TRUE(loaded.conditions[2].pValue);
    EXPECT_EQ(loaded.conditions[2].nKind, FILTER_VALUE_RANGE);
    EXPECT_EQ(loaded.conditions[2].pValue->nNumber, 1780272000);
    EXPECT_EQ(loaded.conditions[2].pValue->nEnd, 0x1'0000'0001LL);
    FreeListFilter(&loaded);
}

TEST_F(CFolderIndexTest, BadArgumentsAreRefused)
{
    auto pIndex = NewIndex();
    CRecordRef folder;
    EXPECT_FALSE(pIndex->AddFolder("", &folder));
    EXPECT_FALSE(pIndex->AddFolder(std::string(300, 'a').c_str(), &folder));
    ASSERT_TRUE(pIndex->AddFolder("c:\\", &folder));
    EXPECT_FALSE(pIndex->AddEntry(folder, "", {}));
    EXPECT_FALSE(pIndex->AddEntry({ 40, 0 }, "a.txt", {}));
    EXPECT_TRUE(pIndex->BuildFolderPath({ 40, 0 }, { 40, 1 }).IsEmpty());
}

/* Damage. */

TEST_F(CFolderIndexTest, TruncatedIndexFailsSoft)
{
    Fill(*NewIndex());
    std::filesystem::resize_file(HostPath("winsch.cat"), FILE_HEADER_SIZE + BLOCK_SIZE + 100);
    auto pIndex = OpenIndex();
    EXPECT_FALSE(pIndex->IsOpen());
    EXPECT_THAT(Paths(*pIndex), IsEmpty());
    CListFilter filter;
    EXPECT_FALSE(pIndex->GetCriteria(&filter));
    EXPECT_GE(m_errors.Count(), 1u);
}

TEST_F(CFolderIndexTest, ACatalogIsNoIndex)
{
    ASSERT_TRUE(CCatalog::CreateFile(FALSE, ProgramPath("winsch.cat").c_str(), BLOCK_SIZE));
    auto pIndex = OpenIndex();
    EXPECT_FALSE(pIndex->IsOpen());
    EXPECT_GE(m_errors.Count(), 1u);
}

TEST_F(CFolderIndexTest, AnEntryChainOwnedByAnotherFolderIsNotWalked)
{
    auto pIndex = NewIndex();
    Fill(*pIndex);
    CRecordRef work = pIndex->FirstFolder();
    CRecordRef old = pIndex->NextFolder(work);
    std::vector<BYTE> workRecord(CFolderIndex::FOLDER_SIZE), oldRecord(CFolderIndex::FOLDER_SIZE);
    ASSERT_TRUE(pIndex->ReadRecord(work, CFolderIndex::TABLE_FOLDER, workRecord));
    ASSERT_TRUE(pIndex->ReadRecord(old, CFolderIndex::TABLE_FOLDER, oldRecord));
    SetLongField(
        oldRecord, CFolderIndex::OFF_FOLDER_ENTRIES, GetLongField(workRecord, CFolderIndex::OFF_FOLDER_ENTRIES));
    ASSERT_TRUE(pIndex->WriteRecord(old, CFolderIndex::TABLE_FOLDER, oldRecord));

    EXPECT_TRUE(pIndex->FirstEntry(old).IsNone());
    EXPECT_TRUE(pIndex->BuildFolderPath(old, pIndex->FirstEntry(work)).IsEmpty());
    EXPECT_GE(m_errors.Count(), 1u);
}
