#include "store/CCleanUpFolderRec.h"

#include "store/CCatalog.h"

CCleanUpFolderRec::CCleanUpFolderRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot)
    : CTextEntryRec(pCatalog, TABLE_CLEANUP_FOLDER, { nBlock, nSlot })
{
}

CCleanUpFolderTextRec::CCleanUpFolderTextRec(CCatalog* pCatalog, CRecordRef ref)
    : CTextPieceRec(pCatalog, TABLE_CLEANUP_FOLDER_TEXT, ref)
{
}
