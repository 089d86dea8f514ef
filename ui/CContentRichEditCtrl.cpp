#include "ui/CContentRichEditCtrl.h"

#include "platform/framework/CMenu.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNAMIC(CContentRichEditCtrl, CRichEditCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(CContentRichEditCtrl, CRichEditCtrl)
    ON_WM_SETFOCUS()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()
// clang-format on

BOOL CContentRichEditCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (GetAsyncKeyState(VK_CONTROL) & 0x8000)) {
        switch (pMsg->wParam) {
        case 'A': {
            CHARRANGE all { 0, -1 };
            SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
            return TRUE;
        }
        case 'C':
            SendMessage(WM_COPY);
            return TRUE;
        case 'D':
            if (CWnd* pParent = GetParent())
                pParent->PostMessage(WM_COMMAND, ID_PREVIEW_DESCRIPTION, 0);
            return TRUE;
        default:
            break;
        }
    }
    return CRichEditCtrl::PreTranslateMessage(pMsg);
}

void CContentRichEditCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CWnd* pParent = GetParent();
    if (pParent && (!pOldWnd || pOldWnd->m_hWnd != pParent->m_hWnd)) {
        pParent->SetFocus();
        return;
    }
    CRichEditCtrl::OnSetFocus(pOldWnd);
}

void CContentRichEditCtrl::OnRButtonUp(UINT nFlags, CPoint point)
{
    CRichEditCtrl::OnRButtonUp(nFlags, point);
    CMenu menu;
    if (!menu.LoadMenu(IDR_PREVIEW_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    ClientToScreen(&point);
    pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, GetParent());
}
