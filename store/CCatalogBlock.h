#pragma once

// A block of a catalog file as the program sees it: its number and its header.
// The table type comes first, as callers tell a block of node records (type 0)
// from one of documents (type 2) by it.

#include "store/CatalogTypes.h"

class CCatalogFile;

// The block header as stored: seven 32-bit fields in this order.
struct CBlockHeader {
    LONG nTableType { 0 };            // table of every record in the block
    LONG nRecordSize { 0 };           // bytes per record, the table's record size
    LONG nHighestUsed { NO_SLOT };    // highest used slot, NO_SLOT when none is
    CATBLOCK nPrevBlock { NO_BLOCK }; // previous block of the chain, NO_BLOCK for the first
    CATBLOCK nNextBlock { NO_BLOCK }; // next block of the chain, NO_BLOCK for the last
    CRecordRef owner;                 // record owning the chain; none for a table's root chain

    bool operator==(const CBlockHeader&) const = default;
};

// Reads and writes a header at the start of a block's bytes.
CBlockHeader ReadBlockHeader(const BYTE* pBlock);
void WriteBlockHeader(BYTE* pBlock, const CBlockHeader& header);

// One block's cached header. Objects are made by CCatalogFile::GetBlock, one per
// block, and stay valid while the caller holds an open reference on the file.
// The table type and record size never change; the rest of the header changes
// as records are allocated and chains grow, so it is read under the file's lock.
class CCatalogBlock {
public:
    CCatalogBlock(CCatalogFile* pFile, CATBLOCK nBlock, const CBlockHeader& header);
    CCatalogBlock(const CCatalogBlock&) = delete;
    CCatalogBlock& operator=(const CCatalogBlock&) = delete;

    LONG GetTableType() const { return m_nTableType; }
    LONG GetRecordSize() const { return m_nRecordSize; }
    int GetSlotCount() const { return SlotCount(m_nRecordSize); }
    CATBLOCK GetBlockNumber() const { return m_nBlock; }
    CCatalogFile* GetFile() const { return m_pFile; }

    // A copy of the whole header as it is now.
    CBlockHeader GetHeader() const;

private:
    friend class CCatalogFile;

    const LONG m_nTableType;
    const LONG m_nRecordSize;
    const CATBLOCK m_nBlock;
    CCatalogFile* const m_pFile;
    // Guarded by the file's lock, like everything below.
    CBlockHeader m_header;
    bool m_bChainChecked { false }; // the chain from here was followed to its end
    // Where an allocation walk from a chain's first block found this block:
    // that first block and this block's place in the chain (0 for the first);
    // NO_BLOCK until such a walk passed here. A block never leaves its chain,
    // so once known they hold while the file is open.
    CATBLOCK m_nChainFirst { NO_BLOCK };
    LONG m_nChainIndex { 0 };
    // For a chain's first block: the first block of the chain that may have a
    // free slot; every block before it is full. NO_BLOCK when not known.
    CATBLOCK m_nFreeHint { NO_BLOCK };
};
