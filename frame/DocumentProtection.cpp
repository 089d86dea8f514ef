#include "frame/DocumentProtection.h"

#include "catalog/CCatalogPrompts.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "store/CDocumentRec.h"
#include "store/ProtectedFile.h"
#include "ui/DocumentIcons.h"

#include "platform/framework/CWnd.h"

BOOL ToggleDocumentProtection(CDocumentRec& document, CWnd* pWindow)
{
    CString strPath;
    document.GetFullPath(strPath);
    CString strNew;
    CString strOld;
    if (document.IsProtected()) {
        if (GetCatalogPrompts().AskPassword(
                GetDocumentIcon(document), strPath, document.GetPassword(), 2, !document.IsMail(), strOld)
            != IDOK)
            return FALSE;
    } else if (GetFramePrompts().NewPassword(document, &strNew) != IDOK || strNew.IsEmpty()) {
        return FALSE;
    }
    if (pWindow && !::IsWindow(pWindow->GetSafeHwnd()))
        return FALSE;
    CCatalogHold hold(document.GetCatalog());
    const int nResult = document.ChangeProtection(strNew, strOld);
    if (nResult != PROTECT_OK) {
        ReportProtectError(strPath, nResult);
        return FALSE;
    }
    return TRUE;
}
