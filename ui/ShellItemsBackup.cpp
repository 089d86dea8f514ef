#include "ui/ShellItemsBackup.h"

#include "store/CPreferences.h"
#include "store/DocumentBackup.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CUiHostServices.h"

BOOL BackupDroppedShellItems(CNodeRec& target, const CKadDragObjPIDL& payload)
{
    const CDroppedShellItems items = payload.GetDroppedItems();
    if (items.paths.empty())
        return FALSE;
    CUiHostServices* pHost = GetUiHostServices();
    CBackupItem backup(pHost ? pHost->GetBackupFolderPrompt() : nullptr, thePreferences.m_strDefaultDirCopyRem);
    return backup.RunDocumentBackup(&target, items) != 0;
}
