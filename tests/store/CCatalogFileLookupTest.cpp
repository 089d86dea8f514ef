#include "store/CCatalogFile.h"

#include "platform/base/WinError.h"
#include "tests/store/CatalogFixture.h"

#include <filesystem>

namespace {

using CCatalogFileLookupTest = CatalogFileTest;

constexpr int DOCUMENT_SIZE = 260; // the test catalog's document record

}

// Every record looked up alone reads as the cache reads it, with its chain's
// owner; the first lookup in a chunk reads the file without caching it, the
// second reads the chunk whole and the third finds it cached.
TEST_F(CCatalogFileLookupTest, LookupsReadWhatTheCacheReadsAndCacheOnTheSecondVisit)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    const std::vector<CRecordRef> refs = ChainRefs(*pFile, sample.nDocuments);
    ASSERT_EQ(refs.size(), 20u);
    ASSERT_TRUE(pFile->Release());
    ASSERT_TRUE(pFile->Acquire());

    // Three records of one chunk that holds no other table's block.
    std::vector<CRecordRef> sameChunk;
    for (CRecordRef ref : refs) {
        if (ref.nBlock / 2 == (sample.nDocuments + 1) / 2 && ref.nBlock / 2 != sample.nNodes / 2)
            sameChunk.push_back(ref);
    }
    ASSERT_GE(sameChunk.size(), 3u);
    std::vector<BYTE> alone(DOCUMENT_SIZE), cached(DOCUMENT_SIZE);
    auto readsOfLookup = [&](CRecordRef ref) {
        const unsigned nReads = pFile->GetReadCount();
        CRecordRef owner;
        EXPECT_TRUE(pFile->LookUpRecord(ref, TABLE_DOCUMENT, alone, &owner));
        EXPECT_EQ(owner, (CRecordRef { sample.nNodes, 1 }));
        return pFile->GetReadCount() - nReads;
    };
    EXPECT_EQ(readsOfLookup(sameChunk[0]), 1u);
    EXPECT_EQ(readsOfLookup(sameChunk[1]), 1u);
    EXPECT_EQ(readsOfLookup(sameChunk[2]), 0u);

    ASSERT_TRUE(pFile->Release());
    ASSERT_TRUE(pFile->Acquire());
    for (std::size_t n = 0; n < refs.size(); ++n) {
        CRecordRef owner;
        ASSERT_TRUE(pFile->LookUpRecord(refs[n], TABLE_DOCUMENT, alone, &owner)) << n;
        ASSERT_TRUE(pFile->ReadRecord(refs[n], TABLE_DOCUMENT, cached)) << n;
        EXPECT_EQ(alone, cached) << n;
        EXPECT_EQ(alone.front(), static_cast<BYTE>(n + 1)) << n;
        EXPECT_EQ(owner, (CRecordRef { sample.nNodes, 1 })) << n;
    }
    EXPECT_TRUE(pFile->CheckInvariants());
    EXPECT_EQ(m_errors.Count(), 0u);
}

// A change the batch has not committed yet is what a lookup sees, before
// and after the commit.
TEST_F(CCatalogFileLookupTest, LookupsSeeChangesOfTheOpenBatch)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    const CRecordRef ref = ChainRefs(*pFile, sample.nDocuments).back();
    ASSERT_TRUE(pFile->Release());
    ASSERT_TRUE(pFile->Acquire());

    std::vector<BYTE> changed(DOCUMENT_SIZE, 0x5A), read(DOCUMENT_SIZE);
    CRecordRef owner;
    pFile->BeginAction();
    ASSERT_TRUE(pFile->WriteRecord(ref, TABLE_DOCUMENT, changed));
    ASSERT_TRUE(pFile->LookUpRecord(ref, TABLE_DOCUMENT, read, &owner));
    EXPECT_EQ(read, changed);
    ASSERT_TRUE(pFile->EndAction());
    ASSERT_TRUE(pFile->Release());
    ASSERT_TRUE(pFile->Acquire());
    ASSERT_TRUE(pFile->LookUpRecord(ref, TABLE_DOCUMENT, read, &owner));
    EXPECT_EQ(read, changed);
}

// A free slot, another table's block, a slot past the block's end or a block
// past the file's end is a wrong reference, not damage, whether or not its
// chunk is cached.
TEST_F(CCatalogFileLookupTest, WrongReferencesFailWithoutDamage)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    const CRecordRef freed = ChainRefs(*pFile, sample.nDocuments)[3];
    ASSERT_TRUE(pFile->FreeRecord(freed, TABLE_DOCUMENT));
    ASSERT_TRUE(pFile->Release());

    std::vector<BYTE> read(DOCUMENT_SIZE);
    for (int nPass = 0; nPass < 2; ++nPass) {
        ASSERT_TRUE(pFile->Acquire());
        if (nPass == 1) {
            // Every block cached first.
            for (CATBLOCK nBlock = 0; nBlock <= pFile->GetLastBlock(); ++nBlock)
                ASSERT_NE(pFile->GetBlock(nBlock), nullptr);
        }
        for (CRecordRef wrong : { freed, CRecordRef { sample.nLinks, 0 }, CRecordRef { sample.nDocuments, 7 },
                 CRecordRef { pFile->GetLastBlock() + 1, 0 } }) {
            CRecordRef owner;
            SetLastError(0);
            EXPECT_FALSE(pFile->LookUpRecord(wrong, TABLE_DOCUMENT, read, &owner)) << wrong.nBlock << nPass;
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << wrong.nBlock << nPass;
        }
        EXPECT_TRUE(pFile->IsWritable());
        ASSERT_TRUE(pFile->Release());
    }
    EXPECT_EQ(m_errors.Count(), 0u);
}

// A damaged block and a file cut while it is open are reported once and fail
// the lookup: nothing is read from past the file's end.
TEST_F(CCatalogFileLookupTest, DamagedBlocksAndACutFileAreReported)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    const std::vector<CRecordRef> refs = ChainRefs(*pFile, sample.nDocuments);
    ASSERT_TRUE(pFile->Release());

    // A highest used slot past the block's slots.
    PokeLong(BlockOffset(refs.back().nBlock) + 8, 40);
    ASSERT_TRUE(pFile->Acquire());
    std::vector<BYTE> read(DOCUMENT_SIZE);
    CRecordRef owner;
    EXPECT_FALSE(pFile->LookUpRecord(refs.back(), TABLE_DOCUMENT, read, &owner));
    EXPECT_EQ(m_errors.Count(), 1u);
    EXPECT_FALSE(pFile->IsWritable());
    ASSERT_TRUE(pFile->Release());

    PokeLong(BlockOffset(refs.back().nBlock) + 8, refs.back().nSlot);
    ASSERT_TRUE(pFile->Acquire());
    std::filesystem::resize_file(HostPath("test.cat"), static_cast<std::uintmax_t>(BlockOffset(refs.front().nBlock)));
    EXPECT_FALSE(pFile->LookUpRecord(refs.back(), TABLE_DOCUMENT, read, &owner));
    EXPECT_EQ(m_errors.Count(), 2u);
    EXPECT_FALSE(pFile->IsWritable());
}

// Lookups that come back to chunks a pass over the file evicted lately read
// them whole and grow the cache, as reads through the cache do: a file the
// full cache holds ends up cached, whichever way its records are asked for.
TEST_F(CCatalogFileLookupTest, LookupsAfterAPassGrowTheCacheToHoldTheFile)
{
    // Records in half as many chunks again as the cache holds when opened.
    const int CHUNKS = CCatalogFile::FIRST_CACHE_CHUNKS * 3 / 2;
    NewCatalog()->Release();
    auto pFile = OpenObject("test.cat");
    ASSERT_TRUE(pFile->Acquire());
    CATBLOCK nFirst = NO_BLOCK;
    ASSERT_TRUE(pFile->NewChain(TABLE_DOCUMENT, {}, &nFirst));
    // One record of each chunk, so that no pass asks for a chunk twice.
    std::vector<CRecordRef> oneOfEachChunk;
    CRecordRef ref;
    for (int i = 0; i < 2 * CHUNKS * SlotCount(DOCUMENT_SIZE); ++i) {
        ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, nFirst, {}, &ref));
        if (ref.nSlot == 0 && (oneOfEachChunk.empty() || oneOfEachChunk.back().nBlock / 2 != ref.nBlock / 2))
            oneOfEachChunk.push_back(ref);
    }
    ASSERT_TRUE(pFile->Release());
    ASSERT_TRUE(pFile->Acquire());

    std::vector<BYTE> data(DOCUMENT_SIZE);
    for (CRecordRef record : oneOfEachChunk)
        ASSERT_TRUE(pFile->ReadRecord(record, TABLE_DOCUMENT, data));
    auto readsOfALookupPass = [&] {
        const unsigned nReads = pFile->GetReadCount();
        CRecordRef owner;
        for (CRecordRef record : oneOfEachChunk)
            EXPECT_TRUE(pFile->LookUpRecord(record, TABLE_DOCUMENT, data, &owner));
        return pFile->GetReadCount() - nReads;
    };
    EXPECT_GT(readsOfALookupPass(), 0U);
    EXPECT_EQ(readsOfALookupPass(), 0U);
    EXPECT_TRUE(pFile->CheckInvariants());
}
