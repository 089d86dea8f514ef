// The members of CString that read the string table of the current resource module.

#include "platform/base/CString.h"

#include "platform/base/ResourceModule.h"

BOOL CString::LoadString(UINT nID)
{
    // A buffer size of 0 asks for a pointer to the stored text instead of a copy.
    LPCTSTR pszText = nullptr;
    int nLength = ::LoadString(AfxGetResourceHandle(), nID, reinterpret_cast<LPTSTR>(&pszText), 0);
    if (nLength <= 0 || !pszText) {
        Empty();
        return FALSE;
    }
    *this = CString(pszText, nLength);
    return TRUE;
}
