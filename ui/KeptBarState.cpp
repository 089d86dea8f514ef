#include "ui/KeptBarState.h"

#include "store/CRegistryKey.h"

namespace {

// A kept width beyond any screen is damage, not a width.
constexpr DWORD MAX_WIDTH = 32767;

} // namespace

BOOL LoadKeptBarState(HKEY hParent, LPCTSTR pszKeyName, CKeptBarState* pState)
{
    CRegistryKey key;
    if (!hParent || !key.Open(hParent, pszKeyName, KEY_READ))
        return FALSE;
    DWORD dwShow = 1;
    DWORD dwWidth = 0;
    key.GetDWORD("Show", dwShow, 1);
    key.GetDWORD("Width", dwWidth, 0);
    pState->bShow = dwShow != 0 ? TRUE : FALSE;
    pState->nWidth = dwWidth <= MAX_WIDTH ? static_cast<int>(dwWidth) : 0;
    return TRUE;
}

void SaveKeptBarState(HKEY hParent, LPCTSTR pszKeyName, const CKeptBarState& state)
{
    if (!hParent)
        return;
    RegDeleteTree(hParent, pszKeyName);
    CRegistryKey key;
    if (!key.Create(hParent, pszKeyName, KEY_WRITE))
        return;
    key.SetDWORD("Show", state.bShow ? 1 : 0);
    key.SetDWORD("Width", static_cast<DWORD>(state.nWidth));
}
