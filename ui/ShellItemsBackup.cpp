#include "ui/ShellItemsBackup.h"

#include "catalog/ShellItemIds.h"
#include "store/CPreferences.h"
#include "store/DocumentBackup.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CUiHostServices.h"

BOOL BackupDroppedShellItems(CNodeRec& target, const CKadDragObjPIDL& payload)
{
    CDroppedShellItems items;
    for (int i = 0; i < payload.GetItemCount(); ++i) {
        CString strPath;
        if (SUCCEEDED(GetDisplayNameOfPIDL(payload.GetFolder(), payload.GetItem(i).pidl, SHGDN_FORPARSING, strPath)))
            items.paths.push_back(strPath);
    }
    if (items.paths.empty())
        return FALSE;
    CUiHostServices* pHost = GetUiHostServices();
    CBackupItem backup(pHost ? pHost->GetBackupFolderPrompt() : nullptr, thePreferences.m_strDefaultDirCopyRem);
    return backup.RunDocumentBackup(&target, items) != 0;
}
