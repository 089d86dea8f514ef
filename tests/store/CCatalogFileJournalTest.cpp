#include "store/CCatalogFile.h"

#include "store/CatalogIo.h"
#include "store/CatalogJournal.h"
#include "tests/store/CatalogFixture.h"
#include "tests/store/FlushCounter.h"

#include "platform/base/Checksum.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class CCatalogFileJournalTest : public CatalogFileTest {
protected:
    bool JournalExists(const std::string& strName = "test.cat") const
    {
        return std::filesystem::exists(HostPath(strName + ".jnl"));
    }
    // Copies the catalog and its journal to strName, as a copy of the folder would.
    void CopyPair(const std::string& strName) const
    {
        std::filesystem::copy_file(HostPath("test.cat"), HostPath(strName));
        std::filesystem::copy_file(HostPath("test.cat.jnl"), HostPath(strName + ".jnl"));
    }
    // The identity bytes of block 0 zeroed, as a file from before identities has them.
    void ForgetIdentity(const std::string& strName = "test.cat") const
    {
        PokeLong(BlockOffset(0) + IDENTITY_OFFSET, 0, strName);
    }
    // Leaves a batch in the journal that the file lacks: its writing in place fails.
    void LeaveBatchInJournal(CCatalogFile& file, const SampleCatalog& sample, BYTE bFill)
    {
        file.BeginAction();
        AddRecord(file, TABLE_LINK, sample.nLinks, bFill);
        SetCatalogWriteFailure(2);
        EXPECT_TRUE(file.EndAction()); // the journal took it
        SetCatalogWriteFailure(0);
        ASSERT_FALSE(file.IsWritable());
        file.Release();
        ASSERT_TRUE(JournalExists());
    }
    // Reopens the file and expects it to hold records, whole; the open file object.
    std::unique_ptr<CCatalogFile> ExpectReopenedWith(const std::vector<std::vector<BYTE>>& records)
    {
        auto pReopened = OpenObject();
        EXPECT_TRUE(pReopened->Acquire());
        EXPECT_EQ(ReadAll(*pReopened), records);
        EXPECT_TRUE(pReopened->CheckInvariants());
        return pReopened;
    }
    // Inside an action: a link record of fill bFill in a block the file holds,
    // and nChains new chains, each with one record of that fill.
    void AddLinkAndChains(CCatalogFile& file, const SampleCatalog& sample, int nChains, BYTE bFill)
    {
        AddRecord(file, TABLE_LINK, sample.nLinks, bFill);
        for (int i = 0; i < nChains; ++i) {
            CATBLOCK nBlock = NO_BLOCK;
            ASSERT_TRUE(file.NewChain(TABLE_KEYWORD, {}, &nBlock));
            AddRecord(file, TABLE_KEYWORD, nBlock, bFill);
        }
    }
};

// Lowers the appended blocks from which a batch writes them in place first, for one test.
class DirectAppendBlocks {
public:
    explicit DirectAppendBlocks(int nBlocks) { SetCatalogDirectAppendBlocks(nBlocks); }
    ~DirectAppendBlocks() { SetCatalogDirectAppendBlocks(0); }
    DirectAppendBlocks(const DirectAppendBlocks&) = delete;
    DirectAppendBlocks& operator=(const DirectAppendBlocks&) = delete;
};

constexpr int DIRECT_BLOCKS = 8;

} // namespace

TEST_F(CCatalogFileJournalTest, AnActionReachesTheFileWholeWithOneFlushOfTheJournal)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    const std::vector<BYTE> before = FileBytes();
    const std::string strJournal = ProgramPath("test.cat.jnl");
    CFlushCounter flushes;

    pFile->BeginAction();
    for (BYTE bFill = 1; bFill <= 40; ++bFill)
        AddRecord(*pFile, TABLE_DOCUMENT, sample.nDocuments, bFill); // new blocks too
    ASSERT_TRUE(pFile->SetHeaderLinks(3, 4));
    EXPECT_EQ(FileBytes(), before); // nothing reaches the file before the action ends
    EXPECT_TRUE(flushes.m_flushes.empty());
    ASSERT_TRUE(pFile->EndAction());
    EXPECT_EQ(flushes.m_flushes[strJournal], 1);
    std::vector<std::vector<BYTE>> records = ReadAll(*pFile);
    ASSERT_TRUE(pFile->Release());
    EXPECT_FALSE(JournalExists()); // a clean close removes it

    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(ReadAll(*pReopened), records);
    EXPECT_EQ(pReopened->GetHeaderLink(0), 3);
    EXPECT_EQ(pReopened->GetReplayedBatches(), 0);
}

TEST_F(CCatalogFileJournalTest, ABatchTheFileLacksIsReplayedAtTheNextOpening)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    std::vector<BYTE> lacking = FileBytes();

    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_GT(pReopened->GetReplayedBatches(), 0);
    EXPECT_FALSE(JournalExists());
    EXPECT_NE(FileBytes(), lacking);
    std::vector<std::vector<BYTE>> links = ReadChain(*pReopened, sample.nLinks, TABLE_LINK);
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(links.back(), std::vector<BYTE>(16, 0x5A));
    EXPECT_TRUE(pReopened->CheckInvariants());
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CCatalogFileJournalTest, AJournalOfAnotherFileIsDroppedUnread)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    // A file made the same way but another takes the name, as a restore
    // would rename it there, while the journal lies beside it.
    auto pOther = NewCatalog("other.cat");
    BuildSample(*pOther);
    pOther->Release();
    std::filesystem::rename(HostPath("other.cat"), HostPath("test.cat"));
    const std::vector<BYTE> other = FileBytes();

    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(pReopened->GetReplayedBatches(), 0);
    EXPECT_FALSE(JournalExists());
    EXPECT_EQ(FileBytes(), other);
}

TEST_F(CCatalogFileJournalTest, ABackupOfAClosedCatalogSettlesItsJournalFirst)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    ASSERT_TRUE(SettleCatalogJournal(ProgramPath("test.cat").c_str()));
    EXPECT_FALSE(JournalExists());
    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(pReopened->GetReplayedBatches(), 0);
    EXPECT_EQ(ReadChain(*pReopened, sample.nLinks, TABLE_LINK).back(), std::vector<BYTE>(16, 0x5A));
}

TEST_F(CCatalogFileJournalTest, AnActionTooLargeForOneBatchIsCommittedInParts)
{
    auto pFile = NewCatalog();
    BuildSample(*pFile);
    const std::string strJournal = ProgramPath("test.cat.jnl");
    CFlushCounter flushes;
    pFile->BeginAction();
    CATBLOCK nFirst = pFile->GetLastBlock() + 1;
    while (pFile->GetLastBlock() < nFirst + CCatalogFile::MAX_BATCH_BLOCKS) {
        CATBLOCK nBlock = NO_BLOCK;
        ASSERT_TRUE(pFile->NewChain(TABLE_KEYWORD, {}, &nBlock));
    }
    const int nInside = flushes.m_flushes[strJournal];
    EXPECT_GE(nInside, 1);
    ASSERT_TRUE(pFile->EndAction());
    EXPECT_GT(flushes.m_flushes[strJournal], nInside);
    EXPECT_TRUE(pFile->CheckInvariants());
}

/* A batch that appends many blocks writes them in place before its journal. */

TEST_F(CCatalogFileJournalTest, ALargeBatchJournalsOnlyTheBlocksTheFileHeldWithOneFlushOfEach)
{
    const DirectAppendBlocks direct(DIRECT_BLOCKS);
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    const std::string strJournal = ProgramPath("test.cat.jnl");
    CFlushCounter flushes;

    pFile->BeginAction();
    AddLinkAndChains(*pFile, sample, DIRECT_BLOCKS, 0x3C);
    ASSERT_TRUE(pFile->EndAction());
    EXPECT_EQ(flushes.m_flushes[strJournal], 1);
    EXPECT_EQ(flushes.m_flushes[ProgramPath("test.cat")], 1);
    // The new chains' blocks are not in it; a block of links and the header are.
    EXPECT_LT(flushes.m_written[strJournal], 4 * BLOCK_SIZE);
    EXPECT_GE(flushes.m_written[ProgramPath("test.cat")], DIRECT_BLOCKS * BLOCK_SIZE);
    std::vector<std::vector<BYTE>> records = ReadAll(*pFile);
    ASSERT_TRUE(pFile->Release());
    ExpectReopenedWith(records);
}

TEST_F(CCatalogFileJournalTest, ALargeBatchTheJournalRefusedLeavesTheFileAsItWas)
{
    const DirectAppendBlocks direct(DIRECT_BLOCKS);
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    const std::vector<std::vector<BYTE>> before = ReadAll(*pFile);
    const CATBLOCK nLastBefore = pFile->GetLastBlock();

    pFile->BeginAction();
    AddLinkAndChains(*pFile, sample, DIRECT_BLOCKS, 0x3C);
    SetCatalogWriteFailure(2); // the new blocks are written in one write, the journal fails
    EXPECT_FALSE(pFile->EndAction());
    SetCatalogWriteFailure(0);
    EXPECT_EQ(ReadAll(*pFile), before);
    pFile->Release();
    EXPECT_GT(FileBytes().size(), static_cast<std::size_t>(BlockOffset(nLastBefore + 1))); // past the end: unread

    auto pReopened = ExpectReopenedWith(before);
    EXPECT_EQ(pReopened->GetLastBlock(), nLastBefore);
    // The blocks left past the end are taken again by the next batch.
    pReopened->BeginAction();
    AddLinkAndChains(*pReopened, sample, DIRECT_BLOCKS, 0x4D);
    ASSERT_TRUE(pReopened->EndAction());
    std::vector<std::vector<BYTE>> after = ReadAll(*pReopened);
    ASSERT_TRUE(pReopened->Release());
    auto pAgain = ExpectReopenedWith(after);
    EXPECT_EQ(ReadChain(*pAgain, sample.nLinks, TABLE_LINK).back(), std::vector<BYTE>(16, 0x4D));
}

TEST_F(CCatalogFileJournalTest, ALargeBatchWhoseWritingInPlaceFailedIsCompletedAtTheNextOpening)
{
    const DirectAppendBlocks direct(DIRECT_BLOCKS);
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);

    pFile->BeginAction();
    AddLinkAndChains(*pFile, sample, DIRECT_BLOCKS, 0x3C);
    std::vector<std::vector<BYTE>> records = ReadAll(*pFile);
    SetCatalogWriteFailure(3); // the new blocks and the journal are written; the header in place fails
    EXPECT_TRUE(pFile->EndAction());
    SetCatalogWriteFailure(0);
    EXPECT_FALSE(pFile->IsWritable());
    pFile->Release();
    ASSERT_TRUE(JournalExists());

    auto pReopened = ExpectReopenedWith(records);
    EXPECT_GT(pReopened->GetReplayedBatches(), 0);
    EXPECT_EQ(m_errors.Count(), 0u);
}

/* The journal is bound to the catalog's identity, not to the file. */

TEST_F(CCatalogFileJournalTest, EveryNewCatalogHasAnIdentityOfItsOwnThatItsCopiesKeep)
{
    auto pFile = NewCatalog();
    BuildSample(*pFile);
    auto pOther = NewCatalog("other.cat");
    BuildSample(*pOther);
    const DWORD nIdentity = pFile->GetIdentity();
    EXPECT_NE(nIdentity, 0u);
    EXPECT_NE(pOther->GetIdentity(), nIdentity);
    ASSERT_TRUE(pFile->Release());
    std::filesystem::copy_file(HostPath("test.cat"), HostPath("copy.cat"));
    auto pCopy = OpenObject("copy.cat");
    ASSERT_TRUE(pCopy->Acquire());
    EXPECT_EQ(pCopy->GetIdentity(), nIdentity);
}

TEST_F(CCatalogFileJournalTest, AJournalCopiedWithItsCatalogIsReplayedInTheCopy)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    CopyPair("copy.cat");
    // The copy also takes the original's name, as a folder restored over itself.
    std::filesystem::remove(HostPath("test.cat"));
    std::filesystem::remove(HostPath("test.cat.jnl"));
    std::filesystem::copy_file(HostPath("copy.cat"), HostPath("test.cat"));
    std::filesystem::copy_file(HostPath("copy.cat.jnl"), HostPath("test.cat.jnl"));

    for (const char* pszName : { "copy.cat", "test.cat" }) {
        SCOPED_TRACE(pszName);
        auto pCopy = OpenObject(pszName);
        ASSERT_TRUE(pCopy->Acquire());
        EXPECT_GT(pCopy->GetReplayedBatches(), 0);
        EXPECT_FALSE(JournalExists(pszName));
        EXPECT_EQ(ReadChain(*pCopy, sample.nLinks, TABLE_LINK).back(), std::vector<BYTE>(16, 0x5A));
    }
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CCatalogFileJournalTest, AJournalOfAnotherCatalogWithTheSameHeaderIsNeverApplied)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    // Another catalog made the same way: its header is the journal's base header.
    auto pOther = NewCatalog("other.cat");
    BuildSample(*pOther);
    pOther->Release();
    std::filesystem::copy_file(HostPath("test.cat.jnl"), HostPath("other.cat.jnl"));
    const std::vector<BYTE> other = FileBytes("other.cat");
    const std::vector<BYTE> own = FileBytes();
    ASSERT_EQ(std::vector<BYTE>(other.begin(), other.begin() + FILE_HEADER_SIZE),
        std::vector<BYTE>(own.begin(), own.begin() + FILE_HEADER_SIZE));

    auto pReopened = OpenObject("other.cat");
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(pReopened->GetReplayedBatches(), 0);
    EXPECT_FALSE(JournalExists("other.cat"));
    EXPECT_EQ(FileBytes("other.cat"), other);
}

TEST_F(CCatalogFileJournalTest, ACatalogFromBeforeIdentitiesGetsOneWithItsFirstChangeAndNotWhenOpened)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    ASSERT_TRUE(pFile->Release());
    ForgetIdentity();
    const std::vector<BYTE> before = FileBytes();

    // Opening, reading and closing write nothing.
    ASSERT_TRUE(pFile->Acquire());
    EXPECT_EQ(pFile->GetIdentity(), 0u);
    EXPECT_FALSE(ReadAll(*pFile).empty());
    ASSERT_TRUE(pFile->Release());
    EXPECT_EQ(FileBytes(), before);

    // A failed write of the identity fails the change and leaves the file as it was.
    ASSERT_TRUE(pFile->Acquire());
    pFile->BeginAction();
    AddRecord(*pFile, TABLE_LINK, sample.nLinks, 0x3C);
    SetCatalogWriteFailure(1);
    EXPECT_FALSE(pFile->EndAction());
    SetCatalogWriteFailure(0);
    EXPECT_EQ(pFile->GetIdentity(), 0u);
    EXPECT_EQ(FileBytes(), before);
    ASSERT_TRUE(pFile->Release());

    // The first change gives it one, and from then on its journal binds to it.
    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    pReopened->BeginAction();
    AddRecord(*pReopened, TABLE_LINK, sample.nLinks, 0x3C);
    ASSERT_TRUE(pReopened->EndAction());
    const DWORD nIdentity = pReopened->GetIdentity();
    EXPECT_NE(nIdentity, 0u);
    const auto nAt = static_cast<std::size_t>(BlockOffset(0) + IDENTITY_OFFSET);
    EXPECT_EQ(ReadLong(FileBytes().data() + nAt), static_cast<LONG>(nIdentity));
    LeaveBatchInJournal(*pReopened, sample, 0x6B);
    CopyPair("copy.cat");
    auto pCopy = OpenObject("copy.cat");
    ASSERT_TRUE(pCopy->Acquire());
    EXPECT_GT(pCopy->GetReplayedBatches(), 0);
    EXPECT_EQ(pCopy->GetIdentity(), nIdentity);
    std::vector<std::vector<BYTE>> links = ReadChain(*pCopy, sample.nLinks, TABLE_LINK);
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(links.back(), std::vector<BYTE>(16, 0x6B));
}

TEST_F(CCatalogFileJournalTest, AJournalAnOlderBuildLeftIsReplayedIntoItsOwnFileOnly)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    // The older build's journal: version 1, bound to the file's number on its volume.
    std::uint64_t nFileNumber = 0;
    {
        CCatalogIo io;
        ASSERT_TRUE(io.Open(ProgramPath("test.cat").c_str(), false));
        nFileNumber = io.GetIdentity();
        ASSERT_TRUE(io.Close());
    }
    std::vector<BYTE> journal = FileBytes("test.cat.jnl");
    WriteLong(journal.data() + 8, 1);
    WriteLong(journal.data() + 20, static_cast<LONG>(static_cast<DWORD>(nFileNumber)));
    WriteLong(journal.data() + 24, static_cast<LONG>(static_cast<DWORD>(nFileNumber >> 32)));
    WriteLong(journal.data() + 112, static_cast<LONG>(Crc32(std::span<const BYTE>(journal.data(), 112))));
    WriteFileBytes(journal, "test.cat.jnl");
    CopyPair("copy.cat");

    auto pCopy = OpenObject("copy.cat");
    ASSERT_TRUE(pCopy->Acquire());
    EXPECT_EQ(pCopy->GetReplayedBatches(), 0) << "another file's number";
    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_GT(pReopened->GetReplayedBatches(), 0);
    EXPECT_EQ(ReadChain(*pReopened, sample.nLinks, TABLE_LINK).back(), std::vector<BYTE>(16, 0x5A));
}

TEST_F(CCatalogFileJournalTest, ANewCatalogCutBeforeItsFirstBlocksReachedTheFileIsMadeWhole)
{
    auto pFile = OpenObject();
    ASSERT_TRUE(pFile->Create(CATALOG_KIND_MAIN));
    ASSERT_TRUE(pFile->Acquire());
    pFile->BeginAction();
    BuildSample(*pFile);
    SetCatalogWriteFailure(2); // the journal takes the batch; nothing of it reaches the file
    EXPECT_TRUE(pFile->EndAction());
    SetCatalogWriteFailure(0);
    const DWORD nIdentity = pFile->GetIdentity();
    pFile->Release();
    ASSERT_EQ(FileBytes().size(), static_cast<std::size_t>(FILE_HEADER_SIZE));

    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(pReopened->GetReplayedBatches(), 1);
    EXPECT_EQ(pReopened->GetIdentity(), nIdentity);
    EXPECT_GT(pReopened->GetLastBlock(), 0);
    EXPECT_TRUE(pReopened->CheckInvariants());
}
