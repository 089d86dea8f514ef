#pragma once

// The first page of the keywords and systems sheet: the systems tree, and
// the keywords of the selected system in an editable list. Leaving a system
// (another selection, another page, OK) takes the list's words into the
// system's item and announces each keyword that left or joined it to the
// sheet. OK stores the changed systems; this is the one page that writes.
// Its template is resource IDD_KEYWORDS_OF_SYSTEM.

#include "dialogs/groups/CKeywordTreeCtrl.h"
#include "ui/CKeywordListCtrl.h"

#include "platform/framework/CPropertyPage.h"

class CCatalog;
class CCmdUI;

class CDlgPChavesPorSistema : public CPropertyPage {
    DECLARE_DYNCREATE(CDlgPChavesPorSistema)
    DECLARE_MESSAGE_MAP()

public:
    CDlgPChavesPorSistema();

    // The catalog shown; set before the page is made.
    void SetCatalog(CCatalog* pCatalog) { m_pCatalog = pCatalog; }
    CKeywordTreeCtrl& GetTree() { return m_tree; }

    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    // Stores every system whose keywords changed.
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnDestroy();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDelete();
    void OnUpdateDelete(CCmdUI* pCmdUI);
    void OnEdit();

private:
    // Takes the list's words into the item, announcing each change.
    void SyncItem(HTREEITEM hItem);
    void FillList(HTREEITEM hItem);

    CKeywordListCtrl m_list;
    CKeywordTreeCtrl m_tree;
    CCatalog* m_pCatalog { nullptr };
    BOOL m_bDestroyed { FALSE };
};
