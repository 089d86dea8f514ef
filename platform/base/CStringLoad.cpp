// The members of CString that read the string table of the current resource module.

#include "platform/base/CString.h"

#include "platform/base/ResourceModule.h"

BOOL CString::LoadString(UINT nID)
{
    // With no buffer size, LoadString hands out the string in the module itself
    // and its full length, so no string is ever cut.
    LPCTSTR pszText = nullptr;
    int nLength = ::LoadString(AfxGetResourceHandle(), nID, reinterpret_cast<LPTSTR>(&pszText), 0);
    *this = CString(pszText, nLength);
    return nLength > 0 ? TRUE : FALSE;
}
