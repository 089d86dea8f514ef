#include "store/CDocumentRec.h"

#include "platform/base/TextFunctions.h"

#include <cstring>

// The fields callers read one at a time, taken from the information block, so
// they hold whatever the record's layout.

CString CDocumentRec::GetCopyName() const
{
    CDocumentInfo info {};
    if (IsMail() || GetInfo(&info) == nullptr)
        return CString();
    const char* pszId = reinterpret_cast<const char*>(info.id);
    return CString(std::string(pszId, strnlen(pszId, sizeof(info.id))).c_str());
}

int CDocumentRec::GetVersion() const
{
    CDocumentInfo info {};
    if (IsMail() || GetInfo(&info) == nullptr)
        return 0;
    return static_cast<int>(info.nVersion);
}

int CDocumentRec::GetStoreKind() const
{
    CDocumentInfo info {};
    if (!IsMail() || GetInfo(&info) == nullptr)
        return -1;
    return static_cast<int>(info.nVersion);
}

DWORD CDocumentRec::GetOpenAction() const
{
    CDocumentInfo info {};
    return GetInfo(&info) != nullptr ? info.dwOpenAction : 0;
}

int CDocumentRec::ChangeDescription(LPCTSTR pszText)
{
    CDocumentInfo info {};
    if (GetInfo(&info) == nullptr)
        return DESCRIPTION_FAILED;
    char szNew[sizeof(info.szDescription)] {};
    Utf8CopyToField(szNew, MAX_TEXT + 1, pszText, FieldEnd::NulTerminated);
    if (strcmp(szNew, info.szDescription) == 0)
        return DESCRIPTION_UNCHANGED;
    memcpy(info.szDescription, szNew, sizeof(szNew));
    return UpdateInfo(info) ? DESCRIPTION_WRITTEN : DESCRIPTION_FAILED;
}
