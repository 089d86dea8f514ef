#include "store/AmbiguousPaths.h"

#include "store/CatalogError.h"

#include "platform/base/PathMap.h"

CString FormatAmbiguousPath(LPCTSTR pszPath)
{
    CString strText;
    strText.Format("%s cannot be told apart from another file or folder whose name differs from it only in case. "
                   "Nothing was done to either; rename one of them to act on it.",
        pszPath ? pszPath : "");
    return strText;
}

BOOL CheckPathUnambiguous(LPCTSTR pszPath, LPCTSTR pszTitle)
{
    if (!IsPathCaseAmbiguous(pszPath))
        return TRUE;
    ReportStoreMessage(pszPath, FormatAmbiguousPath(pszPath), pszTitle, STORE_MESSAGE_WARNING_STYLE);
    return FALSE;
}
