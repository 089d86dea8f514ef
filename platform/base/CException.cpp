#include "platform/base/CException.h"

#include "platform/base/TextFunctions.h"

#include <cstdio>
#include <string>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)

CException::CException(BOOL bAutoDelete)
    : m_bAutoDelete(bAutoDelete)
{
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError > 0)
        *lpszError = '\0';
    return FALSE;
}

BOOL CException::FillErrorMessage(
    LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext, LPCTSTR pszFormat, LPCTSTR pszFileName)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    LPCTSTR pszName = pszFileName && *pszFileName ? pszFileName : "an unnamed file";
    int nLength = std::snprintf(nullptr, 0, pszFormat, pszName);
    std::string strMessage(static_cast<size_t>(nLength > 0 ? nLength : 0), '\0');
    std::snprintf(strMessage.data(), strMessage.size() + 1, pszFormat, pszName);
    lstrcpyn(lpszError, strMessage.c_str(), static_cast<int>(nMaxError));
    return TRUE;
}

CMemoryException::CMemoryException(BOOL bAutoDelete)
    : CException(bAutoDelete)
{
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    return FillErrorMessage(lpszError, nMaxError, pnHelpContext, "Out of memory.", nullptr);
}

void AfxThrowMemoryException()
{
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}
