#include "platform/framework/COleDataObject.h"

#include <cstring>

BOOL COleDataObject::AttachClipboard()
{
    m_bAttached = CountClipboardFormats() > 0;
    return m_bAttached;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const
{
    return m_bAttached && IsClipboardFormatAvailable(cfFormat);
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) const
{
    if (!m_bAttached || !OpenClipboard(nullptr))
        return nullptr;
    HGLOBAL hCopy = nullptr;
    if (HANDLE hData = GetClipboardData(cfFormat)) {
        SIZE_T nSize = GlobalSize(hData);
        const void* pSource = GlobalLock(hData);
        hCopy = pSource ? GlobalAlloc(GMEM_MOVEABLE, nSize) : nullptr;
        if (void* pTarget = hCopy ? GlobalLock(hCopy) : nullptr) {
            std::memcpy(pTarget, pSource, nSize);
            GlobalUnlock(hCopy);
        }
        GlobalUnlock(hData);
    }
    CloseClipboard();
    return hCopy;
}
