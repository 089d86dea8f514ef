#include "store/CCatalogFile.h"

#include "platform/base/WinError.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstring>
#include <iterator>

// The batch of a catalog file: the changes made in memory since the last
// commit, and how a commit takes them to the file or a rollback drops them.
// The states and invariants are at the top of CCatalogFile.cpp.

namespace {

// The most blocks written in place in one write.
constexpr std::size_t MAX_RUN_BLOCKS = 256;

// The journal size from which a commit starts a new generation; the test seam may lower it.
std::atomic<std::int64_t> g_nCheckpointBytes { CCatalogFile::CHECKPOINT_BYTES };

// The appended blocks from which a batch writes them in place before its journal; the test seam may lower it.
std::atomic<int> g_nDirectAppendBlocks { CCatalogFile::DIRECT_APPEND_BLOCKS };

}

void SetCatalogCheckpointBytes(std::int64_t nBytes)
{
    g_nCheckpointBytes.store(nBytes > 0 ? nBytes : CCatalogFile::CHECKPOINT_BYTES);
}

void SetCatalogDirectAppendBlocks(int nBlocks)
{
    g_nDirectAppendBlocks.store(nBlocks > 0 ? nBlocks : CCatalogFile::DIRECT_APPEND_BLOCKS);
}

/******************************************************************************
 * Changes in memory
 ******************************************************************************/

void CCatalogFile::NoteHeaderChangeLocked()
{
    NoteChangeLocked();
    m_bHeaderDirty = true;
}

void CCatalogFile::PinChunkLocked(CChunkList::iterator it)
{
    if (it->bPinned)
        return;
    m_pinnedChunks.splice(m_pinnedChunks.end(), m_chunks, it);
    it->bPinned = true;
}

void CCatalogFile::UnpinChunkLocked(CChunkList::iterator it)
{
    it->bDirty = {};
    if (!it->bPinned)
        return;
    m_chunks.splice(m_chunks.begin(), m_pinnedChunks, it);
    it->bPinned = false;
}

void CCatalogFile::NoteChangeLocked()
{
    if (!HasChangesLocked())
        m_batchStart = std::chrono::steady_clock::now();
}

BOOL CCatalogFile::CacheNewBlockLocked(CATBLOCK nBlock, const BYTE* pData)
{
    // A new first block of a chunk makes a chunk of one block. A new second
    // block joins its chunk, which is read first when it is not cached: its
    // first block is in the file.
    CATBLOCK nFirst = nBlock & ~1;
    auto it = FindChunkLocked(nFirst);
    if (it == m_chunks.end()) {
        CChunk& chunk = AddChunkLocked(nFirst);
        chunk.nBlocks = 1;
        it = m_chunkIndex[static_cast<std::size_t>(nFirst) / 2];
        if (nBlock != nFirst && !m_io.ReadAt(BlockFileOffset(nFirst), std::span<BYTE>(chunk.data.data(), BLOCK_SIZE))) {
            DropChunkLocked(it);
            DamageLocked(); // the header promised the block
            return FALSE;
        }
    }
    NoteChangeLocked();
    std::size_t nIndex = static_cast<std::size_t>(nBlock - nFirst);
    std::memcpy(it->data.data() + nIndex * BLOCK_SIZE, pData, BLOCK_SIZE);
    it->nBlocks = static_cast<int>(nIndex) + 1;
    it->bChecked[nIndex] = true;
    it->bDirty[nIndex] = true;
    ++m_nDirtyBlocks;
    PinChunkLocked(it);
    return TRUE;
}

BYTE* CCatalogFile::ChangeBlockLocked(CATBLOCK nBlock)
{
    BYTE* pData = BlockDataLocked(nBlock);
    if (!pData)
        return nullptr;
    auto it = FindChunkLocked(nBlock & ~1);
    std::size_t nIndex = static_cast<std::size_t>(nBlock & 1);
    if (!it->bDirty[nIndex]) {
        // Blocks the batch appended are changed from the start; the others keep their committed bytes.
        assert(nBlock <= m_committedHeader.nLastBlock);
        NoteChangeLocked();
        std::memcpy(m_committedBlocks[nBlock].data(), pData, BLOCK_SIZE);
        it->bDirty[nIndex] = true;
        ++m_nDirtyBlocks;
        PinChunkLocked(it);
    }
    return pData;
}

void CCatalogFile::UpdateBlockObjectLocked(CATBLOCK nBlock, const BYTE* pData)
{
    assert(IsValidBlock(nBlock, pData));
    if (CCatalogBlock* pBlock = CachedBlockLocked(nBlock))
        pBlock->m_header = ReadBlockHeader(pData);
}

/******************************************************************************
 * Commits
 ******************************************************************************/

BOOL CCatalogFile::FinishWriteLocked(BOOL bDone)
{
    if (m_nActionDepth > 0 && m_nDirtyBlocks < MAX_BATCH_BLOCKS)
        return bDone;
    DWORD dwError = GetLastError();
    BOOL bCommitted = CommitLocked();
    if (!bDone || bCommitted)
        SetLastError(dwError); // the call's own failure comes first
    return bDone && bCommitted;
}

BOOL CCatalogFile::CommitLocked()
{
    if (!HasChangesLocked())
        return TRUE;
    if (m_state != State::Open) {
        RollbackLocked();
        SetLastError(m_state == State::Closed ? ERROR_INVALID_HANDLE : ERROR_WRITE_PROTECT);
        return FALSE;
    }
    if (m_bOwnsJournal && !GiveIdentityLocked()) {
        DWORD dwError = GetLastError();
        RollbackLocked();
        SetLastError(dwError);
        return FALSE;
    }
    std::vector<CJournalBlock> blocks;
    blocks.reserve(static_cast<std::size_t>(m_nDirtyBlocks));
    for (const CChunk& chunk : m_pinnedChunks) {
        for (int nIndex = 0; nIndex < chunk.nBlocks; ++nIndex) {
            if (chunk.bDirty[static_cast<std::size_t>(nIndex)])
                blocks.push_back({ chunk.nFirst + nIndex, chunk.data.data() + nIndex * BLOCK_SIZE });
        }
    }
    std::sort(blocks.begin(), blocks.end(),
        [](const CJournalBlock& a, const CJournalBlock& b) { return a.nBlock < b.nBlock; });
    const auto firstAppended = std::find_if(blocks.begin(), blocks.end(),
        [&](const CJournalBlock& block) { return block.nBlock > m_committedHeader.nLastBlock; });
    const bool bJournal = m_bOwnsJournal;
    // A large batch's appended blocks lie past the end the committed header
    // gives, where no reader looks: they are written in place and flushed
    // first, and the journal takes only the header and the blocks that were
    // there before, which would link to them.
    const bool bDirect = bJournal && blocks.end() - firstAppended >= g_nDirectAppendBlocks.load();
    if (bDirect && (!WriteRunsLocked(firstAppended, blocks.end()) || !m_io.SyncData())) {
        DWORD dwError = GetLastError();
        m_state = State::Error;
        RollbackLocked();
        SetLastError(dwError);
        return FALSE;
    }
    if (bJournal) {
        m_journal.SetCatalogIdentity(m_nIdentity);
        std::array<BYTE, FILE_HEADER_SIZE> header, committed;
        EncodeHeader(m_header, header.data());
        EncodeHeader(m_committedHeader, committed.data());
        const std::span<const CJournalBlock> journaled(blocks.begin(), bDirect ? firstAppended : blocks.end());
        if (!m_journal.Commit(journaled, header, committed)) {
            DWORD dwError = GetLastError();
            m_state = State::Error;
            RollbackLocked();
            SetLastError(dwError);
            return FALSE;
        }
    }
    BOOL bWritten = WriteBackLocked(blocks, bDirect ? firstAppended : blocks.end());
    DWORD dwError = GetLastError();
    // The batch is what the file holds from now on (through the journal, if the writing in place failed).
    while (!m_pinnedChunks.empty())
        UnpinChunkLocked(m_pinnedChunks.begin());
    m_committedBlocks.clear();
    m_nDirtyBlocks = 0;
    m_bHeaderDirty = false;
    m_committedHeader = m_header;
    TrimCacheLocked();
    if (!bWritten) {
        m_state = State::Error;
        SetLastError(dwError);
        return bJournal ? TRUE : FALSE;
    }
    if (bJournal && m_journal.GetSize() >= g_nCheckpointBytes.load() && !CheckpointLocked())
        m_state = State::Error; // the batch is safe in the journal; the next opening replays it
    return TRUE;
}

BOOL CCatalogFile::WriteRunsLocked(
    std::vector<CJournalBlock>::const_iterator first, std::vector<CJournalBlock>::const_iterator last)
{
    for (auto it = first; it != last;) {
        auto runEnd = std::next(it);
        while (runEnd != last && runEnd->nBlock == std::prev(runEnd)->nBlock + 1
            && static_cast<std::size_t>(runEnd - it) < MAX_RUN_BLOCKS)
            ++runEnd;
        std::size_t nBlocks = static_cast<std::size_t>(runEnd - it);
        std::span<const BYTE> bytes(it->pData, BLOCK_SIZE);
        if (nBlocks > 1) {
            m_writeBuffer.resize(nBlocks * BLOCK_SIZE);
            for (std::size_t n = 0; n < nBlocks; ++n)
                std::memcpy(
                    m_writeBuffer.data() + n * BLOCK_SIZE, (it + static_cast<std::ptrdiff_t>(n))->pData, BLOCK_SIZE);
            bytes = m_writeBuffer;
        }
        if (!m_io.WriteAt(BlockFileOffset(it->nBlock), bytes))
            return false;
        it = runEnd;
    }
    return true;
}

BOOL CCatalogFile::WriteBackLocked(
    const std::vector<CJournalBlock>& blocks, std::vector<CJournalBlock>::const_iterator writtenFrom)
{
    // Appended blocks first, then the header that counts them, then the blocks
    // that link to them: written in place in this order, a stop in between
    // leaves every chain as it was.
    auto firstAppended = std::find_if(blocks.begin(), writtenFrom,
        [&](const CJournalBlock& block) { return block.nBlock > m_committedHeader.nLastBlock; });
    std::array<BYTE, FILE_HEADER_SIZE> header;
    EncodeHeader(m_header, header.data());
    return WriteRunsLocked(firstAppended, writtenFrom) && (!m_bHeaderDirty || m_io.WriteAt(0, header))
        && WriteRunsLocked(blocks.begin(), firstAppended);
}

BOOL CCatalogFile::CheckpointLocked()
{
    std::array<BYTE, FILE_HEADER_SIZE> committed;
    EncodeHeader(m_committedHeader, committed.data());
    return m_io.SyncData() && m_journal.Checkpoint(committed);
}

void CCatalogFile::RollbackLocked()
{
    for (auto it = m_pinnedChunks.begin(); it != m_pinnedChunks.end();) {
        auto next = std::next(it);
        for (int nIndex = 0; nIndex < it->nBlocks; ++nIndex) {
            CATBLOCK nBlock = it->nFirst + nIndex;
            if (!it->bDirty[static_cast<std::size_t>(nIndex)] || nBlock > m_committedHeader.nLastBlock)
                continue;
            BYTE* pData = it->data.data() + nIndex * BLOCK_SIZE;
            std::memcpy(pData, m_committedBlocks[nBlock].data(), BLOCK_SIZE);
            if (CCatalogBlock* pBlock = CachedBlockLocked(nBlock))
                pBlock->m_header = ReadBlockHeader(pData);
        }
        // Blocks the batch appended go; the objects made for them stay unused until the file closes.
        CATBLOCK nKept = std::clamp<CATBLOCK>(m_committedHeader.nLastBlock - it->nFirst + 1, 0, it->nBlocks);
        if (nKept == 0) {
            DropChunkLocked(it);
        } else {
            it->nBlocks = static_cast<int>(nKept);
            UnpinChunkLocked(it);
        }
        it = next;
    }
    m_committedBlocks.clear();
    m_nDirtyBlocks = 0;
    m_header = m_committedHeader;
    m_bHeaderDirty = false;
    if (m_header.nLastBlock < 0)
        m_nIdentity = 0; // the identity came with block 0, which went
    // What walks learnt may name what the batch made: it is learnt again.
    for (const auto& pBlock : m_blocks) {
        if (pBlock) {
            pBlock->m_bChainChecked = false;
            pBlock->m_nChainFirst = NO_BLOCK;
            pBlock->m_nChainIndex = 0;
            pBlock->m_nFreeHint = NO_BLOCK;
        }
    }
    TrimCacheLocked();
}
