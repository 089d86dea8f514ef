#include "store/CCatalogBlock.h"

#include "store/CCatalogFile.h"

CBlockHeader ReadBlockHeader(const BYTE* pBlock)
{
    CBlockHeader header;
    header.nTableType = ReadLong(pBlock + BLOCK_OFF_TABLE_TYPE);
    header.nRecordSize = ReadLong(pBlock + BLOCK_OFF_RECORD_SIZE);
    header.nHighestUsed = ReadLong(pBlock + BLOCK_OFF_HIGHEST_USED);
    header.nPrevBlock = ReadLong(pBlock + BLOCK_OFF_PREV_BLOCK);
    header.nNextBlock = ReadLong(pBlock + BLOCK_OFF_NEXT_BLOCK);
    header.owner.nBlock = ReadLong(pBlock + BLOCK_OFF_OWNER_BLOCK);
    header.owner.nSlot = ReadLong(pBlock + BLOCK_OFF_OWNER_SLOT);
    return header;
}

void WriteBlockHeader(BYTE* pBlock, const CBlockHeader& header)
{
    WriteLong(pBlock + BLOCK_OFF_TABLE_TYPE, header.nTableType);
    WriteLong(pBlock + BLOCK_OFF_RECORD_SIZE, header.nRecordSize);
    WriteLong(pBlock + BLOCK_OFF_HIGHEST_USED, header.nHighestUsed);
    WriteLong(pBlock + BLOCK_OFF_PREV_BLOCK, header.nPrevBlock);
    WriteLong(pBlock + BLOCK_OFF_NEXT_BLOCK, header.nNextBlock);
    WriteLong(pBlock + BLOCK_OFF_OWNER_BLOCK, header.owner.nBlock);
    WriteLong(pBlock + BLOCK_OFF_OWNER_SLOT, header.owner.nSlot);
}

CCatalogBlock::CCatalogBlock(CCatalogFile* pFile, CATBLOCK nBlock, const CBlockHeader& header)
    : m_nTableType(header.nTableType)
    , m_nRecordSize(header.nRecordSize)
    , m_nBlock(nBlock)
    , m_pFile(pFile)
    , m_header(header)
{
}

CBlockHeader CCatalogBlock::GetHeader() const
{
    return m_pFile->GetBlockHeader(*this);
}
