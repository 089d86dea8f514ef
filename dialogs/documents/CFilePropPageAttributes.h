#pragma once

// The Attributes page of a document's properties: its expiry (CExpiryGroup),
// its type, and buttons that change its password, version number and open
// action through their dialogs. The page keeps those three values itself,
// starting from the record; nothing is written until the dialog's OK reads
// them (GetAttributes), so a second run of a button's dialog starts from the
// first run's choice. Its template is IDD_FILE_ATTRIBUTES.
//
// For a document shown from the recycle bin or one that cannot be reached
// (expiry states 2, 3 and 6) the three buttons are disabled; for the recycle
// bin and a message deleted from its store the expiry too. A mail message has
// no version number.

#include "dialogs/documents/CExpiryGroup.h"
#include "ui/CImageButton.h"

#include "platform/framework/CPropertyPage.h"

#include <ctime>
#include <memory>

class CDocumentRec;

// What the page hands back.
struct CDocumentAttributes {
    BOOL bExpires { FALSE };
    time_t nExpiry { 0 }; // 0 when it does not expire
    CString strPassword;  // empty: not protected
    int nVersion { 0 };
    DWORD dwOpenAction { 0 };
};

class CFilePropPageAttributes : public CPropertyPage {
    DECLARE_DYNCREATE(CFilePropPageAttributes)
    DECLARE_MESSAGE_MAP()

public:
    CFilePropPageAttributes();
    ~CFilePropPageAttributes() override;

    // Before the sheet is made: pCopy (a clone the page owns) of the document
    // at strFullPath, shown from the recycle bin with bRecycle.
    void SetDocument(std::unique_ptr<CDocumentRec> pCopy, const CString& strFullPath, BOOL bRecycle);

    // The values now chosen; the expiry as the controls show it once the page
    // was shown, else the record's.
    CDocumentAttributes GetAttributes() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnExpiresClicked() { m_expiry.OnExpiresClicked(); }
    void OnDaysChange() { m_expiry.OnDaysChange(); }
    void OnDaysKillFocus() { m_expiry.OnDaysKillFocus(); }
    void OnDateChange(NMHDR* pNotify, LRESULT* pResult);
    void OnPassword();
    void OnVersion();
    void OnOpenAction();

private:
    void ShowButtonTexts();

    CImageButton m_picture;
    CSpinButtonCtrl m_spin;
    CDatePickerCtrl m_picker;
    CExpiryGroup m_expiry;
    std::unique_ptr<CDocumentRec> m_pDocument;
    CString m_strFullPath;
    CString m_strTypeName;
    BOOL m_bRecycle { FALSE };
    time_t m_nExpiry { 0 };
    CString m_strPassword;
    int m_nVersion { 0 };
    DWORD m_dwOpenAction { 0 };
};
