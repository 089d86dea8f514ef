#pragma once

// The base of the web access setup wizard's pages: the page's picture (1204,
// its bitmap; none when the bitmap is 0), the green title (1434), the
// wizard buttons it shows, and where Back and Next lead. A target is a page
// index of the sheet, or -1 for the page before or after; pages whose target
// depends on a choice set it when they become active or in their Next.
//
// Pages keep what the user chose in the sheet's shared values
// (CWASetupWizardPropSheet::m_values) when they are left with Next, after
// their checks; a check that fails shows its message, puts the focus on the
// field and keeps the page.

#include "ui/CDibButton.h"
#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CPropertyPage.h"

class CWASetupWizardPropSheet;

class CWASetupPropPage : public CPropertyPage {
public:
    // The button sets: PSWIZB_* flags.
    static constexpr DWORD BUTTONS_NEXT = 2;
    static constexpr DWORD BUTTONS_BACK_NEXT = 3;
    static constexpr DWORD BUTTONS_BACK_FINISH = 5;

    CWASetupPropPage(CWASetupWizardPropSheet& sheet, UINT nIDTemplate, UINT nIDBitmap, DWORD dwButtons);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;

    // The control's text without blanks at either end.
    CString GetTrimmedText(int nId) const;
    CString GetText(int nId) const;
    void LimitText(int nId, int nLimit);
    // Shows the message with the icon, puts the focus on the field and
    // returns -1 (the page stays).
    LRESULT Refuse(UINT nIdMessage, UINT nIcon, int nIdField);
    // The user ID (trimmed) and the password of the account fields; FALSE,
    // with the page refused, when either is empty.
    BOOL ReadAccountFields(CString& strUserId, CString& strPassword);
    // A small picture beside a choice or a note: the first image of a strip
    // of 16-pixel images on the button face.
    static void ShowSmallPicture(CImageButton& picture, UINT nIDBitmap);

    CWASetupWizardPropSheet& m_sheet;
    int m_nBackTarget { -1 };
    int m_nNextTarget { -1 };

private:
    // What the sheet takes to show page nTarget (-1: the default step).
    LRESULT PageStep(int nTarget) const;

    CDibButton m_picture;
    CLabelCtrl m_title;
    UINT m_nIDBitmap;
    DWORD m_dwButtons;
};
