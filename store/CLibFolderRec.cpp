#include "store/CLibFolderRec.h"

#include "store/CCatalog.h"

CLibFolderRec::CLibFolderRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot)
    : CTextEntryRec(pCatalog, TABLE_LIB_FOLDER, { nBlock, nSlot })
{
}

CLibFolderTextRec::CLibFolderTextRec(CCatalog* pCatalog, CRecordRef ref)
    : CTextPieceRec(pCatalog, TABLE_LIB_FOLDER_TEXT, ref)
{
}
