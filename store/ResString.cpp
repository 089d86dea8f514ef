#include "store/ResString.h"

#include "platform/base/ResourceModule.h"

#include <string>

LPCTSTR GetResString(UINT nID)
{
    static std::string s_strBuffer;
    // With no buffer size LoadString hands out the stored text itself, so a
    // string of any length is copied whole.
    LPCTSTR pszStored = nullptr;
    int nLength = LoadString(AfxGetResourceHandle(), nID, reinterpret_cast<LPTSTR>(&pszStored), 0);
    if (nLength > 0 && pszStored)
        s_strBuffer.assign(pszStored, static_cast<size_t>(nLength));
    else
        s_strBuffer.clear();
    return s_strBuffer.c_str();
}
