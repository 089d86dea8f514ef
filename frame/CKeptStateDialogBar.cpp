#include "frame/CKeptStateDialogBar.h"

#include "ui/KeptBarState.h"

CKeptStateDialogBar::CKeptStateDialogBar(LPCTSTR pszKeyName, FirstShow eFirstShow)
    : m_pszKeyName(pszKeyName)
    , m_bShow(eFirstShow == FirstShow::Shown)
{
}

void CKeptStateDialogBar::LoadState(HKEY hParent)
{
    CKeptBarState state;
    if (!LoadKeptBarState(hParent, m_pszKeyName, &state))
        return;
    m_bShow = state.bShow;
    m_nWidth = state.nWidth;
}

void CKeptStateDialogBar::SaveState(HKEY hParent)
{
    if (!hParent)
        return;
    m_bShow = IsVisible();
    SaveKeptBarState(hParent, m_pszKeyName, CKeptBarState { m_bShow, m_nWidth });
}

CSize CKeptStateDialogBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CSize size = CBrushDialogBar::CalcDynamicLayout(nLength, dwMode);
    if (m_nWidth > 0)
        size.cx = m_nWidth;
    return size;
}
