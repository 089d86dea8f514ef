#include "store/CDocumentRec.h"

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
