#pragma once

// A paged catalog file: an 84-byte header and blocks of BLOCK_SIZE bytes, each
// holding the fixed-size records of one table in slots. The records of a table
// form chains of blocks; store/FORMAT.md describes the layout.
//
// The file is open while someone holds a reference (Acquire/Release). Every
// change is written through to the file before the call returns, so the file
// is consistent after each call. Every read is validated: a damaged file gives
// the fatal catalog error (once per opening) and a failed call, never a crash
// or an endless walk. All members may be called from several threads; one
// lock per file guards the caches, the open count and the file.

#include "platform/base/CString.h"
#include "store/CCatalogBlock.h"
#include "store/CatalogIo.h"
#include "store/CatalogTypes.h"

#include <array>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

class CCatalogFile {
public:
    // pszPath is the file's program path. recordSizes gives the record size of
    // each table type the file may hold, indexed by type; 0 marks an unused
    // type. The sizes must outlive the object.
    // nCacheChunks sets the size of the block cache (chunks of two blocks).
    CCatalogFile(LPCTSTR pszPath, std::span<const int> recordSizes, int nCacheChunks = CACHE_CHUNKS);
    virtual ~CCatalogFile();
    CCatalogFile(const CCatalogFile&) = delete;
    CCatalogFile& operator=(const CCatalogFile&) = delete;

    /* Creating a file. */

    // Writes a new file of the given kind (CATALOG_KIND_...) with an empty
    // header and no blocks, replacing any file at the path. Only while no
    // reference is held (else ERROR_SHARING_VIOLATION); the file stays closed.
    BOOL Create(LONG nKind);

    /* Open references. */

    // Takes one reference, opening and checking the file on the first. FALSE
    // when the file cannot be opened or its header is damaged; that also
    // reports the fatal catalog error.
    BOOL Acquire();
    // Gives one reference back; the last one flushes and closes the file and
    // drops every cache. FALSE when the flush failed or no reference was held.
    BOOL Release();
    int GetOpenCount() const;

    /* The file header, readable while a reference is held. The setters write
       the header through; FALSE when the file is not open or refuses writes. */

    LONG GetKind() const;
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
    // Copies a used record of nTableType into data, whose size must be the
    // table's record size; WriteRecord writes one back into its slot, in one
    // write of its whole block, so a record is never found half written.
    BOOL ReadRecord(CRecordRef ref, LONG nTableType, std::span<BYTE> data);
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
    // size must be the table's record size), written with the slot.
    BOOL AllocateRecord(
        LONG nTableType, CATBLOCK nFirstBlock, CRecordRef owner, CRecordRef* pRef, std::span<const BYTE> initial = {});
    // Frees a used record of nTableType.
    BOOL FreeRecord(CRecordRef ref, LONG nTableType);

    /* Errors. */

    // For the record classes: a record's contents contradict the file (a link
    // to a record of the wrong table, say). Reports the fatal catalog error
    // once per opening and refuses writes until the file is reopened.
    void ReportDamage();
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

    // The default size of the block cache, in chunks of two consecutive blocks (128 KiB).
    static constexpr int CACHE_CHUNKS = 32;

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

    // Blocks 2k and 2k+1, read together; nBlocks is 1 for a last, odd block.
    struct CChunk {
        CATBLOCK nFirst { 0 };
        int nBlocks { 0 };
        std::array<bool, 2> bChecked {}; // block validated since it was read
        std::array<BYTE, 2 * BLOCK_SIZE> data {};
    };

    class CLock;

    CBlockHeader GetBlockHeader(const CCatalogBlock& block) const;
    static void EncodeHeader(const CFileHeader& header, BYTE* pBytes);
    // FALSE when the bytes are no header of a file we can read.
    static bool DecodeHeader(const BYTE* pBytes, CFileHeader* pHeader);

    /* Everything below expects the lock to be held. */

    BOOL OpenLocked();
    BOOL CloseLocked();
    [[nodiscard]] BOOL CheckWritable() const;
    [[nodiscard]] BOOL WriteHeaderLocked(const CFileHeader& header);
    // Writes a whole block, then copies it into the caches.
    [[nodiscard]] BOOL WriteBlockLocked(CATBLOCK nBlock, const BYTE* pData);
    // Writes a whole block from pData, which is the block's bytes in the block
    // cache or a copy of them, and brings its header object up to date. On a
    // failure the caller puts back the bytes it changed in the cache.
    [[nodiscard]] BOOL WriteCachedBlockLocked(CATBLOCK nBlock, const BYTE* pData);
    // Marks a free slot of an existing block used, holding initial (zeros
    // when empty), in one write of the block.
    [[nodiscard]] BOOL TakeSlotLocked(CATBLOCK nBlock, LONG nSlot, std::span<const BYTE> initial);
    // Writes a new block after the last one, with slot header.nHighestUsed (if
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
    std::list<CChunk>::iterator FindChunkLocked(CATBLOCK nFirst);
    // The cached chunk holding a block, read on a miss; null when the read failed.
    CChunk* ChunkLocked(CATBLOCK nBlock);
    // A chunk for nFirst put first in the cache, in place of the least recently
    // used one when the cache is full; the caller fills it.
    CChunk& AddChunkLocked(CATBLOCK nFirst);
    // Puts a block just appended to the file into the cache as it was written.
    void CacheAppendedBlockLocked(CATBLOCK nBlock, const BYTE* pData);
    // The checked bytes of an existing block; null (damage found) when damaged.
    // The pointer is good until the next lookup in the block cache. Bytes
    // changed through it are written to the file in the same call, and put
    // back when that write fails.
    BYTE* BlockDataLocked(CATBLOCK nBlock);
    CCatalogBlock* GetBlockLocked(CATBLOCK nBlock);
    // The block-header object of a block if it was made, else null; reads nothing.
    CCatalogBlock* CachedBlockLocked(CATBLOCK nBlock) const;
    // The bytes of the block of a used record of nTableType, or null.
    BYTE* RecordBlockLocked(CRecordRef ref, LONG nTableType);
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

    mutable std::mutex m_mutex;
    State m_state { State::Closed };
    int m_nOpenCount { 0 };
    bool m_bDamageReported { false };        // the fatal report went out since the file was opened
    mutable bool m_bReportPending { false }; // the fatal report goes out when the lock is let go
    CFileHeader m_header;
    CCatalogIo m_io;
    int m_nCacheChunks;
    mutable std::size_t m_nUncheckedCalls { 0 }; // calls since AssertValidLocked last checked
    std::list<CChunk> m_chunks;                  // most recently used first, at most m_nCacheChunks
    // By first block / 2; m_chunks.end() for a chunk that is not cached.
    std::vector<std::list<CChunk>::iterator> m_chunkIndex;
    std::vector<std::unique_ptr<CCatalogBlock>> m_blocks; // block-header cache, by block number; null when not read
};
