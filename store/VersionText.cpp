#include "store/VersionText.h"

bool IsValidVersionText(const CString& strText)
{
    const int nLength = strText.GetLength();
    if (nLength == 0 || nLength > MAX_VERSION_TEXT_LENGTH || strText.FindOneOf(VERSION_TEXT_FORBIDDEN) >= 0)
        return false;
    const int nHash = strText.Find('#');
    return nHash >= 0 && strText.Find('#', nHash + 1) < 0;
}

CString VersionedFileName(
    const CString& strText, const CString& strBase, const CString& strExtension, BOOL bBefore, int nVersion)
{
    CString strMark = strText;
    const int nHash = strMark.Find('#');
    if (nHash >= 0) {
        CString strNumber;
        strNumber.Format("%d", nVersion);
        strMark = strMark.Left(nHash) + strNumber + strMark.Mid(nHash + 1);
    }
    CString strName = bBefore ? strMark + strBase : strBase + strMark;
    if (!strExtension.IsEmpty())
        strName += "." + strExtension;
    return strName;
}
