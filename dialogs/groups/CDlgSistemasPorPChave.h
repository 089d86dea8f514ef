#pragma once

// The second page of the keywords and systems sheet: every keyword, and the
// systems of the selected keyword, which the Add and Replace buttons choose
// through the systems popup and Delete removes. Leaving a keyword (another
// selection, another page, OK) takes the systems list into the keyword's
// row and announces each system that left or joined it to the sheet. The
// page writes nothing itself. Its template is resource IDD_SYSTEMS_OF_KEYWORD.

#include "dialogs/groups/CSystemListBox.h"
#include "ui/CHotButton.h"
#include "ui/CRecordListBox.h"
#include "ui/CSisPopupWnd.h"

#include "platform/framework/CPropertyPage.h"

class CCatalog;
class CCmdUI;

class CDlgSistemasPorPChave : public CPropertyPage {
    DECLARE_DYNCREATE(CDlgSistemasPorPChave)
    DECLARE_MESSAGE_MAP()

public:
    CDlgSistemasPorPChave();

    // The catalog shown; set before the page is made.
    void SetCatalog(CCatalog* pCatalog) { m_pCatalog = pCatalog; }
    CSystemListBox& GetKeywordList() { return m_keywords; }

    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnKeywordSelChange();
    void OnAdd();
    void OnReplace();
    void OnDelete();
    void OnUpdateSelectedSystems(CCmdUI* pCmdUI);

private:
    // Takes the systems list into the keyword row, announcing each change.
    void SyncRow(int nRow);
    void ShowRow(int nRow);
    // Adds the system unless it is listed; takes pNode either way.
    void AddSystem(CNodeRec* pNode);
    // The system chosen in the popup under the button; null for none. The caller deletes it.
    CNodeRec* PickSystem(CHotButton& button);

    CSystemListBox m_keywords;
    CRecordListBox m_systems;
    CHotButton m_replace;
    CHotButton m_add;
    CSisPopupWnd m_popup;
    CCatalog* m_pCatalog { nullptr };
    int m_nShown { 0 };
    BOOL m_bBusy { FALSE };
};
