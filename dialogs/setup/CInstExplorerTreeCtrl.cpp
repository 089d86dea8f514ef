#include "dialogs/setup/CInstExplorerTreeCtrl.h"

#include "store/FileHelpers.h"
#include "store/PathHelpers.h"

IMPLEMENT_DYNCREATE(CInstExplorerTreeCtrl, CCheckExplorerTreeCtrl)

CInstExplorerTreeCtrl::CInstExplorerTreeCtrl()
{
    GetFileMasks().Add("~*.*");
    GetFileMasks().Add("*.tmp");
    // The program folder stands where the system folder did.
    CString strLeaveOut = GetProgramFolder();
    strLeaveOut.MakeLower();
    strLeaveOut = AddBackslash(strLeaveOut) + "temporary internet files";
    GetLeaveOutMap().SetAt(strLeaveOut, nullptr);
}

BOOL CInstExplorerTreeCtrl::Fill(int nMode, CMapStringToPtr* pExtensions, CMapStringToPtr& roots)
{
    DeleteAllItems();
    SetInserted(FALSE);
    CDlgAnimatedProgress& progress = GetProgressDialog();
    progress.Show();
    if (pExtensions) {
        SetExtensionMap(pExtensions);
        ClearFoundCache();
    }
    if (nMode != MODE_NETWORK)
        FillDrives();
    if (!progress.IsCancelled() && nMode != MODE_LOCAL)
        RestoreCheckedPaths(roots);
    for (HTREEITEM hItem = GetRootItem(); hItem && !progress.IsCancelled(); hItem = GetNextSiblingItem(hItem))
        Expand(hItem, TVE_EXPAND);
    const BOOL bDone = !progress.IsCancelled();
    if (!bDone) {
        // A stopped fill leaves folders half listed; the next fill starts over.
        DeleteAllItems();
        SetInserted(FALSE);
    }
    progress.Close();
    return bDone;
}
