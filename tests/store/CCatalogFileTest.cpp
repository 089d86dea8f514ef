#include "store/CCatalogFile.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/CCatalogRecord.h"
#include "tests/store/CatalogFixture.h"
#include "tests/support/TestData.h"

#include <cstring>

namespace {

using CCatalogFileTest = CatalogFileTest;

/* Header. */

TEST_F(CCatalogFileTest, NewFileHasTheHeaderLayout)
{
    NewCatalog("recycle.cat", CATALOG_KIND_RECYCLE)->Release();
    std::vector<BYTE> bytes = FileBytes("recycle.cat");
    ASSERT_EQ(bytes.size(), std::size_t { FILE_HEADER_SIZE });
    EXPECT_EQ(ReadLong(&bytes[0]), CATALOG_KIND_RECYCLE);
    EXPECT_EQ(ReadLong(&bytes[4]), BLOCK_SIZE);
    EXPECT_EQ(ReadLong(&bytes[8]), NO_BLOCK);
    EXPECT_EQ(std::memcmp(&bytes[12], "6.0.00\0\0", 8), 0);
}

TEST_F(CCatalogFileTest, HeaderFieldsSurviveReopening)
{
    auto pFile = NewCatalog("archiv.cat", CATALOG_KIND_MAIN);
    ASSERT_TRUE(pFile->SetHeaderStrings("first text", "second text"));
    ASSERT_TRUE(pFile->SetHeaderLinks(-7, 0x12345678));
    ASSERT_TRUE(pFile->SetTimeStamp({ 0x89ABCDEF, 0x01D2E3F4 }));
    SampleCatalog sample = BuildSample(*pFile);
    CATBLOCK nLast = pFile->GetLastBlock();
    ASSERT_TRUE(pFile->Release());

    auto pReopened = OpenObject("archiv.cat");
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(pReopened->GetKind(), CATALOG_KIND_MAIN);
    EXPECT_EQ(pReopened->GetLastBlock(), nLast);
    EXPECT_EQ(pReopened->GetLastBlock(), sample.nEmpty);
    EXPECT_STREQ(pReopened->GetHeaderString(0), "first text");
    EXPECT_STREQ(pReopened->GetHeaderString(1), "second text");
    EXPECT_EQ(pReopened->GetHeaderLink(0), -7);
    EXPECT_EQ(pReopened->GetHeaderLink(1), 0x12345678);
    FILETIME ft = pReopened->GetTimeStamp();
    EXPECT_EQ(ft.dwLowDateTime, 0x89ABCDEFu);
    EXPECT_EQ(ft.dwHighDateTime, 0x01D2E3F4u);
    // The stamp is stored low half first.
    std::vector<BYTE> bytes = FileBytes("archiv.cat");
    EXPECT_EQ(static_cast<DWORD>(ReadLong(&bytes[76])), 0x89ABCDEFu);
    EXPECT_EQ(static_cast<DWORD>(ReadLong(&bytes[80])), 0x01D2E3F4u);
}

TEST_F(CCatalogFileTest, LongHeaderTextsAreCutAtACharacterBoundary)
{
    auto pFile = NewCatalog();
    // 11 two-byte characters: 22 bytes fit, the twelfth would end at byte 24.
    std::string strLong;
    for (int i = 0; i < 12; ++i)
        strLong += "\xC3\xA9";
    ASSERT_TRUE(pFile->SetHeaderStrings(strLong.c_str(), "abcdefghijklmnopqrstuvwxyz"));
    CString strText1 = pFile->GetHeaderString(0);
    CString strText2 = pFile->GetHeaderString(1);
    EXPECT_EQ(strText1.GetLength(), 22);
    EXPECT_EQ(Utf8PrefixLength(strText1, 23), 22u);
    EXPECT_STREQ(strText2, "abcdefghijklmnopqrstuvw");
}

TEST_F(CCatalogFileTest, CreateRefusesAnOpenFile)
{
    auto pFile = NewCatalog();
    EXPECT_FALSE(pFile->Create(CATALOG_KIND_MAIN));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(pFile->Create(7));
}

/* Chains and slots. */

TEST_F(CCatalogFileTest, AllocatesThousandsOfRecordsAcrossEvictedBlocksAndReopens)
{
    // A small cache, so the records span three times as many blocks as it holds.
    constexpr int CACHE_CHUNKS = 32;
    NewCatalog()->Release();
    auto pFile = OpenObject("test.cat", CACHE_CHUNKS);
    ASSERT_TRUE(pFile->Acquire());
    CATBLOCK nFirst = NO_BLOCK;
    ASSERT_TRUE(pFile->NewChain(TABLE_DOCUMENT, {}, &nFirst));
    const int RECORDS = 3 * CACHE_CHUNKS * 2 * SlotCount(260);
    std::vector<BYTE> data(260);
    for (int i = 0; i < RECORDS; ++i) {
        CRecordRef ref;
        ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, nFirst, {}, &ref));
        WriteLong(data.data(), i);
        WriteLong(data.data() + 256, ~i);
        ASSERT_TRUE(pFile->WriteRecord(ref, TABLE_DOCUMENT, data));
    }
    EXPECT_GT(pFile->GetLastBlock(), 2 * 2 * CACHE_CHUNKS);
    EXPECT_TRUE(pFile->CheckInvariants());
    ASSERT_TRUE(pFile->Release());

    auto pReopened = OpenObject("test.cat", CACHE_CHUNKS);
    ASSERT_TRUE(pReopened->Acquire());
    auto records = ReadChain(*pReopened, nFirst, TABLE_DOCUMENT);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(RECORDS));
    for (int i = 0; i < RECORDS; ++i) {
        EXPECT_EQ(ReadLong(records[i].data()), i);
        EXPECT_EQ(ReadLong(records[i].data() + 256), ~i);
    }
    EXPECT_TRUE(pReopened->CheckInvariants());
}

TEST_F(CCatalogFileTest, NextRecordOnAnEmptyChainEndsAtOnce)
{
    auto pFile = NewCatalog();
    CATBLOCK nFirst = NO_BLOCK;
    ASSERT_TRUE(pFile->NewChain(TABLE_NODE, {}, &nFirst));
    CRecordRef cursor { nFirst, NO_SLOT };
    EXPECT_FALSE(pFile->NextRecord(&cursor));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(cursor, (CRecordRef { nFirst, NO_SLOT }));
}

TEST_F(CCatalogFileTest, NextRecordSkipsFreeSlotsAndEmptyBlocksOfTheChain)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    // Empty the whole middle block of the document chain and a few slots around it.
    std::vector<CRecordRef> refs = ChainRefs(*pFile, sample.nDocuments);
    ASSERT_EQ(refs.size(), 20u);
    std::vector<int> freed = { 0, 6, 7, 8, 9, 10, 11, 12, 13, 19 };
    for (int i : freed)
        ASSERT_TRUE(pFile->FreeRecord(refs[i], TABLE_DOCUMENT));

    auto records = ReadChain(*pFile, sample.nDocuments, TABLE_DOCUMENT);
    std::vector<BYTE> fills;
    fills.reserve(records.size());
    for (const auto& record : records)
        fills.push_back(record[0]);
    EXPECT_EQ(fills, (std::vector<BYTE> { 2, 3, 4, 5, 6, 15, 16, 17, 18, 19 }));
}

TEST_F(CCatalogFileTest, FreedSlotsAreReusedAfterReopening)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    CRecordRef cursor { sample.nDocuments, NO_SLOT };
    for (int i = 0; i < 9; ++i)
        ASSERT_TRUE(pFile->NextRecord(&cursor));
    CRecordRef freed = cursor;
    ASSERT_TRUE(pFile->FreeRecord(freed, TABLE_DOCUMENT));
    CATBLOCK nLast = pFile->GetLastBlock();
    ASSERT_TRUE(pFile->Release());

    ASSERT_TRUE(pFile->Acquire());
    CRecordRef ref;
    ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, sample.nDocuments, {}, &ref));
    EXPECT_EQ(ref, freed);
    EXPECT_EQ(pFile->GetLastBlock(), nLast);
    // The reused record starts out zeroed.
    std::vector<BYTE> data(260, 0xEE);
    ASSERT_TRUE(pFile->ReadRecord(ref, TABLE_DOCUMENT, data));
    EXPECT_EQ(data, std::vector<BYTE>(260, 0));
}

/* The free-slot hint. */

TEST_F(CCatalogFileTest, AllocationAtTheEndOfALongChainReadsOnlyBlocksNearIt)
{
    // A cache of one chunk: every block a walk passes is a read of the file.
    NewCatalog()->Release();
    auto pFile = OpenObject("test.cat", 1);
    ASSERT_TRUE(pFile->Acquire());
    CATBLOCK nFirst = NO_BLOCK;
    ASSERT_TRUE(pFile->NewChain(TABLE_DOCUMENT, {}, &nFirst));
    const int SLOTS = SlotCount(260);
    CRecordRef ref;
    for (int i = 0; i < 100 * SLOTS; ++i)
        ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, nFirst, {}, &ref));
    // Ten more blocks' worth: a walk from the first block would read a
    // hundred blocks for each record.
    unsigned nReadsBefore = pFile->GetReadCount();
    for (int i = 0; i < 10 * SLOTS; ++i)
        ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, nFirst, {}, &ref));
    EXPECT_LE(pFile->GetReadCount() - nReadsBefore, static_cast<unsigned>(3 * 10 * SLOTS));
    EXPECT_EQ(ReadChain(*pFile, nFirst, TABLE_DOCUMENT).size(), static_cast<std::size_t>(110 * SLOTS));
    EXPECT_TRUE(pFile->CheckInvariants());
}

TEST_F(CCatalogFileTest, FreedSlotsAreTakenFirstToLastWhateverTheHint)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    // The chain's three blocks are full but for the last slot of the third.
    std::vector<CRecordRef> refs = ChainRefs(*pFile, sample.nDocuments);
    CRecordRef last = AddRecord(*pFile, TABLE_DOCUMENT, sample.nDocuments, 21);
    ASSERT_EQ(last.nBlock, refs.back().nBlock);
    // Freed in the third block, then the second, then the first.
    for (int i : { 16, 10, 3 })
        ASSERT_TRUE(pFile->FreeRecord(refs[static_cast<std::size_t>(i)], TABLE_DOCUMENT));
    std::vector<CRecordRef> taken;
    for (int i = 0; i < 4; ++i)
        taken.push_back(AddRecord(*pFile, TABLE_DOCUMENT, sample.nDocuments, 0x30));
    EXPECT_EQ(taken[0], refs[3]);
    EXPECT_EQ(taken[1], refs[10]);
    EXPECT_EQ(taken[2], refs[16]);
    EXPECT_NE(taken[3].nBlock, last.nBlock); // a new block, linked after the third
    EXPECT_EQ(ReadChain(*pFile, sample.nDocuments, TABLE_DOCUMENT).size(), 22u);
    EXPECT_TRUE(pFile->CheckInvariants());
}

TEST_F(CCatalogFileTest, AllocationFromAMiddleBlockLeavesTheChainsHintRight)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    CRecordRef first = AddRecord(*pFile, TABLE_DOCUMENT, sample.nDocuments, 21); // fills the third block
    CATBLOCK nSecond = pFile->GetBlock(sample.nDocuments)->GetHeader().nNextBlock;
    // From the second block: the chain grows at its end.
    CRecordRef grown = AddRecord(*pFile, TABLE_DOCUMENT, nSecond, 22);
    EXPECT_EQ(pFile->GetBlock(grown.nBlock)->GetHeader().nPrevBlock, first.nBlock);
    // A slot freed in the first block is the next one the chain gives.
    CRecordRef freed { sample.nDocuments, 4 };
    ASSERT_TRUE(pFile->FreeRecord(freed, TABLE_DOCUMENT));
    EXPECT_EQ(AddRecord(*pFile, TABLE_DOCUMENT, sample.nDocuments, 23), freed);
    EXPECT_EQ(AddRecord(*pFile, TABLE_DOCUMENT, sample.nDocuments, 24).nBlock, grown.nBlock);
    EXPECT_TRUE(pFile->CheckInvariants());
}

TEST_F(CCatalogFileTest, NewBlocksOfAChainCarryItsOwner)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    std::vector<CATBLOCK> blocks;
    for (CRecordRef cursor { sample.nDocuments, NO_SLOT }; pFile->NextRecord(&cursor);) {
        if (blocks.empty() || blocks.back() != cursor.nBlock)
            blocks.push_back(cursor.nBlock);
    }
    ASSERT_EQ(blocks.size(), 3u);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        CBlockHeader header = pFile->GetBlock(blocks[i])->GetHeader();
        EXPECT_EQ(header.owner, (CRecordRef { sample.nNodes, 1 }));
        EXPECT_EQ(header.nPrevBlock, i == 0 ? NO_BLOCK : blocks[i - 1]);
        EXPECT_EQ(header.nNextBlock, i + 1 == blocks.size() ? NO_BLOCK : blocks[i + 1]);
    }
}

TEST_F(CCatalogFileTest, RecordsOfOneChainStayApartFromAnother)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    EXPECT_EQ(ReadChain(*pFile, sample.nNodes, TABLE_NODE).size(), 3u);
    EXPECT_EQ(ReadChain(*pFile, sample.nLinks, TABLE_LINK).size(), 5u);
    EXPECT_TRUE(ReadChain(*pFile, sample.nEmpty, TABLE_KEYWORD).empty());
    // Allocating in a chain of another table is refused.
    CRecordRef ref;
    EXPECT_FALSE(pFile->AllocateRecord(TABLE_NODE, sample.nLinks, {}, &ref));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(pFile->AllocateRecord(3000, sample.nLinks, {}, &ref));
}

TEST_F(CCatalogFileTest, CheckRecordTellsUsedRecordsOfATable)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    CRecordRef freed { sample.nNodes, 1 };
    ASSERT_TRUE(pFile->FreeRecord(freed, TABLE_NODE));

    EXPECT_TRUE(pFile->CheckRecord(sample.nNodes, 0, TABLE_NODE));
    EXPECT_TRUE(pFile->CheckRecord(sample.nNodes, 2, TABLE_NODE));
    EXPECT_FALSE(pFile->CheckRecord(sample.nNodes, 1, TABLE_NODE));             // free slot
    EXPECT_FALSE(pFile->CheckRecord(sample.nNodes, 3, TABLE_NODE));             // never used
    EXPECT_FALSE(pFile->CheckRecord(sample.nNodes, 0, TABLE_DOCUMENT));         // other table
    EXPECT_FALSE(pFile->CheckRecord(pFile->GetLastBlock() + 1, 0, TABLE_NODE)); // above the last block
    EXPECT_FALSE(pFile->CheckRecord(-5, 0, TABLE_NODE));
    EXPECT_FALSE(pFile->CheckRecord(sample.nNodes, -1, TABLE_NODE));
    EXPECT_FALSE(pFile->CheckRecord(sample.nNodes, 5000, TABLE_NODE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

/* The caches. */

TEST_F(CCatalogFileTest, FillingAChainBlockByBlockReadsNothing)
{
    // Each new block goes into the cache as written, its chunk completed.
    auto pFile = NewCatalog();
    CATBLOCK nFirst = NO_BLOCK;
    ASSERT_TRUE(pFile->NewChain(TABLE_DOCUMENT, {}, &nFirst));
    unsigned nReads = pFile->GetReadCount();
    CRecordRef ref;
    for (int i = 0; i < 9 * SlotCount(260); ++i) {
        ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, nFirst, {}, &ref));
        std::vector<BYTE> data(260, static_cast<BYTE>(i));
        ASSERT_TRUE(pFile->WriteRecord(ref, TABLE_DOCUMENT, data));
    }
    EXPECT_EQ(pFile->GetReadCount(), nReads);
    EXPECT_TRUE(pFile->CheckInvariants());
    ASSERT_TRUE(pFile->Release());
    ASSERT_TRUE(pFile->Acquire());
    std::vector<std::vector<BYTE>> records = ReadChain(*pFile, nFirst, TABLE_DOCUMENT);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(9 * SlotCount(260)));
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(records[i], std::vector<BYTE>(260, static_cast<BYTE>(i)));
}

TEST_F(CCatalogFileTest, TheCacheGrowsOnlyWhenPassesComeBack)
{
    // Records in half as many chunks again as the cache holds when opened.
    const int CHUNKS = CCatalogFile::FIRST_CACHE_CHUNKS * 3 / 2;
    NewCatalog()->Release();
    auto pFile = OpenObject("test.cat");
    ASSERT_TRUE(pFile->Acquire());
    CATBLOCK nFirst = NO_BLOCK;
    ASSERT_TRUE(pFile->NewChain(TABLE_DOCUMENT, {}, &nFirst));
    std::vector<CRecordRef> firstOfEachBlock;
    CRecordRef ref;
    for (int i = 0; i < 2 * CHUNKS * SlotCount(260); ++i) {
        ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, nFirst, {}, &ref));
        if (ref.nSlot == 0)
            firstOfEachBlock.push_back(ref);
    }
    ASSERT_TRUE(pFile->Release());
    ASSERT_TRUE(pFile->Acquire());

    std::vector<BYTE> data(260);
    auto readsOfAPass = [&] {
        unsigned nReads = pFile->GetReadCount();
        for (CRecordRef record : firstOfEachBlock)
            EXPECT_TRUE(pFile->ReadRecord(record, TABLE_DOCUMENT, data));
        return pFile->GetReadCount() - nReads;
    };
    EXPECT_GE(readsOfAPass(), static_cast<unsigned>(CHUNKS));
    // One pass left the cache as it was opened: the next pass reads again,
    // and asks for what the last one evicted, so the cache grows to hold it.
    EXPECT_GT(readsOfAPass(), 0U);
    EXPECT_EQ(readsOfAPass(), 0U);
    EXPECT_TRUE(pFile->CheckInvariants());
}

TEST_F(CCatalogFileTest, GetBlockReturnsOneObjectAndReadsTheFileOnce)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    ASSERT_TRUE(pFile->Release());
    ASSERT_TRUE(pFile->Acquire());

    unsigned nReads = pFile->GetReadCount();
    CCatalogBlock* pFirst = pFile->GetBlock(sample.nDocuments);
    CCatalogBlock* pSecond = pFile->GetBlock(sample.nDocuments);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_EQ(pFile->GetReadCount(), nReads + 1);
    EXPECT_EQ(pFirst->GetTableType(), TABLE_DOCUMENT);
    EXPECT_EQ(pFile->GetBlock(sample.nNodes)->GetTableType(), TABLE_NODE);
    EXPECT_EQ(pFile->GetBlock(pFile->GetLastBlock() + 1), nullptr);
    EXPECT_EQ(pFile->GetBlock(NO_BLOCK), nullptr);
}

TEST_F(CCatalogFileTest, CachedHeadersFollowWrites)
{
    auto pFile = NewCatalog();
    CATBLOCK nFirst = NO_BLOCK;
    ASSERT_TRUE(pFile->NewChain(TABLE_LINK, {}, &nFirst));
    CCatalogBlock* pBlock = pFile->GetBlock(nFirst);
    ASSERT_NE(pBlock, nullptr);
    EXPECT_EQ(pBlock->GetHeader().nHighestUsed, NO_SLOT);
    CRecordRef ref;
    for (int i = 0; i <= pBlock->GetSlotCount(); ++i)
        ASSERT_TRUE(pFile->AllocateRecord(TABLE_LINK, nFirst, {}, &ref));
    EXPECT_EQ(pBlock->GetHeader().nHighestUsed, pBlock->GetSlotCount() - 1);
    EXPECT_EQ(pBlock->GetHeader().nNextBlock, ref.nBlock);
    ASSERT_TRUE(pFile->FreeRecord({ nFirst, pBlock->GetSlotCount() - 1 }, TABLE_LINK));
    EXPECT_EQ(pBlock->GetHeader().nHighestUsed, pBlock->GetSlotCount() - 2);
    EXPECT_TRUE(pFile->CheckInvariants());
}

/* Open references. */

TEST_F(CCatalogFileTest, TheLastReleaseClosesAndAcquireReopens)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    ASSERT_TRUE(pFile->Acquire());
    EXPECT_EQ(pFile->GetOpenCount(), 2);
    ASSERT_TRUE(pFile->Release());
    EXPECT_EQ(pFile->GetOpenCount(), 1);
    EXPECT_TRUE(pFile->CheckRecord(sample.nNodes, 0, TABLE_NODE));

    ASSERT_TRUE(pFile->Release());
    EXPECT_EQ(pFile->GetOpenCount(), 0);
    EXPECT_FALSE(pFile->CheckRecord(sample.nNodes, 0, TABLE_NODE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(pFile->GetBlock(sample.nNodes), nullptr);
    CRecordRef ref;
    EXPECT_FALSE(pFile->AllocateRecord(TABLE_NODE, sample.nNodes, {}, &ref));
    EXPECT_FALSE(pFile->Release());
    EXPECT_TRUE(pFile->CheckInvariants());

    // A file replaced while closed is read afresh on the next opening.
    std::vector<BYTE> bytes = FileBytes();
    WriteLong(bytes.data() + 68, 4242);
    WriteFileBytes(bytes);
    ASSERT_TRUE(pFile->Acquire());
    EXPECT_EQ(pFile->GetHeaderLink(0), 4242);
    EXPECT_EQ(ReadChain(*pFile, sample.nDocuments, TABLE_DOCUMENT).size(), 20u);
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CCatalogFileTest, FailureToOpenReportsTheFatalErrorAndFails)
{
    auto pFile = OpenObject("missing.cat");
    EXPECT_FALSE(pFile->Acquire());
    EXPECT_EQ(pFile->GetOpenCount(), 0);
    auto reports = m_errors.Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].strFileName, "missing.cat");
    EXPECT_EQ(reports[0].strTitle, "Fatal Error");
    EXPECT_EQ(reports[0].nStyle, CATALOG_ERROR_STYLE);
    EXPECT_NE(reports[0].strText.find("missing.cat"), std::string::npos);
    // Each failed attempt is reported.
    EXPECT_FALSE(pFile->Acquire());
    EXPECT_EQ(m_errors.Count(), 2u);
}

TEST_F(CCatalogFileTest, FatalErrorTextComesFromTheResourceModule)
{
    std::filesystem::path module = BinaryRoot() / "app" / "arching.dll";
    if (!std::filesystem::exists(module))
        GTEST_SKIP() << "the resource module is not built";
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
    ASSERT_NE(hModule, nullptr);
    AfxSetResourceHandle(hModule);
    EXPECT_FALSE(OpenObject("gone.cat")->Acquire());
    AfxSetResourceHandle(nullptr);
    FreeLibrary(hModule);
    auto reports = m_errors.Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(
        reports[0].strText.rfind("A fatal error occurred while opening the catalog gone.cat. The catalog file", 0), 0u);
}

/* Record handles. */

class RecordOfTest : public CCatalogRecord {
public:
    using CCatalogRecord::CCatalogRecord;
};

TEST_F(CCatalogFileTest, RecordHandlesLoadSaveAndDelete)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    RecordOfTest record(pFile.get(), TABLE_NODE, { sample.nNodes, 1 });
    EXPECT_EQ(record.GetSize(), 64);
    ASSERT_TRUE(record.Load());
    EXPECT_EQ(record.GetData()[0], 2);
    record.GetData()[5] = 0x55;
    ASSERT_TRUE(record.Save());

    RecordOfTest again(pFile.get(), TABLE_NODE, { sample.nNodes, 1 });
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetData()[5], 0x55);

    ASSERT_TRUE(again.Delete());
    EXPECT_FALSE(record.Load());
    EXPECT_FALSE(record.Save());
    EXPECT_FALSE(record.Delete());
    EXPECT_FALSE(pFile->CheckRecord(sample.nNodes, 1, TABLE_NODE));
    // A handle of the wrong table does not load.
    RecordOfTest wrong(pFile.get(), TABLE_DOCUMENT, { sample.nNodes, 0 });
    EXPECT_FALSE(wrong.Load());
}

}
