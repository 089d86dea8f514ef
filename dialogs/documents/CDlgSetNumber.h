#pragma once

// Asks a document's version number: none, or 1 to 9 (the class library's
// range message refuses others). Opened on none, it shows 1 with the number
// disabled. After IDOK GetNumber is 0 for none. Nothing is written. Its
// template is resource IDD_SET_NUMBER.

#include "platform/framework/CDialog.h"
#include "platform/framework/CSpinButtonCtrl.h"

class CDocumentRec;

class CDlgSetNumber : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int MAX_NUMBER = 9;

    explicit CDlgSetNumber(CWnd* pParent = nullptr);
    // The document's icon, path and version number.
    CDlgSetNumber(const CDocumentRec& document, CWnd* pParent = nullptr);

    // Before DoModal: the document shown (hIcon null: the template's) and the number now.
    void SetUp(HICON hIcon, LPCTSTR pszPath, int nNumber);

    int GetNumber() const { return m_nNumber; }
    int GetInitialNumber() const { return m_nInitial; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnNumberChosen() { EnableNumber(TRUE); }
    void OnNoneChosen() { EnableNumber(FALSE); }

private:
    void EnableNumber(BOOL bEnable);

    CSpinButtonCtrl m_spin;
    HICON m_hIcon { nullptr };
    CString m_strPath;
    int m_nNumber { 0 };
    int m_nInitial { 0 };
};
