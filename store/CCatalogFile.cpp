#include "store/CCatalogFile.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/CatalogError.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <iterator>
#include <vector>

/*
 * States of a catalog file
 *
 *              Acquire (first reference; journal replayed, header checked)
 *     CLOSED ---------------------------------------------> OPEN
 *       ^                                                  |
 *       |   Release (last reference)                       | a failed commit, or damage
 *       +---------------------- ERROR <--------------------+ found by any read
 *       +--------------------------------------------------- OPEN (Release, last reference)
 *
 * CLOSED: no reference, no open file, empty caches. Create writes a new file only here.
 * OPEN:   reads and writes are served. Acquire and Release only move the count.
 * ERROR:  reads are still served; every write is refused with ERROR_WRITE_PROTECT
 *         until the last reference goes and the file is opened again. A batch
 *         open when the state was entered is dropped at its commit.
 *
 * A batch: every change is made in the block cache, whose chunks holding a
 * changed block are pinned there, and in the header in memory. A commit
 * (FinishWriteLocked at the end of a call outside any action, EndAction,
 * CommitIfDue, a batch grown past MAX_BATCH_BLOCKS, the last Release) writes
 * the batch to the journal and flushes it, then writes it in place (a batch
 * appending DIRECT_APPEND_BLOCKS or more writes and flushes those in place
 * first, and journals the rest); a rollback
 * (a commit in the ERROR state, or one the journal refused) puts back the
 * committed bytes of the changed blocks and drops the appended ones.
 *
 * Invariants (CheckInvariantsLocked checks those that can be seen in memory):
 *  (1) The state is CLOSED exactly when the open count is 0, and then the file
 *      is closed and the caches are empty.
 *  (2) The block cache holds at most m_nCacheLimit unpinned chunks and every
 *      pinned one; each is listed once in its index under its first block,
 *      which is even, and holds the blocks 2k and 2k+1 that exist (one when 2k
 *      is the last block). A chunk is pinned exactly when it holds a block the
 *      batch changed.
 *  (3) Every object of the block-header cache names a block that exists, and
 *      when that block is in the block cache its header there is the object's.
 *      (In the ERROR state objects of blocks a dropped batch appended remain;
 *      they are never handed out.)
 *  (4) The caches hold what the file holds, and what the batch changed: the
 *      committed bytes of each changed block that the file holds are kept
 *      until the batch is committed or dropped, the committed file header too.
 *  (5) A batch reaches the file whole: with the journal, its blocks and header
 *      are flushed to the journal before any is written in place (but for its
 *      appended blocks, past the committed end, when it writes and flushes
 *      them before the journal), and the journal starts its next generation
 *      or goes only once the file is flushed. Written in place, appended
 *      blocks go first, then the header, then the blocks that link to them.
 *  (6) A chain's first block may name a free-slot hint: a block of its chain
 *      (learnt by an allocation walk from that first block) such that every
 *      block before it in the chain is full. Freeing a slot before the hint
 *      moves the hint back; allocation starts at the hint.
 *  (7) Every walk along a chain takes at most (last block + 1) steps, and a
 *      block is only walked from once the rest of its chain has been followed
 *      to its end (CheckChainLocked), so a chain that runs in a circle is damage
 *      found by the first call that enters it, not an endless walk of the caller.
 */

namespace {

// The bytes a processor fetches from memory at once.
constexpr int CACHE_LINE_SIZE = 64;

// The byte offset of a record within its block.
int RecordOffset(LONG nRecordSize, LONG nSlot)
{
    return BLOCK_HEADER_SIZE + SlotCount(nRecordSize) + nSlot * nRecordSize;
}

// Offsets of the file header's fields.
constexpr int HDR_KIND = 0;
constexpr int HDR_BLOCK_SIZE = 4;
constexpr int HDR_LAST_BLOCK = FILE_HEADER_OFF_LAST_BLOCK;
constexpr int HDR_VERSION = 12;
constexpr int HDR_TEXT1 = HDR_VERSION + HEADER_VERSION_SIZE;
constexpr int HDR_TEXT2 = HDR_TEXT1 + HEADER_TEXT_SIZE;
constexpr int HDR_LINK1 = HDR_TEXT2 + HEADER_TEXT_SIZE;
constexpr int HDR_LINK2 = HDR_LINK1 + 4;
constexpr int HDR_STAMP = HDR_LINK2 + 4;
static_assert(HDR_STAMP + 8 == FILE_HEADER_SIZE);

// The most blocks a file may have: block offsets stay within 32-bit block numbers.
constexpr CATBLOCK MAX_BLOCK = 0x7FFFFFFE;

// The file name part of a program path, as the fatal error names the file.
CString FileNameOf(const CString& strPath)
{
    std::string_view path(strPath, static_cast<std::size_t>(strPath.GetLength()));
    std::size_t nSlash = path.find_last_of("\\/");
    return CString(std::string(nSlash == std::string_view::npos ? path : path.substr(nSlash + 1)).c_str());
}

}

// Holds a file's lock for one public call and, once the lock is let go, sends
// the fatal report that the call found necessary. The report goes out unlocked
// because its handler may show a modal box whose message loop uses the file.
class CCatalogFile::CLock {
public:
    explicit CLock(const CCatalogFile& file)
        : m_file(file)
        , m_lock(file.m_mutex)
    {
    }
    ~CLock()
    {
        bool bReport = m_file.m_bReportPending;
        m_file.m_bReportPending = false;
        m_lock.unlock();
        if (bReport) {
            DWORD dwError = GetLastError();
            ReportCatalogError(FileNameOf(m_file.m_strPath));
            SetLastError(dwError);
        }
    }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;

private:
    const CCatalogFile& m_file;
    std::unique_lock<std::mutex> m_lock;
};

/******************************************************************************
 * Construction and creation
 ******************************************************************************/

CCatalogFile::CCatalogFile(LPCTSTR pszPath, std::span<const int> recordSizes, int nCacheChunks, Durability eDurability)
    : m_strPath(pszPath ? pszPath : "")
    , m_recordSizes(recordSizes)
    , m_eDurability(eDurability)
    , m_journal(m_strPath)
    , m_nCacheChunks(std::max(nCacheChunks, 1))
    , m_nCacheLimit(std::min(m_nCacheChunks, FIRST_CACHE_CHUNKS))
    , m_chunks(CSlotAllocator<CChunk>(&m_chunkSlots))
    , m_pinnedChunks(CSlotAllocator<CChunk>(&m_chunkSlots))
{
    assert(std::all_of(
        recordSizes.begin(), recordSizes.end(), [](int nSize) { return nSize >= 0 && nSize <= MAX_RECORD_SIZE; }));
}

CCatalogFile::~CCatalogFile()
{
    CLock lock(*this);
    if (m_nOpenCount > 0)
        CloseLocked();
}

BOOL CCatalogFile::Create(LONG nKind)
{
    CLock lock(*this);
    if (m_nOpenCount > 0) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    if (nKind < CATALOG_KIND_MAIN || nKind > CATALOG_KIND_FOLDER_INDEX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CFileHeader header;
    header.nKind = nKind;
    std::array<BYTE, FILE_HEADER_SIZE> bytes;
    EncodeHeader(header, bytes.data());
    // A journal left beside a file of this name belongs to no file from now on.
    // The old file is removed rather than emptied in place: emptying it waits
    // until the disk has taken whatever of it is still being written, which
    // on a busy disk costs a file made anew for each search more than its
    // writing, and whoever still has the old file open goes on reading it whole.
    if (!CCatalogIo::Remove(CCatalogJournal::PathFor(m_strPath)) || !CCatalogIo::Remove(m_strPath)
        || !m_io.Open(m_strPath, true))
        return FALSE;
    BOOL bWritten = m_io.WriteAt(0, bytes);
    DWORD dwError = GetLastError();
    BOOL bClosed = CloseIoLocked();
    if (!bWritten) {
        SetLastError(dwError);
        return FALSE;
    }
    m_header = header;
    m_nIdentity = 0; // block 0 takes a new one
    return bClosed;
}

/******************************************************************************
 * Open references
 ******************************************************************************/

BOOL CCatalogFile::Acquire()
{
    CLock lock(*this);
    if (m_nOpenCount > 0) {
        ++m_nOpenCount;
        return TRUE;
    }
    if (!OpenLocked()) {
        m_bReportPending = true;
        return FALSE;
    }
    m_nOpenCount = 1;
    AssertValidLocked();
    return TRUE;
}

BOOL CCatalogFile::Release()
{
    CLock lock(*this);
    if (m_nOpenCount == 0) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    if (--m_nOpenCount > 0)
        return TRUE;
    return CloseLocked();
}

int CCatalogFile::GetOpenCount() const
{
    CLock lock(*this);
    return m_nOpenCount;
}

int CCatalogFile::GetReplayedBatches() const
{
    CLock lock(*this);
    return m_nReplayedBatches;
}

BOOL CCatalogFile::CloseIoLocked()
{
    if (m_eDurability != Durability::Scratch)
        return m_io.Close();
    m_io.CloseUnflushed();
    return TRUE;
}

BOOL CCatalogFile::OpenLocked()
{
    if (!m_io.Open(m_strPath, false))
        return FALSE;
    m_bOwnsJournal = m_eDurability == Durability::Journal && m_journal.Claim();
    m_nReplayedBatches = 0;
    if (m_bOwnsJournal && !m_journal.Recover(m_io, &m_nReplayedBatches)) {
        DWORD dwError = GetLastError();
        (void)m_io.Close();
        m_journal.Unclaim();
        m_bOwnsJournal = false;
        SetLastError(dwError);
        return FALSE;
    }
    std::array<BYTE, FILE_HEADER_SIZE> bytes;
    CFileHeader header;
    std::int64_t nLength = m_io.GetLength();
    if (nLength < FILE_HEADER_SIZE || !m_io.ReadAt(0, bytes) || !DecodeHeader(bytes.data(), &header)
        || nLength < BlockFileOffset(header.nLastBlock + 1)) {
        (void)m_io.Close(); // nothing was written but the replay, which flushed
        m_journal.Unclaim();
        m_bOwnsJournal = false;
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_header = header;
    m_committedHeader = header;
    m_nIdentity = ReadCatalogIdentity(m_io);
    m_state = State::Open;
    m_bDamageReported = false;
    return TRUE;
}

BOOL CCatalogFile::GiveIdentityLocked()
{
    if (m_nIdentity != 0 || m_committedHeader.nLastBlock < 0)
        return TRUE;
    std::array<BYTE, 4> recordSize {};
    if (!m_io.ReadAt(BlockFileOffset(0) + BLOCK_OFF_RECORD_SIZE, recordSize))
        return FALSE;
    if (!LeavesIdentityRoom(ReadLong(recordSize.data())))
        return TRUE; // never a program's catalog: its journal is bound by its headers alone
    const DWORD nIdentity = NewCatalogIdentity();
    std::array<BYTE, IDENTITY_SIZE> bytes {};
    WriteLong(bytes.data(), static_cast<LONG>(nIdentity));
    if (!m_io.WriteAt(BlockFileOffset(0) + IDENTITY_OFFSET, bytes) || !m_io.Sync())
        return FALSE;
    // Block 0 as the cache and the batch hold it keeps the identity too, or writing it back would drop it.
    if (auto it = FindChunkLocked(0); it != m_chunks.end()) {
        std::copy(bytes.begin(), bytes.end(), it->data.begin() + IDENTITY_OFFSET);
        if (auto committed = m_committedBlocks.find(0); committed != m_committedBlocks.end())
            std::copy(bytes.begin(), bytes.end(), committed->second.begin() + IDENTITY_OFFSET);
    }
    m_nIdentity = nIdentity;
    return TRUE;
}

BOOL CCatalogFile::CloseLocked()
{
    BOOL bDone = TRUE;
    if (HasChangesLocked())
        bDone = CommitLocked();
    // After a failed write the journal may hold what the file lacks: it stays for the next opening.
    if (m_state == State::Open && m_bOwnsJournal && m_journal.GetSize() > 0)
        bDone = m_io.SyncIfWritten() && m_journal.Discard() && bDone;
    DWORD dwError = GetLastError();
    BOOL bClosed = CloseIoLocked();
    m_journal.Unclaim();
    m_bOwnsJournal = false;
    m_chunks.clear();
    m_pinnedChunks.clear();
    m_chunkSlots.Release();
    m_chunkIndex.clear();
    m_nCacheLimit = std::min(m_nCacheChunks, FIRST_CACHE_CHUNKS);
    m_nUnsavableMisses = 0;
    m_nChunkReads = 0;
    m_chunkStamps.clear();
    m_committedBlocks.clear();
    m_nDirtyBlocks = 0;
    m_bHeaderDirty = false;
    m_blocks.clear();
    m_nOpenCount = 0;
    m_state = State::Closed;
    if (!bDone)
        SetLastError(dwError);
    return bDone && bClosed;
}

/******************************************************************************
 * The file header
 ******************************************************************************/

void CCatalogFile::EncodeHeader(const CFileHeader& header, BYTE* pBytes)
{
    std::memset(pBytes, 0, FILE_HEADER_SIZE);
    WriteLong(pBytes + HDR_KIND, header.nKind);
    WriteLong(pBytes + HDR_BLOCK_SIZE, BLOCK_SIZE);
    WriteLong(pBytes + HDR_LAST_BLOCK, header.nLastBlock);
    std::memcpy(pBytes + HDR_VERSION, CATALOG_VERSION, sizeof(CATALOG_VERSION));
    std::memcpy(pBytes + HDR_TEXT1, header.szText1.data(), HEADER_TEXT_SIZE);
    std::memcpy(pBytes + HDR_TEXT2, header.szText2.data(), HEADER_TEXT_SIZE);
    WriteLong(pBytes + HDR_LINK1, header.nLink1);
    WriteLong(pBytes + HDR_LINK2, header.nLink2);
    WriteLong(pBytes + HDR_STAMP, static_cast<LONG>(header.ftStamp.dwLowDateTime));
    WriteLong(pBytes + HDR_STAMP + 4, static_cast<LONG>(header.ftStamp.dwHighDateTime));
}

bool CCatalogFile::DecodeHeader(const BYTE* pBytes, CFileHeader* pHeader)
{
    std::array<BYTE, HEADER_VERSION_SIZE> version {};
    std::memcpy(version.data(), CATALOG_VERSION, sizeof(CATALOG_VERSION));
    CFileHeader header;
    header.nKind = ReadLong(pBytes + HDR_KIND);
    header.nLastBlock = ReadLong(pBytes + HDR_LAST_BLOCK);
    std::memcpy(header.szText1.data(), pBytes + HDR_TEXT1, HEADER_TEXT_SIZE);
    std::memcpy(header.szText2.data(), pBytes + HDR_TEXT2, HEADER_TEXT_SIZE);
    header.nLink1 = ReadLong(pBytes + HDR_LINK1);
    header.nLink2 = ReadLong(pBytes + HDR_LINK2);
    header.ftStamp.dwLowDateTime = static_cast<DWORD>(ReadLong(pBytes + HDR_STAMP));
    header.ftStamp.dwHighDateTime = static_cast<DWORD>(ReadLong(pBytes + HDR_STAMP + 4));
    auto isTerminated = [](const std::array<char, HEADER_TEXT_SIZE>& text) {
        return std::find(text.begin(), text.end(), '\0') != text.end();
    };
    if (header.nKind < CATALOG_KIND_MAIN || header.nKind > CATALOG_KIND_FOLDER_INDEX
        || ReadLong(pBytes + HDR_BLOCK_SIZE) != BLOCK_SIZE
        || std::memcmp(pBytes + HDR_VERSION, version.data(), HEADER_VERSION_SIZE) != 0 || header.nLastBlock < NO_BLOCK
        || header.nLastBlock > MAX_BLOCK || !isTerminated(header.szText1) || !isTerminated(header.szText2))
        return false;
    *pHeader = header;
    return true;
}

LONG CCatalogFile::GetKind() const
{
    CLock lock(*this);
    return m_header.nKind;
}

BOOL CCatalogFile::SetKind(LONG nKind)
{
    CLock lock(*this);
    if (nKind < CATALOG_KIND_MAIN || nKind > CATALOG_KIND_FOLDER_INDEX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!CheckWritable())
        return FALSE;
    m_header.nKind = nKind;
    NoteHeaderChangeLocked();
    return FinishWriteLocked(TRUE);
}

DWORD CCatalogFile::GetIdentity() const
{
    CLock lock(*this);
    return m_nIdentity;
}

CATBLOCK CCatalogFile::GetLastBlock() const
{
    CLock lock(*this);
    return m_header.nLastBlock;
}

BOOL CCatalogFile::SetHeaderStrings(LPCTSTR pszText1, LPCTSTR pszText2)
{
    CLock lock(*this);
    if (!CheckWritable())
        return FALSE;
    Utf8CopyToField(m_header.szText1.data(), HEADER_TEXT_SIZE, pszText1, FieldEnd::NulTerminated);
    Utf8CopyToField(m_header.szText2.data(), HEADER_TEXT_SIZE, pszText2, FieldEnd::NulTerminated);
    NoteHeaderChangeLocked();
    return FinishWriteLocked(TRUE);
}

CString CCatalogFile::GetHeaderString(int nIndex) const
{
    CLock lock(*this);
    if (nIndex != 0 && nIndex != 1)
        return CString();
    return CString((nIndex == 0 ? m_header.szText1 : m_header.szText2).data());
}

BOOL CCatalogFile::SetHeaderLinks(LONG nLink1, LONG nLink2)
{
    CLock lock(*this);
    if (!CheckWritable())
        return FALSE;
    m_header.nLink1 = nLink1;
    m_header.nLink2 = nLink2;
    NoteHeaderChangeLocked();
    return FinishWriteLocked(TRUE);
}

LONG CCatalogFile::GetHeaderLink(int nIndex) const
{
    CLock lock(*this);
    return nIndex == 0 ? m_header.nLink1 : nIndex == 1 ? m_header.nLink2 : 0;
}

BOOL CCatalogFile::SetTimeStamp(const FILETIME& ftStamp)
{
    CLock lock(*this);
    if (!CheckWritable())
        return FALSE;
    m_header.ftStamp = ftStamp;
    NoteHeaderChangeLocked();
    return FinishWriteLocked(TRUE);
}

FILETIME CCatalogFile::GetTimeStamp() const
{
    CLock lock(*this);
    return m_header.ftStamp;
}

/******************************************************************************
 * The block cache and block checks
 ******************************************************************************/

bool CCatalogFile::IsValidBlock(CATBLOCK nBlock, const BYTE* pData) const
{
    CBlockHeader header = ReadBlockHeader(pData);
    auto isLink = [&](CATBLOCK nLink) {
        return nLink == NO_BLOCK || (nLink >= 0 && nLink <= m_header.nLastBlock && nLink != nBlock);
    };
    if (header.nTableType < 0 || static_cast<std::size_t>(header.nTableType) >= m_recordSizes.size())
        return false;
    LONG nRecordSize = m_recordSizes[static_cast<std::size_t>(header.nTableType)];
    if (nRecordSize == 0 || header.nRecordSize != nRecordSize)
        return false;
    int nSlots = SlotCount(nRecordSize);
    if (header.nHighestUsed < NO_SLOT || header.nHighestUsed >= nSlots)
        return false;
    if (!isLink(header.nPrevBlock) || !isLink(header.nNextBlock))
        return false;
    if (!header.owner.IsNone() && !IsValidOwner(header.owner))
        return false;
    LONG nHighest = NO_SLOT;
    for (int nSlot = 0; nSlot < nSlots; ++nSlot) {
        BYTE flag = pData[BLOCK_HEADER_SIZE + nSlot];
        if (flag == SLOT_USED)
            nHighest = nSlot;
        else if (flag != SLOT_FREE)
            return false;
    }
    return nHighest == header.nHighestUsed;
}

bool CCatalogFile::IsValidOwner(CRecordRef owner) const
{
    return owner.nBlock >= 0 && owner.nBlock <= m_header.nLastBlock && owner.nSlot >= 0 && owner.nSlot < SlotCount(1);
}

CCatalogFile::CChunkList::iterator CCatalogFile::FindChunkLocked(CATBLOCK nFirst)
{
    std::size_t nIndex = static_cast<std::size_t>(nFirst) / 2;
    return nIndex < m_chunkIndex.size() ? m_chunkIndex[nIndex] : m_chunks.end();
}

CCatalogFile::CChunk* CCatalogFile::ChunkLocked(CATBLOCK nBlock)
{
    CATBLOCK nFirst = nBlock & ~1;
    // A walk along a block asks for the same chunk many times in a row.
    if (!m_chunks.empty() && m_chunks.front().nFirst == nFirst)
        return &m_chunks.front();
    if (auto it = FindChunkLocked(nFirst); it != m_chunks.end()) {
        if (it->bPinned)
            return &*it;
        m_chunks.splice(m_chunks.begin(), m_chunks, it);
        return &m_chunks.front();
    }
    NoteChunkMissLocked(nFirst);
    CChunk& chunk = AddChunkLocked(nFirst);
    chunk.nBlocks = nFirst == m_header.nLastBlock ? 1 : 2;
    std::span<BYTE> bytes(chunk.data.data(), static_cast<std::size_t>(chunk.nBlocks) * BLOCK_SIZE);
    if (!m_io.ReadAt(BlockFileOffset(nFirst), bytes)) {
        m_chunkIndex[static_cast<std::size_t>(nFirst) / 2] = m_chunks.end();
        m_chunks.pop_front();
        // The header promised these blocks: the file was cut behind our back.
        DamageLocked();
        return nullptr;
    }
    return &chunk;
}

CCatalogFile::CChunk& CCatalogFile::AddChunkLocked(CATBLOCK nFirst)
{
    // A full cache takes the new chunk in place of its least recently used
    // one: its memory, recently written, is reused.
    if (m_chunks.size() >= static_cast<size_t>(m_nCacheLimit)) {
        EvictLastChunkLocked();
        m_chunks.splice(m_chunks.begin(), m_chunks, std::prev(m_chunks.end()));
    } else {
        m_chunks.emplace_front();
    }
    CChunk& chunk = m_chunks.front();
    chunk.nFirst = nFirst;
    chunk.nBlocks = 0;
    chunk.bChecked = {};
    chunk.bDirty = {};
    std::size_t nIndex = static_cast<std::size_t>(nFirst) / 2;
    if (nIndex >= m_chunkIndex.size())
        m_chunkIndex.resize(nIndex + 1, m_chunks.end());
    m_chunkIndex[nIndex] = m_chunks.begin();
    return chunk;
}

void CCatalogFile::TrimCacheLocked()
{
    while (m_chunks.size() > static_cast<std::size_t>(m_nCacheLimit)) {
        EvictLastChunkLocked();
        m_chunks.pop_back();
    }
}

void CCatalogFile::EvictLastChunkLocked()
{
    std::size_t nIndex = static_cast<std::size_t>(m_chunks.back().nFirst) / 2;
    m_chunkIndex[nIndex] = m_chunks.end();
    StampChunkLocked(nIndex);
}

void CCatalogFile::StampChunkLocked(std::size_t nChunk)
{
    if (nChunk >= m_chunkStamps.size())
        m_chunkStamps.resize(nChunk + 1, 0);
    // Never 0, which means never stamped.
    m_chunkStamps[nChunk] = m_nChunkReads == 0 ? 1 : m_nChunkReads;
}

bool CCatalogFile::WasStampedLatelyLocked(std::size_t nChunk) const
{
    return nChunk < m_chunkStamps.size() && m_chunkStamps[nChunk] != 0
        && m_nChunkReads - m_chunkStamps[nChunk] < static_cast<std::uint32_t>(m_nCacheChunks);
}

void CCatalogFile::NoteChunkMissLocked(CATBLOCK nFirst)
{
    // A miss the full size would have saved: evicted, or a record of it read
    // alone, less than the full size's worth of chunk reads ago. The count
    // wraps; a wrong answer after that costs one chunk of memory, no more.
    bool bSavable = WasStampedLatelyLocked(static_cast<std::size_t>(nFirst) / 2);
    ++m_nChunkReads;
    if (bSavable) {
        m_nCacheLimit = std::min(m_nCacheLimit + 1, m_nCacheChunks);
    } else if (++m_nUnsavableMisses == UNSAVABLE_MISSES_PER_CHUNK) {
        // Misses no size would save (reads scattered over a file many times
        // the full size) shrink it back: there a chunk of fresh memory costs
        // more than the few hits it brings.
        m_nUnsavableMisses = 0;
        m_nCacheLimit = std::max(m_nCacheLimit - 1, std::min(m_nCacheChunks, FIRST_CACHE_CHUNKS));
        TrimCacheLocked();
    }
}

void CCatalogFile::DropChunkLocked(CChunkList::iterator it)
{
    m_chunkIndex[static_cast<std::size_t>(it->nFirst) / 2] = m_chunks.end();
    (it->bPinned ? m_pinnedChunks : m_chunks).erase(it);
}

BYTE* CCatalogFile::BlockDataLocked(CATBLOCK nBlock)
{
    assert(nBlock >= 0 && nBlock <= m_header.nLastBlock);
    CChunk* pChunk = ChunkLocked(nBlock);
    if (!pChunk)
        return nullptr;
    std::size_t nIndex = static_cast<std::size_t>(nBlock - pChunk->nFirst);
    BYTE* pData = pChunk->data.data() + nIndex * BLOCK_SIZE;
    if (!pChunk->bChecked[nIndex]) {
        if (!IsValidBlock(nBlock, pData)) {
            DamageLocked();
            return nullptr;
        }
        pChunk->bChecked[nIndex] = true;
    }
    return pData;
}

CCatalogBlock* CCatalogFile::GetBlock(CATBLOCK nBlock)
{
    CLock lock(*this);
    if (m_state == State::Closed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return GetBlockLocked(nBlock);
}

CCatalogBlock* CCatalogFile::GetBlockLocked(CATBLOCK nBlock)
{
    if (nBlock < 0 || nBlock > m_header.nLastBlock) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::size_t nIndex = static_cast<std::size_t>(nBlock);
    if (nIndex < m_blocks.size() && m_blocks[nIndex])
        return m_blocks[nIndex].get();
    const BYTE* pData = BlockDataLocked(nBlock);
    if (!pData)
        return nullptr;
    if (nIndex >= m_blocks.size())
        m_blocks.resize(nIndex + 1);
    m_blocks[nIndex] = std::make_unique<CCatalogBlock>(this, nBlock, ReadBlockHeader(pData));
    return m_blocks[nIndex].get();
}

CCatalogBlock* CCatalogFile::CachedBlockLocked(CATBLOCK nBlock) const
{
    std::size_t nIndex = static_cast<std::size_t>(nBlock);
    return nBlock >= 0 && nIndex < m_blocks.size() ? m_blocks[nIndex].get() : nullptr;
}

CBlockHeader CCatalogFile::GetBlockHeader(const CCatalogBlock& block) const
{
    CLock lock(*this);
    return block.m_header;
}

CCatalogBlock* CCatalogFile::NextChainBlockLocked(const CCatalogBlock& block, bool* pbEnd)
{
    *pbEnd = block.m_header.nNextBlock == NO_BLOCK;
    if (*pbEnd)
        return nullptr;
    CCatalogBlock* pNext = GetBlockLocked(block.m_header.nNextBlock);
    if (!pNext)
        return nullptr;
    if (pNext->m_nTableType != block.m_nTableType || pNext->m_header.nPrevBlock != block.m_nBlock
        || pNext->m_header.owner != block.m_header.owner) {
        DamageLocked();
        return nullptr;
    }
    return pNext;
}

BOOL CCatalogFile::CheckChainLocked(CCatalogBlock* pStart)
{
    std::vector<CCatalogBlock*> path;
    CCatalogBlock* pBlock = pStart;
    for (CATBLOCK nStep = 0; nStep <= m_header.nLastBlock; ++nStep) {
        if (pBlock->m_bChainChecked)
            break;
        path.push_back(pBlock);
        bool bEnd = false;
        CCatalogBlock* pNext = NextChainBlockLocked(*pBlock, &bEnd);
        if (bEnd)
            break;
        if (!pNext)
            return FALSE;
        pBlock = pNext;
    }
    if (!pBlock->m_bChainChecked && pBlock->m_header.nNextBlock != NO_BLOCK) {
        DamageLocked(); // the chain runs in a circle
        return FALSE;
    }
    for (CCatalogBlock* pChecked : path)
        pChecked->m_bChainChecked = true;
    return TRUE;
}

/******************************************************************************
 * Reading records
 ******************************************************************************/

BYTE* CCatalogFile::RecordBlockLocked(CRecordRef ref, LONG nTableType)
{
    if (m_state == State::Closed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    CCatalogBlock* pBlock = GetBlockLocked(ref.nBlock);
    if (!pBlock)
        return nullptr;
    if (pBlock->m_nTableType != nTableType || ref.nSlot < 0 || ref.nSlot >= pBlock->GetSlotCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    BYTE* pData = BlockDataLocked(ref.nBlock);
    if (pData && pData[BLOCK_HEADER_SIZE + ref.nSlot] != SLOT_USED) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return pData;
}

BOOL CCatalogFile::CheckRecord(CATBLOCK nBlock, LONG nSlot, LONG nTableType)
{
    CLock lock(*this);
    return RecordBlockLocked({ nBlock, nSlot }, nTableType) != nullptr;
}

BOOL CCatalogFile::NextRecord(CRecordRef* pCursor)
{
    return FindNextRecord(pCursor, nullptr);
}

BOOL CCatalogFile::FindNextRecord(CRecordRef* pCursor, const RecordMatch& match)
{
    CLock lock(*this);
    if (m_state == State::Closed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!pCursor) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CCatalogBlock* pBlock = GetBlockLocked(pCursor->nBlock);
    if (!pBlock)
        return FALSE;
    LONG nSlot = pCursor->nSlot;
    if (nSlot < NO_SLOT || nSlot >= pBlock->GetSlotCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (CATBLOCK nStep = 0; nStep <= m_header.nLastBlock; ++nStep) {
        if (!CheckChainLocked(pBlock))
            return FALSE;
        const BYTE* pData = BlockDataLocked(pBlock->m_nBlock);
        if (!pData)
            return FALSE;
        LONG nRecordSize = pBlock->m_nRecordSize;
        for (LONG n = nSlot + 1; n <= pBlock->m_header.nHighestUsed; ++n) {
            if (pData[BLOCK_HEADER_SIZE + n] != SLOT_USED)
                continue;
            std::span<const BYTE> record(pData + RecordOffset(nRecordSize, n), static_cast<std::size_t>(nRecordSize));
            if (!match || match(record)) {
                *pCursor = { pBlock->m_nBlock, n };
                return TRUE;
            }
        }
        bool bEnd = false;
        pBlock = NextChainBlockLocked(*pBlock, &bEnd);
        if (bEnd) {
            SetLastError(ERROR_NO_MORE_ITEMS);
            return FALSE;
        }
        if (!pBlock)
            return FALSE;
        nSlot = NO_SLOT;
    }
    DamageLocked(); // a chain longer than the file has blocks runs in a circle
    return FALSE;
}

BOOL CCatalogFile::ForEachTableRecord(LONG nTableType, const RecordVisit& visit)
{
    // The lock is taken block by block, so other threads wait at most one block.
    for (CATBLOCK nBlock = 0;; ++nBlock) {
        CLock lock(*this);
        if (m_state == State::Closed) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (nBlock > m_header.nLastBlock)
            return TRUE;
        CCatalogBlock* pBlock = GetBlockLocked(nBlock);
        if (!pBlock)
            return FALSE;
        if (pBlock->m_nTableType != nTableType)
            continue;
        const BYTE* pData = BlockDataLocked(nBlock);
        if (!pData)
            return FALSE;
        const LONG nRecordSize = pBlock->m_nRecordSize;
        // The block's records are read one after the other: asked for all at
        // once, their cache lines come from memory together rather than one
        // by one as each record is reached.
        const int nEnd = RecordOffset(nRecordSize, pBlock->m_header.nHighestUsed + 1);
        for (int nOffset = 0; nOffset < nEnd; nOffset += CACHE_LINE_SIZE)
            __builtin_prefetch(pData + nOffset);
        for (LONG n = 0; n <= pBlock->m_header.nHighestUsed; ++n) {
            if (pData[BLOCK_HEADER_SIZE + n] == SLOT_USED)
                visit({ nBlock, n },
                    std::span<const BYTE>(pData + RecordOffset(nRecordSize, n), static_cast<std::size_t>(nRecordSize)));
        }
    }
}

BOOL CCatalogFile::ReadRecord(CRecordRef ref, LONG nTableType, std::span<BYTE> data)
{
    CLock lock(*this);
    CRecordRef owner;
    return ReadRecordLocked(ref, nTableType, data, &owner);
}

BOOL CCatalogFile::ReadRecordLocked(CRecordRef ref, LONG nTableType, std::span<BYTE> data, CRecordRef* pOwner)
{
    const BYTE* pData = RecordBlockLocked(ref, nTableType);
    if (!pData)
        return FALSE;
    const CBlockHeader header = ReadBlockHeader(pData);
    if (data.size() != static_cast<std::size_t>(header.nRecordSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::memcpy(data.data(), pData + RecordOffset(header.nRecordSize, ref.nSlot), data.size());
    *pOwner = header.owner;
    return TRUE;
}

BOOL CCatalogFile::LookUpRecord(CRecordRef ref, LONG nTableType, std::span<BYTE> data, CRecordRef* pOwner)
{
    CLock lock(*this);
    if (m_state == State::Closed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!pOwner || ref.nBlock < 0 || ref.nBlock > m_header.nLastBlock) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Changed blocks are always cached, so a chunk that is not is as the file holds it.
    const std::size_t nChunk = static_cast<std::size_t>(ref.nBlock) / 2;
    if (FindChunkLocked(ref.nBlock & ~1) != m_chunks.end() || WasStampedLatelyLocked(nChunk))
        return ReadRecordLocked(ref, nTableType, data, pOwner);
    ++m_nChunkReads;
    StampChunkLocked(nChunk);
    return ReadRecordAloneLocked(ref, nTableType, data, pOwner);
}

BOOL CCatalogFile::ReadRecordAloneLocked(CRecordRef ref, LONG nTableType, std::span<BYTE> data, CRecordRef* pOwner)
{
    const LONG nRecordSize = GetRecordSize(nTableType);
    if (nRecordSize == 0 || data.size() != static_cast<std::size_t>(nRecordSize) || ref.nSlot < 0
        || ref.nSlot >= SlotCount(nRecordSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The header, the slot flags and the records up to this one.
    std::array<BYTE, BLOCK_SIZE> block;
    const auto nEnd = static_cast<std::size_t>(RecordOffset(nRecordSize, ref.nSlot) + nRecordSize);
    if (!m_io.ReadAt(BlockFileOffset(ref.nBlock), std::span<BYTE>(block.data(), nEnd))) {
        DamageLocked(); // the header promised this block: the file was cut behind our back
        return FALSE;
    }
    const CBlockHeader header = ReadBlockHeader(block.data());
    // A block of another table has flags this read may not reach: the cache tells its error.
    if (header.nTableType != nTableType)
        return ReadRecordLocked(ref, nTableType, data, pOwner);
    if (!IsValidBlock(ref.nBlock, block.data())) {
        DamageLocked();
        return FALSE;
    }
    if (block[static_cast<std::size_t>(BLOCK_HEADER_SIZE + ref.nSlot)] != SLOT_USED) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::memcpy(data.data(), block.data() + RecordOffset(nRecordSize, ref.nSlot), data.size());
    *pOwner = header.owner;
    return TRUE;
}

/******************************************************************************
 * Writing records
 ******************************************************************************/

BOOL CCatalogFile::CheckWritable() const
{
    if (m_state == State::Open)
        return TRUE;
    SetLastError(m_state == State::Closed ? ERROR_INVALID_HANDLE : ERROR_WRITE_PROTECT);
    return FALSE;
}

BOOL CCatalogFile::IsWritable() const
{
    CLock lock(*this);
    return m_state == State::Open;
}

BOOL CCatalogFile::AppendBlockLocked(const CBlockHeader& header, CATBLOCK* pnBlock, std::span<const BYTE> initial)
{
    if (m_header.nLastBlock >= MAX_BLOCK) {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    CATBLOCK nBlock = m_header.nLastBlock + 1;
    std::array<BYTE, BLOCK_SIZE> data {};
    WriteBlockHeader(data.data(), header);
    int nSlots = SlotCount(header.nRecordSize);
    std::memset(data.data() + BLOCK_HEADER_SIZE, SLOT_FREE, static_cast<std::size_t>(nSlots));
    if (header.nHighestUsed >= 0) {
        data[BLOCK_HEADER_SIZE + static_cast<std::size_t>(header.nHighestUsed)] = SLOT_USED;
        std::copy(initial.begin(), initial.end(), data.begin() + RecordOffset(header.nRecordSize, header.nHighestUsed));
    }
    // A new file's first block brings the catalog its identity.
    if (nBlock == 0 && LeavesIdentityRoom(header.nRecordSize)) {
        m_nIdentity = NewCatalogIdentity();
        WriteLong(data.data() + IDENTITY_OFFSET, static_cast<LONG>(m_nIdentity));
    }
    if (!CacheNewBlockLocked(nBlock, data.data()))
        return FALSE;
    m_header.nLastBlock = nBlock;
    NoteHeaderChangeLocked();
    *pnBlock = nBlock;
    return TRUE;
}

LONG CCatalogFile::GetRecordSize(LONG nTableType) const
{
    if (nTableType < 0 || static_cast<std::size_t>(nTableType) >= m_recordSizes.size())
        return 0;
    return m_recordSizes[static_cast<std::size_t>(nTableType)];
}

BOOL CCatalogFile::NewChain(LONG nTableType, CRecordRef owner, CATBLOCK* pnBlock)
{
    CLock lock(*this);
    if (!CheckWritable())
        return FALSE;
    LONG nRecordSize = GetRecordSize(nTableType);
    if (!pnBlock || nRecordSize == 0 || (!owner.IsNone() && !IsValidOwner(owner))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CBlockHeader header { nTableType, nRecordSize, NO_SLOT, NO_BLOCK, NO_BLOCK, owner };
    BOOL bDone = FinishWriteLocked(AppendBlockLocked(header, pnBlock, {}));
    AssertValidLocked();
    return bDone;
}

BOOL CCatalogFile::AllocateRecord(
    LONG nTableType, CATBLOCK nFirstBlock, CRecordRef owner, CRecordRef* pRef, std::span<const BYTE> initial)
{
    CLock lock(*this);
    if (!CheckWritable())
        return FALSE;
    LONG nRecordSize = GetRecordSize(nTableType);
    if (!pRef || nRecordSize == 0 || (!initial.empty() && initial.size() != static_cast<std::size_t>(nRecordSize))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BOOL bDone = FinishWriteLocked(AllocateLocked(nTableType, nRecordSize, nFirstBlock, owner, pRef, initial));
    AssertValidLocked();
    return bDone;
}

BOOL CCatalogFile::AllocateLocked(LONG nTableType, LONG nRecordSize, CATBLOCK nFirstBlock, CRecordRef owner,
    CRecordRef* pRef, std::span<const BYTE> initial)
{
    if (nFirstBlock == NO_BLOCK) {
        if (!owner.IsNone() && !IsValidOwner(owner)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        CBlockHeader header { nTableType, nRecordSize, 0, NO_BLOCK, NO_BLOCK, owner };
        CATBLOCK nBlock = NO_BLOCK;
        if (!AppendBlockLocked(header, &nBlock, initial))
            return FALSE;
        *pRef = { nBlock, 0 };
        return TRUE;
    }
    if (nFirstBlock > m_header.nLastBlock) {
        DamageLocked(); // a chain's first block comes from a record: the record names no block
        return FALSE;
    }
    CCatalogBlock* pBlock = GetBlockLocked(nFirstBlock);
    if (!pBlock)
        return FALSE;
    if (pBlock->m_nTableType != nTableType) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!CheckChainLocked(pBlock))
        return FALSE;
    // A walk from a chain's first block starts at the first block that may
    // have a free slot and moves that hint along as it passes full blocks, so
    // filling a long chain costs no more per record than filling a short one.
    CCatalogBlock* pFirst = pBlock->m_header.nPrevBlock == NO_BLOCK ? pBlock : nullptr;
    LONG nIndex = 0;
    if (pFirst) {
        pFirst->m_nChainFirst = pFirst->m_nBlock;
        pFirst->m_nChainIndex = 0;
        if (CCatalogBlock* pHint = HintedBlockLocked(*pFirst)) {
            pBlock = pHint;
            nIndex = pHint->m_nChainIndex;
        }
    }
    int nSlots = pBlock->GetSlotCount();
    for (CATBLOCK nStep = 0; nStep <= m_header.nLastBlock; ++nStep) {
        if (pFirst) {
            pBlock->m_nChainFirst = pFirst->m_nBlock;
            pBlock->m_nChainIndex = nIndex++;
            pFirst->m_nFreeHint = pBlock->m_nBlock;
        }
        const BYTE* pData = BlockDataLocked(pBlock->m_nBlock);
        if (!pData)
            return FALSE;
        const BYTE* pFlags = pData + BLOCK_HEADER_SIZE;
        const BYTE* pFree = std::find(pFlags, pFlags + nSlots, SLOT_FREE);
        if (pFree != pFlags + nSlots) {
            LONG nSlot = static_cast<LONG>(pFree - pFlags);
            if (!TakeSlotLocked(pBlock->m_nBlock, nSlot, initial))
                return FALSE;
            *pRef = { pBlock->m_nBlock, nSlot };
            return TRUE;
        }
        bool bEnd = false;
        CCatalogBlock* pNext = NextChainBlockLocked(*pBlock, &bEnd);
        if (bEnd)
            return LinkNewBlockLocked(*pBlock, pRef, initial);
        if (!pNext)
            return FALSE;
        pBlock = pNext;
    }
    DamageLocked(); // a chain longer than the file has blocks runs in a circle
    return FALSE;
}

BOOL CCatalogFile::TakeSlotLocked(CATBLOCK nBlock, LONG nSlot, std::span<const BYTE> initial)
{
    BYTE* pData = ChangeBlockLocked(nBlock);
    if (!pData)
        return FALSE;
    LONG nRecordSize = ReadLong(pData + BLOCK_OFF_RECORD_SIZE);
    BYTE* pRecord = pData + RecordOffset(nRecordSize, nSlot);
    pData[BLOCK_HEADER_SIZE + nSlot] = SLOT_USED;
    if (initial.empty())
        std::memset(pRecord, 0, static_cast<std::size_t>(nRecordSize));
    else
        std::memcpy(pRecord, initial.data(), static_cast<std::size_t>(nRecordSize));
    WriteLong(pData + BLOCK_OFF_HIGHEST_USED, std::max(ReadLong(pData + BLOCK_OFF_HIGHEST_USED), nSlot));
    UpdateBlockObjectLocked(nBlock, pData);
    return TRUE;
}

CCatalogBlock* CCatalogFile::HintedBlockLocked(const CCatalogBlock& first)
{
    if (first.m_nFreeHint == NO_BLOCK || first.m_nFreeHint > m_header.nLastBlock)
        return nullptr;
    CCatalogBlock* pHint = CachedBlockLocked(first.m_nFreeHint);
    // The hint is ours, made while the file was open; it is checked all the same.
    return pHint && pHint->m_nChainFirst == first.m_nBlock ? pHint : nullptr;
}

void CCatalogFile::NoteFreedSlotLocked(const CCatalogBlock& block)
{
    if (block.m_nChainFirst == NO_BLOCK)
        return; // no allocation walk passed this block, so no hint lies beyond it
    CCatalogBlock* pFirst = CachedBlockLocked(block.m_nChainFirst);
    if (!pFirst)
        return;
    CCatalogBlock* pHint = HintedBlockLocked(*pFirst);
    if (pHint && block.m_nChainIndex < pHint->m_nChainIndex)
        pFirst->m_nFreeHint = block.m_nBlock;
}

BOOL CCatalogFile::LinkNewBlockLocked(const CCatalogBlock& last, CRecordRef* pRef, std::span<const BYTE> initial)
{
    CBlockHeader header { last.m_nTableType, last.m_nRecordSize, 0, last.m_nBlock, NO_BLOCK, last.m_header.owner };
    CATBLOCK nBlock = NO_BLOCK;
    if (!AppendBlockLocked(header, &nBlock, initial))
        return FALSE;
    BYTE* pData = ChangeBlockLocked(last.m_nBlock);
    if (!pData)
        return FALSE;
    WriteLong(pData + BLOCK_OFF_NEXT_BLOCK, nBlock);
    UpdateBlockObjectLocked(last.m_nBlock, pData);
    *pRef = { nBlock, 0 };
    return TRUE;
}

BOOL CCatalogFile::WriteRecord(CRecordRef ref, LONG nTableType, std::span<const BYTE> data)
{
    CLock lock(*this);
    if (!CheckWritable())
        return FALSE;
    const BYTE* pRecordBlock = RecordBlockLocked(ref, nTableType);
    if (!pRecordBlock)
        return FALSE;
    LONG nRecordSize = ReadBlockHeader(pRecordBlock).nRecordSize;
    if (data.size() != static_cast<std::size_t>(nRecordSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BYTE* pData = ChangeBlockLocked(ref.nBlock);
    if (pData)
        std::memcpy(pData + RecordOffset(nRecordSize, ref.nSlot), data.data(), data.size());
    return FinishWriteLocked(pData != nullptr);
}

BOOL CCatalogFile::FreeRecord(CRecordRef ref, LONG nTableType)
{
    BOOL bDone = FALSE;
    {
        CLock lock(*this);
        if (!CheckWritable())
            return FALSE;
        if (!RecordBlockLocked(ref, nTableType))
            return FALSE;
        BYTE* pData = ChangeBlockLocked(ref.nBlock);
        if (pData) {
            CBlockHeader header = ReadBlockHeader(pData);
            pData[BLOCK_HEADER_SIZE + ref.nSlot] = SLOT_FREE;
            std::memset(
                pData + RecordOffset(header.nRecordSize, ref.nSlot), 0, static_cast<std::size_t>(header.nRecordSize));
            LONG nHighest = header.nHighestUsed;
            while (nHighest >= 0 && pData[BLOCK_HEADER_SIZE + nHighest] != SLOT_USED)
                --nHighest;
            WriteLong(pData + BLOCK_OFF_HIGHEST_USED, nHighest);
            UpdateBlockObjectLocked(ref.nBlock, pData);
            if (const CCatalogBlock* pBlock = CachedBlockLocked(ref.nBlock))
                NoteFreedSlotLocked(*pBlock);
        }
        bDone = FinishWriteLocked(pData != nullptr);
        AssertValidLocked();
    }
    if (CFreeListener* pListener = m_pFreeListener.load(); bDone && pListener != nullptr)
        pListener->OnRecordFreed(*this, ref, nTableType);
    return bDone;
}

/******************************************************************************
 * Actions and commits
 ******************************************************************************/

void CCatalogFile::BeginAction()
{
    CLock lock(*this);
    ++m_nActionDepth;
}

BOOL CCatalogFile::EndAction()
{
    CLock lock(*this);
    if (m_nActionDepth == 0) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    return --m_nActionDepth > 0 ? TRUE : CommitLocked();
}

BOOL CCatalogFile::CommitIfDue()
{
    CLock lock(*this);
    if (!HasChangesLocked() || std::chrono::steady_clock::now() - m_batchStart < COMMIT_INTERVAL)
        return TRUE;
    return CommitLocked();
}

BOOL CCatalogFile::Commit()
{
    CLock lock(*this);
    return CommitLocked();
}

/******************************************************************************
 * Damage and invariants
 ******************************************************************************/

void CCatalogFile::ReportDamage()
{
    CLock lock(*this);
    if (m_state != State::Closed)
        DamageLocked();
}

BOOL CCatalogFile::IsPastEnd(CATBLOCK nBlock) const
{
    CLock lock(*this);
    return nBlock > m_header.nLastBlock;
}

void CCatalogFile::DamageLocked()
{
    m_state = State::Error;
    if (!m_bDamageReported) {
        m_bDamageReported = true;
        m_bReportPending = true;
    }
    SetLastError(ERROR_INVALID_DATA);
}

unsigned CCatalogFile::GetReadCount() const
{
    CLock lock(*this);
    return m_io.GetReadCount();
}

bool CCatalogFile::CheckInvariants() const
{
    CLock lock(*this);
    return CheckInvariantsLocked();
}

void CCatalogFile::AssertValid() const
{
    CLock lock(*this);
    AssertValidLocked();
}

void CCatalogFile::AssertValidLocked() const
{
#ifndef NDEBUG
    // The check visits every block object and every cached chunk, each a
    // memory access of its own, so on a file of more than 64 blocks it runs
    // once in CHECK_CALLS_PER_VISIT calls per thing it visits: its cost per
    // call stays the same whatever the size of the file or of the cache. A
    // smaller file is checked after every call.
    constexpr std::size_t CHECK_CALLS_PER_VISIT = 8;
    std::size_t nBlocks = m_blocks.size();
    std::size_t nVisits = nBlocks + m_chunks.size() + m_pinnedChunks.size();
    if (++m_nUncheckedCalls >= (nBlocks > 64 ? nVisits * CHECK_CALLS_PER_VISIT : 1)) {
        m_nUncheckedCalls = 0;
        assert(CheckInvariantsLocked());
    }
#endif
}

bool CCatalogFile::CheckInvariantsLocked() const
{
    bool bClosed = m_state == State::Closed;
    if (bClosed != (m_nOpenCount == 0) || bClosed == m_io.IsOpen())
        return false;
    if (bClosed
        && (!m_chunks.empty() || !m_pinnedChunks.empty() || !m_chunkIndex.empty() || !m_blocks.empty()
            || HasChangesLocked()))
        return false;
    auto isCached
        = [&](std::size_t nChunk) { return nChunk < m_chunkIndex.size() && m_chunkIndex[nChunk] != m_chunks.end(); };
    std::size_t nIndexed = 0;
    for (std::size_t nChunk = 0; nChunk < m_chunkIndex.size(); ++nChunk)
        nIndexed += isCached(nChunk) ? 1 : 0;
    if (m_nCacheLimit > m_nCacheChunks || m_chunks.size() > static_cast<size_t>(m_nCacheLimit)
        || m_chunks.size() + m_pinnedChunks.size() != nIndexed)
        return false;
    int nDirty = 0;
    std::size_t nCommitted = 0;
    for (const CChunkList* pList : { &m_chunks, &m_pinnedChunks }) {
        for (const CChunk& chunk : *pList) {
            std::size_t nChunk = static_cast<std::size_t>(chunk.nFirst) / 2;
            bool bChanged = chunk.bDirty[0] || chunk.bDirty[1];
            if (chunk.nFirst < 0 || (chunk.nFirst & 1) != 0 || !isCached(nChunk) || &*m_chunkIndex[nChunk] != &chunk
                || chunk.nBlocks != std::min<CATBLOCK>(2, m_header.nLastBlock - chunk.nFirst + 1)
                || chunk.bPinned != (pList == &m_pinnedChunks) || chunk.bPinned != bChanged)
                return false;
            for (int nIndex = 0; nIndex < chunk.nBlocks; ++nIndex) {
                CATBLOCK nBlock = chunk.nFirst + nIndex;
                if (!chunk.bDirty[static_cast<std::size_t>(nIndex)])
                    continue;
                ++nDirty;
                // A changed block the file holds keeps its committed bytes.
                if (nBlock <= m_committedHeader.nLastBlock && !m_committedBlocks.contains(nBlock))
                    return false;
                nCommitted += nBlock <= m_committedHeader.nLastBlock ? 1 : 0;
            }
        }
    }
    if (nDirty != m_nDirtyBlocks || nCommitted != m_committedBlocks.size())
        return false;
    for (std::size_t nIndex = 0; nIndex < m_blocks.size(); ++nIndex) {
        const CCatalogBlock* pBlock = m_blocks[nIndex].get();
        if (!pBlock)
            continue;
        CATBLOCK nBlock = static_cast<CATBLOCK>(nIndex);
        if (pBlock->m_nBlock != nBlock)
            return false;
        if (nBlock > m_header.nLastBlock) {
            if (m_state != State::Error)
                return false;
            continue; // of a dropped batch
        }
        // A free-slot hint names a block of the same chain.
        if (pBlock->m_nFreeHint != NO_BLOCK) {
            const CCatalogBlock* pHint = CachedBlockLocked(pBlock->m_nFreeHint);
            if (!pHint || pHint->m_nChainFirst != nBlock || pBlock->m_nChainFirst != nBlock)
                return false;
        }
        if (isCached(nIndex / 2)) {
            const BYTE* pData = m_chunkIndex[nIndex / 2]->data.data() + (nIndex & 1) * BLOCK_SIZE;
            if (ReadBlockHeader(pData) != pBlock->m_header)
                return false;
        }
    }
    return true;
}
