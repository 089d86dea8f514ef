#include "dialogs/CDialogFramePrompts.h"

#include "dialogs/documents/CDlgFindOptions.h"
#include "dialogs/documents/CDlgSearchCriteria.h"
#include "frame/CArchivoraApp.h"

int CDialogFramePrompts::FindOptions()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return IDCANCEL;
    CDlgFindOptions dlg(pApp->GetFindSettings(), AfxGetMainWnd());
    return static_cast<int>(dlg.DoModal());
}

int CDialogFramePrompts::SearchCriteria(CListFilter& filter, BOOL bReadOnly)
{
    CDlgSearchCriteria dlg(filter, AfxGetMainWnd());
    dlg.SetReadOnly(bReadOnly);
    const auto nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK)
        CopyListFilter(&filter, dlg.GetFilter());
    return nResult;
}
