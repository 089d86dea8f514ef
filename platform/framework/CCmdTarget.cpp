#include "platform/framework/CCmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

bool EntryMatches(const AFX_MSGMAP_ENTRY& entry, UINT nMessage, UINT nCode, UINT nID)
{
    // A registered message's variable holds 0 until the message is registered.
    if (entry.pnRegistered)
        return *entry.pnRegistered != 0 && *entry.pnRegistered == nMessage;
    return entry.nMessage == nMessage && entry.nCode == nCode && nID >= entry.nID && nID <= entry.nLastID;
}

} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, 0, nullptr, nullptr } };
    static const AFX_MSGMAP messageMap = { nullptr, entries };
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::DispatchFromMap(
    UINT nMessage, UINT nCode, UINT nID, AFX_MSGCALL& call, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnCall; ++pEntry) {
            if (!EntryMatches(*pEntry, nMessage, nCode, nID))
                continue;
            if (pHandlerInfo) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pfnCall = pEntry->pfnCall;
                return TRUE;
            }
            if (pEntry->pfnCall(this, call))
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Update-UI is its own kind; every other code carries its kind in the high word (0: WM_COMMAND).
    UINT nKind = WM_COMMAND;
    UINT nCodeOnly = static_cast<UINT>(nCode);
    if (nCodeOnly != CN_UPDATE_COMMAND_UI) {
        if (HIWORD(nCodeOnly) != 0)
            nKind = HIWORD(nCodeOnly);
        nCodeOnly = LOWORD(nCodeOnly);
    }
    AFX_MSGCALL call { nKind, 0, 0, nID, pExtra, 0 };
    return DispatchFromMap(nKind, nCodeOnly, nID, call, pHandlerInfo);
}
