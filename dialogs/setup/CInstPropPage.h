#pragma once

// The base of the set-up wizard's pages: the page's picture down its left
// edge, its title in the notices' style, and the wizard buttons it offers,
// set each time it becomes current. The pages reach the wizard's shared
// state through GetSheet.

#include "ui/CDibButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CPropertyPage.h"

class CInstalacaoPropertySheet;

class CInstPropPage : public CPropertyPage {
    DECLARE_DYNAMIC(CInstPropPage)

public:
    explicit CInstPropPage(UINT nIDTemplate);

    // The page's picture (a bitmap ID) and its buttons (PSWIZB_* flags).
    void SetPageInfo(UINT nIDBitmap, DWORD dwButtons);
    // The wizard that holds the page; set by the wizard before the page is shown.
    void SetSheet(CInstalacaoPropertySheet* pSheet) { m_pSheet = pSheet; }

    BOOL OnSetActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    CInstalacaoPropertySheet& GetSheet() const { return *m_pSheet; }
    // The buttons the page offers now: those of SetPageInfo unless a page says otherwise.
    virtual DWORD GetWizardButtons() const { return m_dwButtons; }
    // The pages that enable their controls through update handlers call this on WM_KICKIDLE.
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

    CLabelCtrl m_title;
    CDibButton m_picture;

private:
    CInstalacaoPropertySheet* m_pSheet { nullptr };
    DWORD m_dwButtons { 0 };
    UINT m_nIDBitmap { 0 };
};
