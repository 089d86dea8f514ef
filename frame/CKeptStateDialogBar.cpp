#include "frame/CKeptStateDialogBar.h"

#include "store/CRegistryKey.h"

#include <climits>

IMPLEMENT_DYNAMIC(CKeptStateDialogBar, CDialogBar)

namespace {

// A kept width beyond any screen is damage, not a width.
constexpr DWORD MAX_WIDTH = 32767;

} // namespace

CKeptStateDialogBar::CKeptStateDialogBar(LPCTSTR pszKeyName)
    : m_pszKeyName(pszKeyName)
{
}

void CKeptStateDialogBar::LoadState(HKEY hParent)
{
    CRegistryKey key;
    if (!hParent || !key.Open(hParent, m_pszKeyName, KEY_READ))
        return;
    DWORD dwShow = 1;
    DWORD dwWidth = 0;
    key.GetDWORD("Show", dwShow, 1);
    key.GetDWORD("Width", dwWidth, 0);
    m_bShow = dwShow != 0 ? TRUE : FALSE;
    m_nWidth = dwWidth <= MAX_WIDTH ? static_cast<int>(dwWidth) : 0;
}

void CKeptStateDialogBar::SaveState(HKEY hParent)
{
    if (!hParent)
        return;
    RegDeleteTree(hParent, m_pszKeyName);
    CRegistryKey key;
    if (!key.Create(hParent, m_pszKeyName, KEY_WRITE))
        return;
    m_bShow = IsVisible();
    key.SetDWORD("Show", m_bShow ? 1 : 0);
    key.SetDWORD("Width", static_cast<DWORD>(m_nWidth));
}

CSize CKeptStateDialogBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CSize size = CDialogBar::CalcDynamicLayout(nLength, dwMode);
    if (m_nWidth > 0)
        size.cx = m_nWidth;
    return size;
}
