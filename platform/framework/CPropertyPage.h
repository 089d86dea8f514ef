#pragma once

// CPropertyPage: one page of a CPropertySheet, a dialog made as a child of the
// sheet when the page is first shown. The sheet's notifications reach the
// virtuals below; data exchange is CDialog's.

#include "platform/controls/PropertySheet.h"
#include "platform/framework/CDialog.h"

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)

public:
    // A page of the template nIDTemplate in the current resource module;
    // nIDCaption names its title (0: the template's caption).
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // What the sheet makes the page from. A page may set PSP_DLGINDIRECT with
    // pResource to use a template in memory; pszTemplate stays its ID.
    PROPSHEETPAGE m_psp;

    // Tells the sheet the page holds changes to apply (PSM_CHANGED), or no longer does (PSM_UNCHANGED).
    void SetModified(BOOL bChanged = TRUE);

    /* What subclasses override. */

    // The page is becoming current: reloads the controls (UpdateData(FALSE))
    // except on the first activation, which OnInitDialog did. FALSE is ignored.
    virtual BOOL OnSetActive();
    // The page is to stop being current: reads and validates the controls.
    // FALSE keeps the page.
    virtual BOOL OnKillActive();
    // OK or Apply: calls OnOK; FALSE refuses and keeps the sheet open.
    virtual BOOL OnApply();
    // Cancel: calls OnCancel.
    virtual void OnReset();
    // Cancel was asked for; FALSE keeps the sheet open.
    virtual BOOL OnQueryCancel();
    // Wizard Back and Next: 0 for the previous or next page, -1 to stay, or
    // the template ID of the page to show.
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    // Wizard Finish; FALSE refuses.
    virtual BOOL OnWizardFinish();
    // Called by OnApply and OnReset; a page does not end the sheet.
    void OnOK() override;
    void OnCancel() override;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // Hooks the page object onto the window the sheet is about to make.
    static UINT CALLBACK OnPageCallback(HWND hWnd, UINT uMsg, PROPSHEETPAGE* ppsp);

    bool m_bActivated { false };
};
