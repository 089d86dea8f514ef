#include "frame/CFindCombo.h"

#include "platform/controls/CommonControls.h"
#include "platform/framework/CDialog.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"

IMPLEMENT_DYNAMIC(CFindCombo, CComboBox)

void CFindCombo::KeepWords(const CString& strText)
{
    if (strText.IsEmpty())
        return;
    int nIndex = FindString(-1, strText);
    if (nIndex == CB_ERR) {
        nIndex = AddString(strText);
        SetCurSel(nIndex);
        SetWindowText(strText);
        return;
    }
    SetCurSel(nIndex);
}

CString CFindCombo::GetWords() const
{
    CString strWords;
    const int nIndex = GetCurSel();
    if (nIndex != CB_ERR)
        GetLBText(nIndex, strWords);
    else
        GetWindowText(strWords);
    return strWords;
}

BOOL CFindCombo::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN)
        return CComboBox::PreTranslateMessage(pMsg);
    const BOOL bCtrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const BOOL bShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const BOOL bAlt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    switch (pMsg->wParam) {
    case VK_TAB: {
        CWnd* pBar = GetParent();
        CWnd* pOwner = pBar ? pBar->GetParent() : nullptr;
        if (pOwner) {
            if (CWnd* pNext = pOwner->GetNextDlgTabItem(pBar, bShift))
                pNext->SetFocus();
        }
        return TRUE;
    }
    case VK_RETURN: {
        CString strText;
        GetWindowText(strText);
        KeepWords(strText);
        NMHDR notify { GetSafeHwnd(), static_cast<UINT_PTR>(GetDlgCtrlID()), NM_RETURN };
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_NOTIFY, notify.idFrom, reinterpret_cast<LPARAM>(&notify));
        return TRUE;
    }
    case VK_UP:
    case VK_DOWN:
        if (!bAlt && !bCtrl && !GetDroppedState()) {
            ShowDropDown(TRUE);
            return TRUE;
        }
        break;
    case VK_INSERT:
        if (bShift) {
            SendMessage(WM_PASTE);
            return TRUE;
        }
        break;
    case 'V':
        if (bCtrl) {
            SendMessage(WM_PASTE);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}
