#include "store/CCatalogFile.h"

#include "platform/base/WinError.h"
#include "tests/store/CatalogFixture.h"

#include <random>

namespace {

// Damaged catalog files: every case fails soft, with one fatal report per
// opening, and never crashes or walks without end.
class CCatalogFileCorruptTest : public CatalogFileTest {
protected:
    // Writes the sample catalog to test.cat and closes it.
    SampleCatalog WriteSample()
    {
        auto pFile = NewCatalog();
        SampleCatalog sample = BuildSample(*pFile);
        EXPECT_TRUE(pFile->Release());
        return sample;
    }

    // The file cannot be opened: Acquire fails and reports once.
    void ExpectOpenFails()
    {
        auto pFile = OpenObject();
        EXPECT_FALSE(pFile->Acquire());
        EXPECT_EQ(pFile->GetOpenCount(), 0);
        ASSERT_EQ(m_errors.Count(), 1u);
        EXPECT_EQ(m_errors.Reports()[0].strFileName, "test.cat");
        EXPECT_TRUE(pFile->CheckInvariants());
    }

    // The file opens, but walking it finds the damage: the chain of nFirst
    // reads short, one report goes out, and writes are refused from then on.
    void ExpectWalkFindsDamage(CATBLOCK nFirst, LONG nTableType, std::size_t nIntact)
    {
        auto pFile = OpenObject();
        ASSERT_TRUE(pFile->Acquire());
        EXPECT_EQ(m_errors.Count(), 0u);
        EXPECT_LE(ReadChain(*pFile, nFirst, nTableType).size(), nIntact);
        (void)ReadAll(*pFile);
        EXPECT_EQ(m_errors.Count(), 1u);
        EXPECT_FALSE(pFile->IsWritable());
        CRecordRef ref;
        EXPECT_FALSE(pFile->AllocateRecord(TABLE_KEYWORD, NO_BLOCK, {}, &ref));
        EXPECT_EQ(GetLastError(), ERROR_WRITE_PROTECT);
        EXPECT_TRUE(pFile->CheckInvariants());
    }

    static std::int64_t HeaderField(CATBLOCK nBlock, int nField)
    {
        return BlockOffset(nBlock) + 4 * std::int64_t { nField };
    }
};

/* The file header. */

TEST_F(CCatalogFileCorruptTest, ZeroLengthFile)
{
    WriteFileBytes({});
    ExpectOpenFails();
}

TEST_F(CCatalogFileCorruptTest, FileCutInsideTheHeader)
{
    WriteSample();
    std::vector<BYTE> bytes = FileBytes();
    bytes.resize(40);
    WriteFileBytes(bytes);
    ExpectOpenFails();
}

TEST_F(CCatalogFileCorruptTest, FileCutInsideABlock)
{
    WriteSample();
    std::vector<BYTE> bytes = FileBytes();
    bytes.resize(static_cast<std::size_t>(BlockOffset(3) + 100));
    WriteFileBytes(bytes);
    ExpectOpenFails();
}

TEST_F(CCatalogFileCorruptTest, BlockSizeOtherThan2048)
{
    WriteSample();
    PokeLong(4, 4096);
    ExpectOpenFails();
}

TEST_F(CCatalogFileCorruptTest, VersionOtherThan600)
{
    WriteSample();
    PokeByte(16, '1'); // "6.0.10"
    ExpectOpenFails();
}

TEST_F(CCatalogFileCorruptTest, LastBlockBeyondTheFileLength)
{
    SampleCatalog sample = WriteSample();
    PokeLong(8, sample.nEmpty + 1);
    ExpectOpenFails();
}

TEST_F(CCatalogFileCorruptTest, HeaderTextWithoutItsEnd)
{
    WriteSample();
    std::vector<BYTE> bytes = FileBytes();
    std::fill(bytes.begin() + 20, bytes.begin() + 44, BYTE { 'a' });
    WriteFileBytes(bytes);
    ExpectOpenFails();
}

TEST_F(CCatalogFileCorruptTest, UnknownFileKind)
{
    WriteSample();
    PokeLong(0, 9);
    ExpectOpenFails();
}

/* Blocks. */

TEST_F(CCatalogFileCorruptTest, SlotFlagNeitherUsedNorFree)
{
    SampleCatalog sample = WriteSample();
    PokeByte(BlockOffset(sample.nDocuments) + BLOCK_HEADER_SIZE + 2, 0x37);
    ExpectWalkFindsDamage(sample.nDocuments, TABLE_DOCUMENT, 0);
}

TEST_F(CCatalogFileCorruptTest, RecordSizeOtherThanTheTables)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nLinks, 1), 20);
    ExpectWalkFindsDamage(sample.nLinks, TABLE_LINK, 0);
}

TEST_F(CCatalogFileCorruptTest, UnknownTableType)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nLinks, 0), 77);
    ExpectWalkFindsDamage(sample.nLinks, TABLE_LINK, 0);
}

TEST_F(CCatalogFileCorruptTest, HighestUsedSlotAtOrAboveTheSlotCount)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nLinks, 2), SlotCount(16));
    ExpectWalkFindsDamage(sample.nLinks, TABLE_LINK, 0);
}

TEST_F(CCatalogFileCorruptTest, HighestUsedSlotBelowAUsedSlot)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nLinks, 2), 1);
    ExpectWalkFindsDamage(sample.nLinks, TABLE_LINK, 0);
}

TEST_F(CCatalogFileCorruptTest, NextBlockCycle)
{
    SampleCatalog sample = WriteSample();
    // Documents fill blocks first, first+1, first+2: close the circle with
    // links that agree both ways, so only the walk's bound can find it.
    CATBLOCK nFirst = sample.nDocuments;
    PokeLong(HeaderField(nFirst + 2, 4), nFirst);
    PokeLong(HeaderField(nFirst, 3), nFirst + 2);
    ExpectWalkFindsDamage(nFirst, TABLE_DOCUMENT, 0);
}

TEST_F(CCatalogFileCorruptTest, NextBlockCycleFromTheMiddleOfAChain)
{
    SampleCatalog sample = WriteSample();
    CATBLOCK nFirst = sample.nDocuments;
    PokeLong(HeaderField(nFirst + 2, 4), nFirst + 1);
    PokeLong(HeaderField(nFirst + 1, 3), nFirst + 2);
    PokeLong(HeaderField(nFirst, 4), NO_BLOCK); // the first block leads nowhere now
    ExpectWalkFindsDamage(nFirst + 1, TABLE_DOCUMENT, 0);
}

TEST_F(CCatalogFileCorruptTest, ChainLinkBeyondTheLastBlock)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nDocuments + 1, 4), 99);
    ExpectWalkFindsDamage(sample.nDocuments, TABLE_DOCUMENT, 7);
}

TEST_F(CCatalogFileCorruptTest, ChainLinkToABlockOfAnotherTable)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nDocuments + 2, 4), sample.nLinks);
    ExpectWalkFindsDamage(sample.nDocuments, TABLE_DOCUMENT, 20);
}

TEST_F(CCatalogFileCorruptTest, PreviousLinkThatDisagrees)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nDocuments + 1, 3), sample.nLinks);
    ExpectWalkFindsDamage(sample.nDocuments, TABLE_DOCUMENT, 7);
}

TEST_F(CCatalogFileCorruptTest, GarbageOwnerReferences)
{
    SampleCatalog sample = WriteSample();
    std::vector<BYTE> original = FileBytes();
    for (CRecordRef owner : { CRecordRef { 0x7FFFFFF0, 0 }, CRecordRef { 0, -5 }, CRecordRef { NO_BLOCK, 3 },
             CRecordRef { 0, 0x40000000 } }) {
        WriteFileBytes(original);
        PokeLong(HeaderField(sample.nLinks, 5), owner.nBlock);
        PokeLong(HeaderField(sample.nLinks, 6), owner.nSlot);
        CatalogErrorRecorder errors;
        ExpectWalkFindsDamage(sample.nLinks, TABLE_LINK, 0);
    }
}

TEST_F(CCatalogFileCorruptTest, OwnerThatDiffersWithinAChain)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nDocuments + 1, 6), 2);
    ExpectWalkFindsDamage(sample.nDocuments, TABLE_DOCUMENT, 7);
}

TEST_F(CCatalogFileCorruptTest, DamageIsReportedOncePerOpening)
{
    SampleCatalog sample = WriteSample();
    PokeLong(HeaderField(sample.nLinks, 1), 20);
    auto pFile = OpenObject();
    for (int nOpening = 1; nOpening <= 2; ++nOpening) {
        ASSERT_TRUE(pFile->Acquire());
        EXPECT_EQ(pFile->GetBlock(sample.nLinks), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
        EXPECT_FALSE(pFile->CheckRecord(sample.nLinks, 0, TABLE_LINK));
        EXPECT_EQ(ReadChain(*pFile, sample.nDocuments, TABLE_DOCUMENT).size(), 20u); // the rest still reads
        EXPECT_EQ(m_errors.Count(), static_cast<std::size_t>(nOpening));
        ASSERT_TRUE(pFile->Release());
    }
}

TEST_F(CCatalogFileCorruptTest, RecordClassesReportDamageTheyFind)
{
    WriteSample();
    auto pFile = OpenObject();
    ASSERT_TRUE(pFile->Acquire());
    pFile->ReportDamage();
    pFile->ReportDamage();
    EXPECT_EQ(m_errors.Count(), 1u);
    EXPECT_FALSE(pFile->SetHeaderLinks(1, 2));
    EXPECT_EQ(GetLastError(), ERROR_WRITE_PROTECT);
}

/* Random damage. Each case mutates the sample file a few bytes at a time,
   mostly in block headers and slot flags where the checks are, then opens it,
   walks every chain, reads every record and tries to write. */

class CCatalogFileMutationTest : public CCatalogFileCorruptTest {
protected:
    void Run(unsigned nFirstSeed, unsigned nSeeds)
    {
        WriteSample();
        const std::vector<BYTE> original = FileBytes();
        const auto nBlocks = static_cast<int>((original.size() - FILE_HEADER_SIZE) / BLOCK_SIZE);
        for (unsigned nSeed = nFirstSeed; nSeed < nFirstSeed + nSeeds; ++nSeed) {
            std::mt19937 random(nSeed);
            std::vector<BYTE> bytes = original;
            int nMutations = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < nMutations; ++i) {
                std::size_t nOffset;
                if (random() % 4 != 0) {
                    int nBlock = static_cast<int>(random() % static_cast<unsigned>(nBlocks));
                    nOffset = static_cast<std::size_t>(BlockOffset(nBlock)) + random() % (BLOCK_HEADER_SIZE + 40);
                } else {
                    nOffset = random() % bytes.size();
                }
                // Small numbers make plausible but wrong links and sizes.
                bytes[nOffset] = static_cast<BYTE>(random() % 2 ? random() % 8 : random());
            }
            WriteFileBytes(bytes);
            SCOPED_TRACE(testing::Message() << "seed " << nSeed);
            WalkEverything();
        }
    }

private:
    void WalkEverything()
    {
        CatalogErrorRecorder errors;
        auto pFile = OpenObject();
        if (!pFile->Acquire()) {
            EXPECT_EQ(errors.Count(), 1u);
            return;
        }
        CATBLOCK nLast = pFile->GetLastBlock();
        std::size_t nBound = static_cast<std::size_t>(nLast + 1) * SlotCount(1);
        for (CATBLOCK nBlock = 0; nBlock <= nLast; ++nBlock) {
            CCatalogBlock* pBlock = pFile->GetBlock(nBlock);
            if (!pBlock)
                continue;
            LONG nType = pBlock->GetTableType();
            std::vector<BYTE> data(static_cast<std::size_t>(pBlock->GetRecordSize()));
            std::size_t nSteps = 0;
            for (CRecordRef cursor { nBlock, NO_SLOT }; pFile->NextRecord(&cursor); ++nSteps) {
                ASSERT_LT(nSteps, nBound) << "endless walk from block " << nBlock;
                (void)pFile->ReadRecord(cursor, nType, data);
                (void)pFile->CheckRecord(cursor.nBlock, cursor.nSlot, nType);
            }
            CRecordRef ref;
            if (pFile->AllocateRecord(nType, nBlock, {}, &ref)) {
                EXPECT_TRUE(pFile->FreeRecord(ref, nType));
            }
        }
        EXPECT_LE(errors.Count(), 1u);
        EXPECT_TRUE(pFile->CheckInvariants());
        EXPECT_TRUE(pFile->Release());
    }
};

TEST_F(CCatalogFileMutationTest, Seeds0To2499)
{
    Run(0, 2500);
}
TEST_F(CCatalogFileMutationTest, Seeds2500To4999)
{
    Run(2500, 2500);
}
TEST_F(CCatalogFileMutationTest, Seeds5000To7499)
{
    Run(5000, 2500);
}
TEST_F(CCatalogFileMutationTest, Seeds7500To9999)
{
    Run(7500, 2500);
}

}
