#pragma once

// CPropertySheet: a property sheet or wizard (PropertySheet.h) run modally by
// DoModal, or made as a child of a dialog by Create. AddPage order is page
// order, also while the sheet is shown; the pages must outlive the sheet's
// window.
//
// DoModal runs CDialog's modal loop, so the sheet gets WM_KICKIDLE while its
// queue is empty and its PreTranslateMessage sees its messages. It returns
// IDOK, IDCANCEL or ID_WIZFINISH, or -1 when the sheet could not be made.

#include "platform/base/CString.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CPropertyPage.h"

#include <vector>

class CPropertySheet : public CDialog {
    DECLARE_DYNAMIC(CPropertySheet)
    DECLARE_MESSAGE_MAP()

public:
    CPropertySheet() = default;
    // The caption from a string ID or a text.
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // dwFlags takes PSH_NOAPPLYNOW, PSH_WIZARD and PSH_HASHELP before the sheet is made.
    PROPSHEETHEADER m_psh;

    /* Pages. */

    void AddPage(CPropertyPage* pPage);
    // Takes a page out (its window goes with it); the shown sheet keeps its last page.
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    // The current page; nullptr before the sheet is made.
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Changes pages as the sheet does (the current page may refuse).
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    // Sets the wizard's buttons (PSWIZB_*), as a page does by posting PSM_SETWIZBUTTONS.
    void SetWizardButtons(DWORD dwFlags);
    // Presses a button (PSBTN_*); done when it returns.
    void PressButton(int nButton);
    // The tab control with a tab for each page; nullptr in a wizard.
    CWnd* GetTabControl() const;

    /* Making the sheet. */

    // A child sheet without buttons (with WS_CHILD in dwStyle), or a modeless one.
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwExStyle = 0);

    /* What subclasses override. */

    // Makes the sheet's buttons, its tabs and its start page; an override
    // prepares what the start page reads before calling it, and works on the
    // pages after it.
    BOOL OnInitDialog() override;
    // The sheet's keys: Ctrl+Tab changes pages, and a sheet of its own takes the dialog keys.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL CreateModal(HWND hWndOwner) override;
    BOOL ContinueModal() override;
    // The sheet's buttons belong to the sheet, not to CDialog's handlers.
    void OnOK() override;
    void OnCancel() override;
    LRESULT OnInitDialogMessage(WPARAM wParam, LPARAM lParam);

private:
    BOOL CreateSheet(HWND hWndParent, DWORD dwStyle, DWORD dwExStyle);

    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGE> m_pageHeaders;
    LRESULT m_nInitResult { 0 }; // the sheet's own answer to WM_INITDIALOG
};
