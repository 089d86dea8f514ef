#pragma once

// The folder chooser: two rows, My Computer (its drives and folders, the
// shell item popup under the fixed and network drives) and the mail stores
// (the users of the installed mail clients, then their mail folders).
// PickFolderFromPopup runs it and gives the choice as one lower-case text:
// a folder's path, or a mailbox file marked with a leading "*".
//
// The mail clients are scanned when the mail row first opens, one after the
// other only until one has users; the list keeps them, so the mail popups'
// users and folders live as long as it does.

#include "mail/CMailClientSet.h"
#include "platform/framework/CImageList.h"
#include "ui/CPopupCtrl.h"
#include "ui/CPopupWnd.h"
#include "ui/PopupRowLook.h"

class CFolderPopupCtrl : public CPopupCtrl {
    DECLARE_DYNAMIC(CFolderPopupCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr DWORD ROW_MY_COMPUTER = 0;
    static constexpr DWORD ROW_MAIL = 1;
    static constexpr int MY_COMPUTER_IMAGE = 2;
    static constexpr int MAIL_IMAGE = 0;

    CFolderPopupCtrl();

    // The two rows, each with a child.
    void FillRootItems();
    CMailClientSet& GetMailClients() { return m_clients; }

    int GetPopupWidth() override { return m_nWidest; }
    CPopupWnd* CreateChildPopup(int nIndex) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

private:
    CImageList* m_pImages; // shared, null when the bitmap is missing
    CImageList* m_pArrows; // shared, null when the bitmap is missing
    CPopupRowLook m_look;
    int m_nWidest { 0 };
    CMailClientSet m_clients;
};

class CFolderPopupWnd : public CPopupWnd {
public:
    CFolderPopupWnd();
    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    CFolderPopupCtrl& GetFolderList() { return m_list; }

    // Tracks the popup (created and filled) and gives the chosen folder's
    // path or "*" and the chosen mailbox, lower-cased; null for no choice.
    // The caller deletes the text.
    CString* PickFolderFromPopup(const POINT* pPos, const RECT* pAvoid, const RECT* pParentItemRect);

private:
    CFolderPopupCtrl m_list;
};
