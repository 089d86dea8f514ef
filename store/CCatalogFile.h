#pragma once

// A paged catalog file: an 84-byte header and blocks of BLOCK_SIZE bytes, each
// holding the fixed-size records of one table in slots. The records of a table
// form chains of blocks; store/FORMAT.md describes the layout.
//
// The file is open while someone holds a reference (Acquire/Release). Changes
// are made in memory and reach the file in batches: the changes of an action
// (see below) are committed together when it ends, through the journal beside
// the file (store/CatalogJournal.h), so that after a crash or a power cut the
// file reads as before the action or as after it, never in between. A call
// made while no action is open is an action of its own. Every read is
// validated: a damaged file gives the fatal catalog error (once per opening)
// and a failed call, never a crash or an endless walk. All members may be
// called from several threads; one lock per file guards the caches, the open
// count and the file.

#include "platform/base/CString.h"
#include "platform/base/SlotPool.h"
#include "platform/base/WinError.h"
#include "store/CCatalogBlock.h"
#include "store/CatalogIo.h"
#include "store/CatalogJournal.h"
#include "store/CatalogTypes.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CCatalogFile {
public:
    // How committed batches reach the file.
    enum class Durability {
        Journal, // through the journal: a batch is whole after any crash
        Direct,  // written in place only: for a new file that is thrown away
                 // when its writing does not finish (a rebuild's copy)
        Scratch, // written in place and never flushed: for a file made anew
                 // for each use, whose contents need not outlive a power cut
                 // (the last search's results). Blocks still go in place in
                 // the order that keeps chains whole if the program stops.
    };

    // pszPath is the file's program path. recordSizes gives the record size of
    // each table type the file may hold, indexed by type; 0 marks an unused
    // type. The sizes must outlive the object.
    // nCacheChunks sets the size of the block cache (chunks of two blocks).
    CCatalogFile(LPCTSTR pszPath, std::span<const int> recordSizes, int nCacheChunks = CACHE_CHUNKS,
        Durability eDurability = Durability::Journal);
    virtual ~CCatalogFile();
    CCatalogFile(const CCatalogFile&) = delete;
    CCatalogFile& operator=(const CCatalogFile&) = delete;

    /* Creating a file. */

    // Writes a new file of the given kind (CATALOG_KIND_...) with an empty
    // header and no blocks, replacing any file at the path and its journal.
    // Only while no reference is held (else ERROR_SHARING_VIOLATION); the file
    // stays closed.
    BOOL Create(LONG nKind);

    /* Open references. */

    // Takes one reference, opening and checking the file on the first. The
    // first replays the journal a crash left, when there is one. FALSE when
    // the file cannot be opened, the journal cannot be replayed or the header
    // is damaged; that also reports the fatal catalog error.
    BOOL Acquire();
    // Gives one reference back; the last one commits what is pending, flushes
    // the file, removes the journal, closes the file and drops every cache.
    // FALSE when that failed or no reference was held.
    BOOL Release();
    int GetOpenCount() const;
    // How many batches of a journal the last opening replayed.
    int GetReplayedBatches() const;

    /* Actions: the ends of one change as the user sees it. Every change made
       between the first BeginAction and its matching EndAction is committed
       in one batch, with one flush, when that EndAction comes; actions nest.
       A batch that grows past MAX_BATCH_BLOCKS blocks is committed at the
       next write, even inside an action. Changes made by another thread while
       an action is open join its batch. */

    void BeginAction();
    // Ends an action; the outermost commits. FALSE when the commit failed: the
    // batch is dropped (the caches read as before it) and the file refuses
    // writes until it is reopened. A batch whose writing in place failed after
    // the journal took it is committed: TRUE, and the file refuses writes.
    BOOL EndAction();
    // For long work inside an action, between two of its steps: commits the
    // batch when it is at least COMMIT_INTERVAL old, so that a crash costs at
    // most that much work. FALSE as EndAction.
    BOOL CommitIfDue();
    // Commits the batch now, inside an action or not. FALSE as EndAction.
    BOOL Commit();

    /* The file header, readable while a reference is held. The setters change
       it like any write; FALSE when the file is not open or refuses writes. */

    LONG GetKind() const;
    // Gives the file another kind (CATALOG_KIND_...): for a file that was made
    // with the wrong one. FALSE for a kind out of range or on failure.
    BOOL SetKind(LONG nKind);
    // The catalog's identity (IDENTITY_OFFSET in CatalogTypes.h), which binds
    // the journal to it; 0 while the file has none. A file opened with its
    // journal gets one if it was made before identities.
    DWORD GetIdentity() const;
    // The highest block number; NO_BLOCK for a file without blocks.
    CATBLOCK GetLastBlock() const;
    // Two texts of at most 23 bytes each, cut at a character boundary.
    BOOL SetHeaderStrings(LPCTSTR pszText1, LPCTSTR pszText2);
    CString GetHeaderString(int nIndex) const; // nIndex 0 or 1
    BOOL SetHeaderLinks(LONG nLink1, LONG nLink2);
    LONG GetHeaderLink(int nIndex) const; // nIndex 0 or 1
    BOOL SetTimeStamp(const FILETIME& ftStamp);
    FILETIME GetTimeStamp() const;

    // The record size of a table; 0 for a type the file does not use.
    LONG GetRecordSize(LONG nTableType) const;

    /* Blocks and records. A reference outside the file, to a free slot or of
       another table is refused with ERROR_INVALID_PARAMETER and is no damage;
       a damaged block on the way is (see above). */

    // The block's cached header object: one object per block, read from the
    // file on first use. Null for a block outside the file or a damaged one.
    CCatalogBlock* GetBlock(CATBLOCK nBlock);
    // TRUE when the block exists, holds records of nTableType and the slot is used.
    BOOL CheckRecord(CATBLOCK nBlock, LONG nSlot, LONG nTableType);
    // Advances *pCursor to the next used slot of its chain, following the
    // chain's blocks. A cursor {first block, NO_SLOT} starts a chain. FALSE at
    // the end (ERROR_NO_MORE_ITEMS), with the cursor unchanged.
    BOOL NextRecord(CRecordRef* pCursor);
    // As NextRecord, but skips the records for which match returns false; it
    // sees each record's bytes in place. match runs under the file's lock, so
    // it must not call the file.
    using RecordMatch = std::function<bool(std::span<const BYTE> record)>;
    BOOL FindNextRecord(CRecordRef* pCursor, const RecordMatch& match);
    // Calls visit with every used record of nTableType, in block order, its
    // bytes in place: a pass over a whole table that reads each block once
    // whatever chains its records lie in. visit runs under the file's lock,
    // so it must not call the file. FALSE on damage on the way.
    using RecordVisit = std::function<void(CRecordRef ref, std::span<const BYTE> record)>;
    BOOL ForEachTableRecord(LONG nTableType, const RecordVisit& visit);
    // Copies a used record of nTableType into data, whose size must be the
    // table's record size; WriteRecord writes one back into its slot: its
    // block goes to the file whole, so a record is never found half written.
    BOOL ReadRecord(CRecordRef ref, LONG nTableType, std::span<BYTE> data);
    // As ReadRecord, for a record looked up by itself; *pOwner receives the
    // owner of its chain. A record whose chunk is neither cached nor left
    // memory within the last CACHE_CHUNKS chunk reads (evicted, or a record
    // of it read alone) is read from the file alone, from its block's start
    // to its own end, and fills no cache: lookups scattered over a file many
    // times the cache cost one short read each rather than a chunk read, an
    // eviction and the copy of two blocks. A second lookup in the chunk
    // within that span reads it whole and counts as a miss the full size
    // would have saved, so lookups that go through a directory in order, or
    // come back to a file the cache can hold, find their chunks cached.
    BOOL LookUpRecord(CRecordRef ref, LONG nTableType, std::span<BYTE> data, CRecordRef* pOwner);
    BOOL WriteRecord(CRecordRef ref, LONG nTableType, std::span<const BYTE> data);

    /* Allocation. Records are zero-filled when allocated and when freed. A
       chain's blocks share its table type and owner; blocks are appended to
       the file and never leave their chain, so a freed slot is reused by the
       next allocation in the same chain. While the file is open it remembers,
       per chain, the first block that may have a free slot, so an allocation
       given the chain's first block costs no more in a long chain than in a
       short one. */

    // Appends an empty block that starts a new chain of nTableType owned by
    // owner (none for a table's root chain) and returns its number.
    BOOL NewChain(LONG nTableType, CRecordRef owner, CATBLOCK* pnBlock);
    // Takes the first free slot of the chain starting at nFirstBlock, linking
    // a new block after its last when every slot is used. With nFirstBlock
    // NO_BLOCK a new chain owned by owner is started; the caller keeps the
    // new first block (pRef->nBlock). Otherwise owner is not used: new blocks
    // take the chain's owner. The new record holds initial when given (its
    // size must be the table's record size), written with the slot. A first
    // block past the last block is damage: the chain's owner names no block.
    BOOL AllocateRecord(
        LONG nTableType, CATBLOCK nFirstBlock, CRecordRef owner, CRecordRef* pRef, std::span<const BYTE> initial = {});
    // Frees a used record of nTableType.
    BOOL FreeRecord(CRecordRef ref, LONG nTableType);

    /* Watching frees: whoever keeps references to records outside the file
       learns when one of them stops naming its record. */

    class CFreeListener {
    public:
        // A record was freed: its slot may hold an unrelated record later.
        // Called after the free, outside the file's lock, on the thread that
        // freed it; the listener must not free records itself.
        virtual void OnRecordFreed(CCatalogFile& file, CRecordRef ref, LONG nTableType) = 0;

    protected:
        ~CFreeListener() = default;
    };
    // One listener at a time; null removes it. The listener must outlive the
    // file or be removed first.
    void SetFreeListener(CFreeListener* pListener) { m_pFreeListener = pListener; }

    /* Errors. */

    // For the record classes: a record's contents contradict the file (a link
    // to a record of the wrong table, say). Reports the fatal catalog error
    // once per opening and refuses writes until the file is reopened.
    void ReportDamage();
    // TRUE when nBlock lies past the last block. A block number read from a
    // record may name a freed record, never a block the file lacks: that is
    // damage, for the caller to report.
    BOOL IsPastEnd(CATBLOCK nBlock) const;
    // FALSE after a failed write or found damage, until the file is reopened.
    BOOL IsWritable() const;

    /* Checking. */

    // TRUE when the caches, the open count and the state agree (see the
    // invariants in CCatalogFile.cpp). For assertions and tests.
    bool CheckInvariants() const;
    void AssertValid() const;
    // How many reads the file has taken since it was last opened.
    unsigned GetReadCount() const;
    const CString& GetPath() const { return m_strPath; }

    // The default size of the block cache, in chunks of two consecutive
    // blocks: 64 MiB. A walk of a node's documents reads one chunk per
    // document and the next node's walk reads most of them again, so the
    // cache holds the chunks of a node of many thousand documents (measured
    // with bench/catalog_bench at 100 000 and 1 000 000 documents), and a
    // pass over every document of a catalog of 100 000 (bench/search_bench)
    // finds the blocks of the last pass. The cache fills only as far as the
    // file is read.
    static constexpr int CACHE_CHUNKS = 16384;
    // The cache starts at this size (2 MiB) and grows towards its full size
    // only while the file asks again for chunks the full size would have kept:
    // a chunk read into memory not touched before costs the fault that maps
    // the memory and the misses of its first writing, so a walk that finds
    // what it needs again in the few most recent chunks keeps reusing the
    // same memory, while repeated passes grow the cache to hold them. Each
    // such miss grows it by a chunk; every UNSAVABLE_MISSES_PER_CHUNK misses
    // that even the full size would not have saved shrink it by one, so reads
    // scattered over a file many times the full size (where fewer than one
    // miss in five would turn into a hit) keep it small and its memory warm.
    static constexpr int FIRST_CACHE_CHUNKS = 512;
    static constexpr int UNSAVABLE_MISSES_PER_CHUNK = 4;
    // The most blocks a batch changes before it is committed (8 MiB).
    static constexpr int MAX_BATCH_BLOCKS = 4096;
    // The age at which CommitIfDue commits a batch.
    static constexpr std::chrono::milliseconds COMMIT_INTERVAL { 1000 };
    // The journal's size from which a commit also flushes the file and starts
    // the journal's next generation.
    static constexpr std::int64_t CHECKPOINT_BYTES = 4 << 20;
    // The blocks a batch appends from which it writes them in place and
    // flushes the file before its journal, which then takes only the blocks
    // that were there before and the header: a long update that mostly
    // appends writes its new blocks once. Smaller batches, a user's action,
    // keep their single flush of the journal.
    static constexpr int DIRECT_APPEND_BLOCKS = 256;

private:
    friend class CCatalogBlock;

    enum class State {
        Closed,
        Open,
        Error,
    };

    // The file header in memory.
    struct CFileHeader {
        LONG nKind { CATALOG_KIND_MAIN };
        CATBLOCK nLastBlock { NO_BLOCK };
        std::array<char, HEADER_TEXT_SIZE> szText1 {};
        std::array<char, HEADER_TEXT_SIZE> szText2 {};
        LONG nLink1 { 0 };
        LONG nLink2 { 0 };
        FILETIME ftStamp {};
    };

    // Blocks 2k and 2k+1, read together; nBlocks is 1 for a last, even block.
    // The bytes are not zeroed when a chunk is made: a read or a copy fills
    // the blocks it holds.
    struct CChunk {
        CChunk() { }
        CATBLOCK nFirst { 0 };
        int nBlocks { 0 };
        std::array<bool, 2> bChecked {}; // block validated since it was read
        std::array<bool, 2> bDirty {};   // block changed by the batch
        bool bPinned { false };          // in the list of pinned chunks, not the cache's
        std::array<BYTE, 2 * BLOCK_SIZE> data;
    };
    // Chunks live in m_chunkSlots' runs: a cache of thousands of them fills
    // large pages rather than one small heap page per chunk.
    using CChunkList = std::list<CChunk, CSlotAllocator<CChunk>>;

    class CLock;

    CBlockHeader GetBlockHeader(const CCatalogBlock& block) const;
    static void EncodeHeader(const CFileHeader& header, BYTE* pBytes);
    // FALSE when the bytes are no header of a file we can read.
    static bool DecodeHeader(const BYTE* pBytes, CFileHeader* pHeader);

    /* Everything below expects the lock to be held. */

    BOOL OpenLocked();
    // Before the first commit through the journal: a file from before
    // identities that has block 0 gets one, written in place and flushed before
    // any journal names it. Opening alone leaves the file as it is.
    [[nodiscard]] BOOL GiveIdentityLocked();
    BOOL CloseLocked();
    // Closes m_io, flushing it unless the file is scratch.
    BOOL CloseIoLocked();
    [[nodiscard]] BOOL CheckWritable() const;

    /* The batch. */

    // The end of a public call that changed the file: commits unless an action
    // is open and the batch is not too large. bDone is the call's own result,
    // returned unless the commit failed.
    BOOL FinishWriteLocked(BOOL bDone);
    bool HasChangesLocked() const { return m_nDirtyBlocks > 0 || m_bHeaderDirty; }
    // Writes the batch through the journal (or in place only) and makes it
    // the committed state; drops it when the file refuses writes or the
    // journal could not take it.
    BOOL CommitLocked();
    // Puts the caches back as the file holds them: the changed blocks as they
    // were, the blocks appended by the batch gone, the header as committed.
    void RollbackLocked();
    // Writes the blocks (sorted) and the header of the batch in place, but
    // those from writtenFrom on, which are there already.
    [[nodiscard]] BOOL WriteBackLocked(
        const std::vector<CJournalBlock>& blocks, std::vector<CJournalBlock>::const_iterator writtenFrom);
    // Writes the blocks of a sorted range in place, consecutive blocks in one write.
    [[nodiscard]] BOOL WriteRunsLocked(
        std::vector<CJournalBlock>::const_iterator first, std::vector<CJournalBlock>::const_iterator last);
    // After a batch: flushes the file and starts the journal's next generation.
    [[nodiscard]] BOOL CheckpointLocked();
    // The bytes of an existing block, marked changed by the batch (its bytes
    // as committed kept for a rollback) and pinned in the cache until the
    // commit. Null on damage. Bytes changed through the pointer are the change.
    BYTE* ChangeBlockLocked(CATBLOCK nBlock);
    // Brings the block's header object up to date with its bytes.
    void UpdateBlockObjectLocked(CATBLOCK nBlock, const BYTE* pData);
    // A change is about to be made: the first of a batch starts its clock.
    void NoteChangeLocked();
    // The batch changed the file header in memory.
    void NoteHeaderChangeLocked();
    // Marks a free slot of an existing block used, holding initial (zeros
    // when empty).
    [[nodiscard]] BOOL TakeSlotLocked(CATBLOCK nBlock, LONG nSlot, std::span<const BYTE> initial);
    // Makes a new block after the last one, with slot header.nHighestUsed (if
    // any) used and holding initial (zeros when empty), and counts it in the
    // file header.
    [[nodiscard]] BOOL AppendBlockLocked(const CBlockHeader& header, CATBLOCK* pnBlock, std::span<const BYTE> initial);
    [[nodiscard]] BOOL AllocateLocked(LONG nTableType, LONG nRecordSize, CATBLOCK nFirstBlock, CRecordRef owner,
        CRecordRef* pRef, std::span<const BYTE> initial);
    // The block a chain's first block names as the first that may have a free
    // slot, checked to lie in that chain; null when there is none.
    CCatalogBlock* HintedBlockLocked(const CCatalogBlock& first);
    // Moves the hint of the block's chain back to it when a slot was freed before the hint.
    void NoteFreedSlotLocked(const CCatalogBlock& block);
    // Appends a block after the chain's last block, with its slot 0 taken and holding initial.
    [[nodiscard]] BOOL LinkNewBlockLocked(const CCatalogBlock& last, CRecordRef* pRef, std::span<const BYTE> initial);
    // The cached chunk whose first block is nFirst, or m_chunks.end().
    CChunkList::iterator FindChunkLocked(CATBLOCK nFirst);
    // The cached chunk holding a block, read on a miss; null when the read failed.
    CChunk* ChunkLocked(CATBLOCK nBlock);
    // A chunk for nFirst put first in the cache, in place of the least recently
    // used one when the cache is full; the caller fills it.
    CChunk& AddChunkLocked(CATBLOCK nFirst);
    // Drops the least recently used chunks of the cache beyond its size.
    void TrimCacheLocked();
    // Notes the eviction of the least recently used chunk; the caller drops
    // or reuses it.
    void EvictLastChunkLocked();
    // The chunk leaves memory now: evicted, or a record of it read alone.
    void StampChunkLocked(std::size_t nChunk);
    // The chunk left memory within the last m_nCacheChunks chunk reads: a
    // cache of the full size would still hold it.
    bool WasStampedLatelyLocked(std::size_t nChunk) const;
    // A chunk is about to be read into the cache: grows or shrinks the cache
    // by the rule at FIRST_CACHE_CHUNKS.
    void NoteChunkMissLocked(CATBLOCK nFirst);
    // Drops a chunk from the cache, pinned or not.
    void DropChunkLocked(CChunkList::iterator it);
    // Puts a block the batch appends into the cache, changed and pinned. FALSE
    // when the block before it in its chunk could not be read (damage).
    [[nodiscard]] BOOL CacheNewBlockLocked(CATBLOCK nBlock, const BYTE* pData);
    // Moves a chunk to the list of pinned chunks, or back to the front of the cache.
    void PinChunkLocked(CChunkList::iterator it);
    void UnpinChunkLocked(CChunkList::iterator it);
    // The checked bytes of an existing block; null (damage found) when damaged.
    // The pointer is good until the next lookup in the block cache. Bytes are
    // changed only through ChangeBlockLocked.
    BYTE* BlockDataLocked(CATBLOCK nBlock);
    CCatalogBlock* GetBlockLocked(CATBLOCK nBlock);
    // The block-header object of a block if it was made, else null; reads nothing.
    CCatalogBlock* CachedBlockLocked(CATBLOCK nBlock) const;
    // The bytes of the block of a used record of nTableType, or null.
    BYTE* RecordBlockLocked(CRecordRef ref, LONG nTableType);
    // Copies a used record of nTableType through the cache, with the owner of its chain.
    [[nodiscard]] BOOL ReadRecordLocked(CRecordRef ref, LONG nTableType, std::span<BYTE> data, CRecordRef* pOwner);
    // The same from the file, reading its block only up to the record's end
    // and caching nothing (see LookUpRecord). ref.nBlock is a block of the file.
    [[nodiscard]] BOOL ReadRecordAloneLocked(CRecordRef ref, LONG nTableType, std::span<BYTE> data, CRecordRef* pOwner);
    // The block after `block` in its chain, checked to continue it. Null at the
    // end (*pbEnd set) or on damage.
    CCatalogBlock* NextChainBlockLocked(const CCatalogBlock& block, bool* pbEnd);
    // Follows the chain from pStart to its end once per opening, so that
    // walks along it are known to end. FALSE (damage found) when it does not.
    [[nodiscard]] BOOL CheckChainLocked(CCatalogBlock* pStart);
    bool IsValidBlock(CATBLOCK nBlock, const BYTE* pData) const;
    bool IsValidOwner(CRecordRef owner) const;
    // Found damage: refuse writes and have the report sent once per opening.
    void DamageLocked();
    // Asserts the invariants: after every call on a small file, now and then on a large one.
    void AssertValidLocked() const;
    bool CheckInvariantsLocked() const;

    const CString m_strPath;
    const std::span<const int> m_recordSizes;
    const Durability m_eDurability;

    mutable std::mutex m_mutex;
    std::atomic<CFreeListener*> m_pFreeListener { nullptr };
    State m_state { State::Closed };
    int m_nOpenCount { 0 };
    bool m_bDamageReported { false };        // the fatal report went out since the file was opened
    mutable bool m_bReportPending { false }; // the fatal report goes out when the lock is let go
    CFileHeader m_header;                    // as the batch leaves it
    CFileHeader m_committedHeader;           // as the file holds it
    bool m_bHeaderDirty { false };           // the batch changed the header
    CCatalogIo m_io;
    CCatalogJournal m_journal;
    bool m_bOwnsJournal { false }; // this object opened the file's journal; no other in the process did
    DWORD m_nIdentity { 0 };       // the catalog's identity, as block 0 keeps it; 0 none
    int m_nReplayedBatches { 0 };
    int m_nCacheChunks;                          // the most the cache grows to
    int m_nCacheLimit;                           // what it holds for now: from FIRST_CACHE_CHUNKS to m_nCacheChunks
    int m_nUnsavableMisses { 0 };                // since the cache last shrank
    std::uint32_t m_nChunkReads { 0 };           // chunks read whole or in part since the file was opened (wraps)
    std::vector<std::uint32_t> m_chunkStamps;    // by first block / 2: m_nChunkReads when it last left memory, 0 never
    mutable std::size_t m_nUncheckedCalls { 0 }; // calls since AssertValidLocked last checked
    CSlotPool m_chunkSlots;                      // the memory of both lists' chunks
    CChunkList m_chunks;                         // unchanged chunks, most recently used first, at most m_nCacheLimit
    CChunkList m_pinnedChunks;                   // chunks with a block the batch changed
    // By first block / 2, into either list; m_chunks.end() for a chunk that is not cached.
    std::vector<CChunkList::iterator> m_chunkIndex;
    std::unordered_map<CATBLOCK, std::array<BYTE, BLOCK_SIZE>> m_committedBlocks; // changed blocks as committed
    int m_nDirtyBlocks { 0 };                                                     // blocks the batch changed
    int m_nActionDepth { 0 };
    std::chrono::steady_clock::time_point m_batchStart;   // when the batch's first change was made
    std::vector<BYTE> m_writeBuffer;                      // consecutive blocks written back in one write
    std::vector<std::unique_ptr<CCatalogBlock>> m_blocks; // block-header cache, by block number; null when not read
};

/* Test seam. */

// From now on, a commit that leaves the journal at nBytes or more flushes the
// file and starts the journal's next generation (CHECKPOINT_BYTES for 0).
void SetCatalogCheckpointBytes(std::int64_t nBytes);
// From now on, a batch that appends nBlocks blocks or more writes them in
// place before its journal (DIRECT_APPEND_BLOCKS for 0).
void SetCatalogDirectAppendBlocks(int nBlocks);

// An action on a catalog file for the span of a scope: BeginAction when made,
// EndAction when it goes or at End. A null file makes an action of nothing.
class CCatalogAction {
public:
    explicit CCatalogAction(CCatalogFile* pFile)
        : m_pFile(pFile)
    {
        if (m_pFile)
            m_pFile->BeginAction();
    }
    ~CCatalogAction() { (void)End(); }
    CCatalogAction(const CCatalogAction&) = delete;
    CCatalogAction& operator=(const CCatalogAction&) = delete;

    // Ends the action now; EndAction's result (TRUE when it had ended).
    BOOL End()
    {
        CCatalogFile* pFile = std::exchange(m_pFile, nullptr);
        return pFile ? pFile->EndAction() : TRUE;
    }
    // Ends the action in an operation's last statement: hands back the
    // operation's result when the commit succeeded, else a failure (0, FALSE,
    // null) with the commit's error. A failed operation keeps its own error.
    int Finish(int nResult)
    {
        DWORD dwError = GetLastError();
        BOOL bCommitted = End();
        if (nResult == 0 || bCommitted)
            SetLastError(dwError);
        return bCommitted ? nResult : 0;
    }
    template<class T> T* Finish(T* pResult)
    {
        std::unique_ptr<T> pOwned(pResult);
        return Finish(pResult ? 1 : 0) ? pOwned.release() : nullptr;
    }

private:
    CCatalogFile* m_pFile;
};
