#include "store/CatalogJournal.h"

#include "platform/base/Checksum.h"
#include "platform/base/HostFile.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <random>
#include <set>
#include <string>

/*
 * A journal file is a header and then frames, one after the other:
 *
 *   header (JOURNAL_HEADER_SIZE)  magic, version, block size, salt, base header, CRC
 *   frame  (FRAME_HEADER_SIZE + payload)
 *   frame  ...
 *
 * A batch is its block frames and its file header frame, then a commit frame
 * naming how many frames came before it; every frame of a batch carries the
 * generation's salt and the batch's sequence number (1, 2, ... within the
 * generation). A frame counts only when its CRC matches, so a torn frame, a
 * frame never written and a frame of an older generation all end the replay.
 *
 * Invariants:
 *  (1) A batch is flushed to the journal before any of its blocks is written in
 *      place; so the catalog file holds only what the journal's complete
 *      batches bring it to again.
 *  (2) A new generation starts, or the journal goes, only once the catalog file
 *      holding every batch of the journal is flushed.
 *  (3) Positions in the file are written once per generation, and each
 *      generation has a salt of its own: a replay never takes a frame of
 *      another generation for one of the current one.
 */

namespace {

constexpr char JOURNAL_MAGIC[8] = { 'C', 'A', 'T', 'J', 'O', 'U', 'R', 'N' };
// Version 2 binds a journal to its catalog's identity; version 1, which an
// older build may have left, to the catalog file's number on its volume.
constexpr LONG JOURNAL_VERSION = 2;
constexpr LONG JOURNAL_VERSION_FILE_NUMBER = 1;

// Offsets of the journal header's fields.
constexpr int JHDR_MAGIC = 0;
constexpr int JHDR_VERSION = 8;
constexpr int JHDR_BLOCK_SIZE = 12;
constexpr int JHDR_SALT = 16;
constexpr int JHDR_FILE = 20;                          // the catalog's identity (u64); version 1: its file number
constexpr int JHDR_BASE = 28;                          // the catalog's file header at the generation's start
constexpr int JHDR_CRC = JHDR_BASE + FILE_HEADER_SIZE; // CRC-32 of the bytes before it
constexpr int JOURNAL_HEADER_SIZE = 512;
static_assert(JHDR_CRC + 4 <= JOURNAL_HEADER_SIZE);

// Frame kinds.
constexpr LONG FRAME_BLOCK = 1;  // payload: a block's new bytes
constexpr LONG FRAME_HEADER = 2; // payload: the catalog's new file header
constexpr LONG FRAME_COMMIT = 3; // payload: the number of frames of the batch before it (i32)

// Offsets of a frame header's fields; the payload follows it.
constexpr int FRM_KIND = 0;
constexpr int FRM_BLOCK = 4; // the block of a block frame; NO_BLOCK for the others
constexpr int FRM_SALT = 8;
constexpr int FRM_SEQUENCE = 12;
constexpr int FRM_SIZE = 16; // the payload's size in bytes
constexpr int FRM_CRC = 20;  // CRC-32 of the fields before it and of the payload
constexpr int FRAME_HEADER_SIZE = 24;

LONG PayloadSize(LONG nKind)
{
    switch (nKind) {
    case FRAME_BLOCK:
        return BLOCK_SIZE;
    case FRAME_HEADER:
        return FILE_HEADER_SIZE;
    case FRAME_COMMIT:
        return 4;
    default:
        return -1;
    }
}

void AppendFrame(
    std::vector<BYTE>& buffer, LONG nKind, CATBLOCK nBlock, DWORD nSalt, DWORD nSequence, std::span<const BYTE> payload)
{
    std::array<BYTE, FRAME_HEADER_SIZE> header {};
    WriteLong(header.data() + FRM_KIND, nKind);
    WriteLong(header.data() + FRM_BLOCK, nBlock);
    WriteLong(header.data() + FRM_SALT, static_cast<LONG>(nSalt));
    WriteLong(header.data() + FRM_SEQUENCE, static_cast<LONG>(nSequence));
    WriteLong(header.data() + FRM_SIZE, static_cast<LONG>(payload.size()));
    DWORD nCrc = Crc32(std::span<const BYTE>(header.data(), FRM_CRC));
    WriteLong(header.data() + FRM_CRC, static_cast<LONG>(Crc32(payload, nCrc)));
    buffer.insert(buffer.end(), header.begin(), header.end());
    buffer.insert(buffer.end(), payload.begin(), payload.end());
}

// A frame as read back, its payload at nPayload in the file.
struct CFrame {
    LONG nKind { 0 };
    CATBLOCK nBlock { NO_BLOCK };
    std::int64_t nPayload { 0 };
};

// What a journal file holds: its catalog file, its base header and its complete batches.
struct CJournalContents {
    LONG nVersion { 0 };
    std::uint64_t nFileId { 0 }; // the catalog's identity; version 1: the catalog file's number
    std::array<BYTE, FILE_HEADER_SIZE> base {};
    std::vector<std::vector<CFrame>> batches;                // each batch's frames, the commit frame left out
    std::vector<std::array<BYTE, FILE_HEADER_SIZE>> headers; // the file header each batch leaves
};

// Reads the header and the complete batches of an open journal; false when
// its header is not a valid one (a journal that holds nothing). A read
// failure is reported through *pbFailed.
bool ReadJournal(CCatalogIo& io, CJournalContents* pContents, bool* pbFailed)
{
    *pbFailed = false;
    std::int64_t nLength = io.GetLength();
    std::array<BYTE, JOURNAL_HEADER_SIZE> header {};
    if (nLength < JOURNAL_HEADER_SIZE)
        return false;
    if (!io.ReadAt(0, header)) {
        *pbFailed = true;
        return false;
    }
    pContents->nVersion = ReadLong(header.data() + JHDR_VERSION);
    if (std::memcmp(header.data() + JHDR_MAGIC, JOURNAL_MAGIC, sizeof(JOURNAL_MAGIC)) != 0
        || (pContents->nVersion != JOURNAL_VERSION && pContents->nVersion != JOURNAL_VERSION_FILE_NUMBER)
        || ReadLong(header.data() + JHDR_BLOCK_SIZE) != BLOCK_SIZE
        || static_cast<DWORD>(ReadLong(header.data() + JHDR_CRC))
            != Crc32(std::span<const BYTE>(header.data(), JHDR_CRC)))
        return false;
    const DWORD nSalt = static_cast<DWORD>(ReadLong(header.data() + JHDR_SALT));
    pContents->nFileId = static_cast<DWORD>(ReadLong(header.data() + JHDR_FILE))
        | static_cast<std::uint64_t>(static_cast<DWORD>(ReadLong(header.data() + JHDR_FILE + 4))) << 32;
    std::memcpy(pContents->base.data(), header.data() + JHDR_BASE, FILE_HEADER_SIZE);

    std::vector<CFrame> frames;
    std::array<BYTE, FILE_HEADER_SIZE> batchHeader {};
    std::vector<BYTE> payload(BLOCK_SIZE);
    std::int64_t nOffset = JOURNAL_HEADER_SIZE;
    for (DWORD nSequence = 1; nOffset + FRAME_HEADER_SIZE <= nLength;) {
        std::array<BYTE, FRAME_HEADER_SIZE> frame {};
        if (!io.ReadAt(nOffset, frame)) {
            *pbFailed = true;
            return true;
        }
        LONG nKind = ReadLong(frame.data() + FRM_KIND);
        LONG nSize = ReadLong(frame.data() + FRM_SIZE);
        if (PayloadSize(nKind) < 0 || nSize != PayloadSize(nKind)
            || static_cast<DWORD>(ReadLong(frame.data() + FRM_SALT)) != nSalt
            || static_cast<DWORD>(ReadLong(frame.data() + FRM_SEQUENCE)) != nSequence
            || nOffset + FRAME_HEADER_SIZE + nSize > nLength)
            break;
        std::span<BYTE> bytes(payload.data(), static_cast<std::size_t>(nSize));
        if (!io.ReadAt(nOffset + FRAME_HEADER_SIZE, bytes)) {
            *pbFailed = true;
            return true;
        }
        DWORD nCrc = Crc32(std::span<const BYTE>(frame.data(), FRM_CRC));
        if (static_cast<DWORD>(ReadLong(frame.data() + FRM_CRC)) != Crc32(bytes, nCrc))
            break;
        CATBLOCK nBlock = ReadLong(frame.data() + FRM_BLOCK);
        if (nKind == FRAME_BLOCK && nBlock < 0)
            break;
        if (nKind == FRAME_COMMIT) {
            bool bHeader
                = std::any_of(frames.begin(), frames.end(), [](const CFrame& f) { return f.nKind == FRAME_HEADER; });
            if (!bHeader || ReadLong(bytes.data()) != static_cast<LONG>(frames.size()))
                break;
            pContents->batches.push_back(std::move(frames));
            pContents->headers.push_back(batchHeader);
            frames.clear();
            ++nSequence;
        } else {
            if (nKind == FRAME_HEADER)
                std::memcpy(batchHeader.data(), bytes.data(), FILE_HEADER_SIZE);
            frames.push_back({ nKind, nBlock, nOffset + FRAME_HEADER_SIZE });
        }
        nOffset += FRAME_HEADER_SIZE + nSize;
    }
    return true;
}

// Whether a journal was written for the catalog: the catalog's identity is
// the journal's. A catalog without one yet takes a journal that began with
// the catalog itself, before block 0 (which keeps the identity) was on the
// disk; a catalog whose block 0 has no room for one (never a program's),
// a journal without one. A journal of version 1 names the file's number on
// its volume instead.
bool IsJournalOf(const CJournalContents& contents, CCatalogIo& catalog)
{
    if (contents.nVersion == JOURNAL_VERSION_FILE_NUMBER)
        return contents.nFileId == catalog.GetIdentity();
    const DWORD nIdentity = ReadCatalogIdentity(catalog);
    const bool bBaseHasBlocks = ReadLong(contents.base.data() + FILE_HEADER_OFF_LAST_BLOCK) != NO_BLOCK;
    return contents.nFileId == nIdentity || (nIdentity == 0 && !bBaseHasBlocks);
}

// The journals that file objects of this process have claimed, by path.
std::mutex g_claimMutex;
std::set<std::string> g_claimedJournals;

DWORD NewSalt()
{
    std::random_device random;
    return static_cast<DWORD>(random());
}

}

CCatalogJournal::CCatalogJournal(const CString& strCatalogPath)
    : m_strPath(PathFor(strCatalogPath))
{
}

CString CCatalogJournal::PathFor(const CString& strCatalogPath)
{
    return strCatalogPath + ".jnl";
}

bool CCatalogJournal::Claim()
{
    std::lock_guard lock(g_claimMutex);
    m_bClaimed
        = m_bClaimed || g_claimedJournals.emplace(m_strPath, static_cast<std::size_t>(m_strPath.GetLength())).second;
    return m_bClaimed;
}

void CCatalogJournal::Unclaim()
{
    std::lock_guard lock(g_claimMutex);
    if (m_bClaimed)
        g_claimedJournals.erase(std::string(m_strPath, static_cast<std::size_t>(m_strPath.GetLength())));
    m_bClaimed = false;
}

DWORD ReadCatalogIdentity(CCatalogIo& catalog)
{
    std::array<BYTE, BLOCK_SIZE> block {};
    if (catalog.GetLength() < BlockFileOffset(1) || !catalog.ReadAt(BlockFileOffset(0), block)
        || !LeavesIdentityRoom(ReadLong(block.data() + BLOCK_OFF_RECORD_SIZE)))
        return 0;
    return static_cast<DWORD>(ReadLong(block.data() + IDENTITY_OFFSET));
}

DWORD NewCatalogIdentity()
{
    std::random_device random;
    DWORD nIdentity = 0;
    while (nIdentity == 0)
        nIdentity = static_cast<DWORD>(random());
    return nIdentity;
}

BOOL SettleCatalogJournal(LPCTSTR pszCatalogPath)
{
    CCatalogJournal journal(pszCatalogPath ? pszCatalogPath : "");
    if (!journal.Claim())
        return TRUE;
    HostFileStatus status;
    BOOL bSettled = TRUE;
    const CString strJournal = CCatalogJournal::PathFor(pszCatalogPath ? pszCatalogPath : "");
    if (GetHostFileStatus(strJournal, status) && status.bExists) {
        CCatalogIo catalog;
        int nBatches = 0;
        if (catalog.Open(pszCatalogPath, false))
            bSettled = journal.Recover(catalog, &nBatches) && catalog.Close();
        else
            bSettled = IsMissingFileError(GetLastError()) && CCatalogIo::Remove(strJournal);
    }
    journal.Unclaim();
    return bSettled;
}

/******************************************************************************
 * Recovery
 ******************************************************************************/

BOOL CCatalogJournal::Recover(CCatalogIo& catalog, int* pnBatches)
{
    *pnBatches = 0;
    CCatalogIo io;
    if (!io.Open(m_strPath, false))
        return IsMissingFileError(GetLastError()) ? TRUE : FALSE;
    CJournalContents contents;
    bool bFailed = false;
    bool bValid = ReadJournal(io, &contents, &bFailed);
    if (bFailed) {
        DWORD dwError = GetLastError();
        (void)io.Close();
        SetLastError(dwError);
        return FALSE;
    }
    // The journal belongs to the catalog file when it was written for this
    // catalog, wherever the file lies now, and the file's header is one the
    // journal knows: its base, or one a batch left (written in place or not).
    std::array<BYTE, FILE_HEADER_SIZE> current {};
    bool bOwn = bValid && IsJournalOf(contents, catalog) && catalog.ReadAt(0, current)
        && (current == contents.base
            || std::find(contents.headers.begin(), contents.headers.end(), current) != contents.headers.end());
    if (bOwn) {
        std::vector<BYTE> payload(BLOCK_SIZE);
        for (const std::vector<CFrame>& batch : contents.batches) {
            for (const CFrame& frame : batch) {
                bool bBlock = frame.nKind == FRAME_BLOCK;
                std::span<BYTE> bytes(payload.data(), bBlock ? BLOCK_SIZE : FILE_HEADER_SIZE);
                if (!io.ReadAt(frame.nPayload, bytes)
                    || !catalog.WriteAt(bBlock ? BlockFileOffset(frame.nBlock) : 0, bytes)) {
                    DWORD dwError = GetLastError();
                    (void)io.Close();
                    SetLastError(dwError);
                    return FALSE;
                }
            }
        }
        if (!contents.batches.empty() && !catalog.Sync()) {
            DWORD dwError = GetLastError();
            (void)io.Close();
            SetLastError(dwError);
            return FALSE;
        }
        *pnBatches = static_cast<int>(contents.batches.size());
    }
    // Replayed, or none of this file's: the batches must never be replayed again.
    std::array<BYTE, JOURNAL_HEADER_SIZE> invalid {};
    BOOL bDiscarded
        = (!bValid || (io.WriteAt(0, invalid) && io.SyncData())) && io.Close() && CCatalogIo::Remove(m_strPath);
    return bDiscarded;
}

/******************************************************************************
 * Writing
 ******************************************************************************/

BOOL CCatalogJournal::WriteHeader(std::span<const BYTE> committedHeader, std::vector<BYTE>* pBytes)
{
    std::array<BYTE, JOURNAL_HEADER_SIZE> header {};
    std::memcpy(header.data() + JHDR_MAGIC, JOURNAL_MAGIC, sizeof(JOURNAL_MAGIC));
    WriteLong(header.data() + JHDR_VERSION, JOURNAL_VERSION);
    WriteLong(header.data() + JHDR_BLOCK_SIZE, BLOCK_SIZE);
    WriteLong(header.data() + JHDR_SALT, static_cast<LONG>(m_nSalt));
    WriteLong(header.data() + JHDR_FILE, static_cast<LONG>(static_cast<DWORD>(m_nCatalogId)));
    WriteLong(header.data() + JHDR_FILE + 4, static_cast<LONG>(static_cast<DWORD>(m_nCatalogId >> 32)));
    std::memcpy(header.data() + JHDR_BASE, committedHeader.data(), FILE_HEADER_SIZE);
    WriteLong(header.data() + JHDR_CRC, static_cast<LONG>(Crc32(std::span<const BYTE>(header.data(), JHDR_CRC))));
    if (pBytes) {
        pBytes->insert(pBytes->end(), header.begin(), header.end());
        return TRUE;
    }
    return m_io.WriteAt(0, header);
}

BOOL CCatalogJournal::Commit(
    std::span<const CJournalBlock> blocks, std::span<const BYTE> header, std::span<const BYTE> committedHeader)
{
    m_buffer.clear();
    const bool bNew = m_nEnd == 0;
    if (bNew) {
        if (!m_io.IsOpen() && !m_io.Open(m_strPath, true))
            return FALSE;
        m_nSalt = NewSalt();
        m_nSequence = 0;
        (void)WriteHeader(committedHeader, &m_buffer);
    }
    const DWORD nSequence = m_nSequence + 1;
    for (const CJournalBlock& block : blocks)
        AppendFrame(
            m_buffer, FRAME_BLOCK, block.nBlock, m_nSalt, nSequence, std::span<const BYTE>(block.pData, BLOCK_SIZE));
    AppendFrame(m_buffer, FRAME_HEADER, NO_BLOCK, m_nSalt, nSequence, header);
    std::array<BYTE, 4> count {};
    WriteLong(count.data(), static_cast<LONG>(blocks.size() + 1));
    AppendFrame(m_buffer, FRAME_COMMIT, NO_BLOCK, m_nSalt, nSequence, count);
    // A new journal's name must be on the disk before a batch relies on it.
    if (!m_io.WriteAt(bNew ? 0 : m_nEnd, m_buffer) || !m_io.SyncData() || (bNew && !FlushFolderOf(m_strPath)))
        return FALSE;
    m_nEnd = (bNew ? 0 : m_nEnd) + static_cast<std::int64_t>(m_buffer.size());
    m_nSequence = nSequence;
    return TRUE;
}

BOOL CCatalogJournal::Checkpoint(std::span<const BYTE> committedHeader)
{
    if (m_nEnd == 0)
        return TRUE;
    ++m_nSalt;
    if (!WriteHeader(committedHeader, nullptr) || !m_io.SyncData())
        return FALSE;
    m_nEnd = JOURNAL_HEADER_SIZE;
    m_nSequence = 0;
    return TRUE;
}

BOOL CCatalogJournal::Discard()
{
    if (m_nEnd == 0)
        return TRUE;
    // The invalid header is on the disk before the name goes, so that a name
    // the disk still shows after a crash names a journal that holds nothing.
    std::array<BYTE, JOURNAL_HEADER_SIZE> invalid {};
    if (!m_io.WriteAt(0, invalid) || !m_io.SyncData())
        return FALSE;
    BOOL bClosed = m_io.Close();
    m_nEnd = 0;
    return CCatalogIo::Remove(m_strPath) && bClosed;
}
