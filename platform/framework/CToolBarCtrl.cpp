#include "platform/framework/CToolBarCtrl.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/CToolTipCtrl.h"
#include "platform/framework/CWinApp.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

namespace {

LPARAM SizeParam(SIZE size)
{
    return MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy));
}

} // namespace

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(TOOLBARCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CToolBarCtrl::AddBitmap(int nNumButtons, UINT nBitmapID)
{
    LPCTSTR lpszName = MAKEINTRESOURCE(static_cast<WORD>(nBitmapID));
    TBADDBITMAP add { AfxFindResourceHandle(lpszName, RT_BITMAP), nBitmapID };
    return static_cast<int>(
        SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(nNumButtons), reinterpret_cast<LPARAM>(&add)));
}

BOOL CToolBarCtrl::SetBitmapSize(SIZE size)
{
    return static_cast<BOOL>(SendMessage(TB_SETBITMAPSIZE, 0, SizeParam(size)));
}

BOOL CToolBarCtrl::SetButtonSize(SIZE size)
{
    return static_cast<BOOL>(SendMessage(TB_SETBUTTONSIZE, 0, SizeParam(size)));
}

void CToolBarCtrl::AutoSize()
{
    SendMessage(TB_AUTOSIZE);
}

BOOL CToolBarCtrl::AddButtons(int nNumButtons, LPTBBUTTON lpButtons)
{
    return static_cast<BOOL>(
        SendMessage(TB_ADDBUTTONS, static_cast<WPARAM>(nNumButtons), reinterpret_cast<LPARAM>(lpButtons)));
}

BOOL CToolBarCtrl::InsertButton(int nIndex, LPTBBUTTON lpButton)
{
    return static_cast<BOOL>(
        SendMessage(TB_INSERTBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpButton)));
}

BOOL CToolBarCtrl::DeleteButton(int nIndex)
{
    return static_cast<BOOL>(SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex)));
}

BOOL CToolBarCtrl::GetButton(int nIndex, LPTBBUTTON lpButton) const
{
    return static_cast<BOOL>(
        SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpButton)));
}

int CToolBarCtrl::GetButtonCount() const
{
    return static_cast<int>(SendMessage(TB_BUTTONCOUNT));
}

BOOL CToolBarCtrl::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<BOOL>(
        SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
}

int CToolBarCtrl::CommandToIndex(UINT nID) const
{
    return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nID));
}

int CToolBarCtrl::GetButtonInfo(int nID, TBBUTTONINFO* ptbbi) const
{
    return static_cast<int>(SendMessage(TB_GETBUTTONINFO, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(ptbbi)));
}

BOOL CToolBarCtrl::SetButtonInfo(int nID, TBBUTTONINFO* ptbbi)
{
    return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFO, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(ptbbi)));
}

BOOL CToolBarCtrl::EnableButton(int nID, BOOL bEnable)
{
    return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bEnable, 0)));
}

CToolTipCtrl* CToolBarCtrl::GetToolTips() const
{
    return CWnd::FromHandleAs<CToolTipCtrl>(reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)));
}

void CToolBarCtrl::SetToolTips(CToolTipCtrl* pTip)
{
    SendMessage(TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(pTip ? pTip->GetSafeHwnd() : nullptr));
}

BOOL CToolBarCtrl::CheckButton(int nID, BOOL bCheck)
{
    return static_cast<BOOL>(SendMessage(TB_CHECKBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bCheck, 0)));
}

BOOL CToolBarCtrl::PressButton(int nID, BOOL bPress)
{
    return static_cast<BOOL>(SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bPress, 0)));
}

BOOL CToolBarCtrl::IsButtonEnabled(int nID) const
{
    return SendMessage(TB_ISBUTTONENABLED, static_cast<WPARAM>(nID)) > 0;
}

BOOL CToolBarCtrl::IsButtonChecked(int nID) const
{
    return SendMessage(TB_ISBUTTONCHECKED, static_cast<WPARAM>(nID)) > 0;
}

BOOL CToolBarCtrl::IsButtonPressed(int nID) const
{
    return SendMessage(TB_ISBUTTONPRESSED, static_cast<WPARAM>(nID)) > 0;
}

BOOL CToolBarCtrl::SetState(int nID, UINT nState)
{
    return static_cast<BOOL>(SendMessage(TB_SETSTATE, static_cast<WPARAM>(nID), MAKELPARAM(nState, 0)));
}

int CToolBarCtrl::GetState(int nID) const
{
    return static_cast<int>(SendMessage(TB_GETSTATE, static_cast<WPARAM>(nID)));
}
