#include "store/CCatalogBlock.h"

#include "store/CCatalogFile.h"

CBlockHeader ReadBlockHeader(const BYTE* pBlock)
{
    CBlockHeader header;
    header.nTableType = ReadLong(pBlock);
    header.nRecordSize = ReadLong(pBlock + 4);
    header.nHighestUsed = ReadLong(pBlock + 8);
    header.nPrevBlock = ReadLong(pBlock + 12);
    header.nNextBlock = ReadLong(pBlock + 16);
    header.owner.nBlock = ReadLong(pBlock + 20);
    header.owner.nSlot = ReadLong(pBlock + 24);
    return header;
}

void WriteBlockHeader(BYTE* pBlock, const CBlockHeader& header)
{
    WriteLong(pBlock, header.nTableType);
    WriteLong(pBlock + 4, header.nRecordSize);
    WriteLong(pBlock + 8, header.nHighestUsed);
    WriteLong(pBlock + 12, header.nPrevBlock);
    WriteLong(pBlock + 16, header.nNextBlock);
    WriteLong(pBlock + 20, header.owner.nBlock);
    WriteLong(pBlock + 24, header.owner.nSlot);
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
