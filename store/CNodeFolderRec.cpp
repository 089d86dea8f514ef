#include "store/CNodeFolderRec.h"

#include "store/CCatalog.h"

CNodeFolderRec::CNodeFolderRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot)
    : CTextEntryRec(pCatalog, TABLE_NODE_FOLDER, { nBlock, nSlot })
{
}

CNodeFolderTextRec::CNodeFolderTextRec(CCatalog* pCatalog, CRecordRef ref)
    : CTextPieceRec(pCatalog, TABLE_NODE_FOLDER_TEXT, ref)
{
}

CNodeFolderLinkRec::CNodeFolderLinkRec(CCatalog* pCatalog, CRecordRef ref)
    : CEntryLinkRec(pCatalog, TABLE_NODE_FOLDER_LINK, ref)
{
}
