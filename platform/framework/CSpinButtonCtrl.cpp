#include "platform/framework/CSpinButtonCtrl.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(UPDOWN_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    const LRESULT lOld
        = SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->GetSafeHwnd() : nullptr));
    return CWnd::FromHandle(reinterpret_cast<HWND>(lOld));
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)));
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(UDM_SETRANGE, 0, MAKELONG(static_cast<WORD>(nUpper), static_cast<WORD>(nLower)));
}

void CSpinButtonCtrl::GetRange(int& nLower, int& nUpper) const
{
    const auto lRange = static_cast<DWORD>(SendMessage(UDM_GETRANGE));
    nUpper = static_cast<short>(LOWORD(lRange));
    nLower = static_cast<short>(HIWORD(lRange));
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    return static_cast<int>(SendMessage(UDM_SETPOS, 0, MAKELONG(static_cast<WORD>(nPos), 0)));
}

int CSpinButtonCtrl::GetPos() const
{
    const auto lPos = static_cast<DWORD>(SendMessage(UDM_GETPOS));
    return HIWORD(lPos) ? static_cast<int>(lPos) : static_cast<short>(LOWORD(lPos));
}
