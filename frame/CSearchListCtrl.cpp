#include "frame/CSearchListCtrl.h"

#include "frame/CListWindow.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "ui/CDocContextMenu.h"

#include "platform/framework/CMenu.h"
#include "platform/window/Input.h"

IMPLEMENT_DYNCREATE(CSearchListCtrl, CArqListCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(CSearchListCtrl, CArqListCtrl)
    ON_WM_CONTEXTMENU()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()
// clang-format on

BOOL CSearchListCtrl::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateListWindowKey(this, pMsg) || CArqListCtrl::PreTranslateMessage(pMsg);
}

void CSearchListCtrl::OnContextMenu(CWnd*, CPoint point)
{
    CPoint client = point;
    ScreenToClient(&client);
    UINT uFlags = 0;
    CDocumentRec* pDocument = GetRowDocument(HitTest(client, &uFlags));
    if (!pDocument)
        return;
    CDocContextMenu menu(*pDocument, nullptr);
    if (!menu.Build(IDR_DOC_FILE_MENU, IDR_DOC_MAIL_MENU) || !menu.GetPopup())
        return;
    const UINT nID = TrackMenu(*menu.GetPopup(), point);
    if (nID >= CDocContextMenu::SHELL_COMMAND_FIRST && nID <= CDocContextMenu::SHELL_COMMAND_LAST) {
        (void)menu.InvokeShellCommand(nID); // the shell reports its own failures
    } else if (ShowLinkedSystem(*pDocument, nID)) {
        // The catalog view shows the group with the document; the window goes away.
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_CLOSE);
    } else {
        RunMenuCommand(nID);
    }
}

void CSearchListCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == 'T' && (GetKeyState(VK_CONTROL) & 0x8000)) {
        RunFocusedDocumentDialog();
        return;
    }
    if (nChar == 'D' && (GetKeyState(VK_CONTROL) & 0x8000)) {
        (void)DescribeSelectedFromContent();
        return;
    }
    if (nChar == VK_F5) {
        if (auto* pWindow = dynamic_cast<CListWindow*>(GetParent()))
            pWindow->OnCatalogChanged();
        return;
    }
    CArqListCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CSearchListCtrl::OnEnterKey()
{
    if (GetKeyState(VK_MENU) & 0x8000)
        OnProperties();
    else
        CArqListCtrl::OnEnterKey();
}
