#include "platform/framework/CResourceException.h"

IMPLEMENT_DYNAMIC(CResourceException, CException)

CResourceException::CResourceException(BOOL bAutoDelete)
    : CException(bAutoDelete)
{
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    return FillErrorMessage(lpszError, nMaxError, pnHelpContext, "A required resource was unavailable.", nullptr);
}

void AfxThrowResourceException()
{
    throw new CResourceException();
}
