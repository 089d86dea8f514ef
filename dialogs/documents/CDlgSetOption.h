#pragma once

// Asks what opening a document does: five choices for a mail message, four
// for a file (the third button is hidden). The record's open action and the
// buttons are numbered differently; SetUp and GetValueFromChoice translate.
// Nothing is written. Its template is resource IDD_SET_OPTION.
//
// File actions: 0 open with its program, 1 open with a chosen program,
// 2 open through the file type's registered program, 3 copy to a chosen
// folder, then open. Mail actions: 0 reply, 1 reply to all, 2 forward, 3 send
// again as new, 4 open in the mail program.

#include "platform/framework/CDialog.h"

class CDocumentRec;

class CDlgSetOption : public CDialog {
public:
    explicit CDlgSetOption(CWnd* pParent = nullptr);
    // The document's icon, path, open action and kind.
    CDlgSetOption(const CDocumentRec& document, CWnd* pParent = nullptr);

    // Before DoModal: the document shown (hIcon null: the template's), its
    // open action, and bFile for a file (else a mail message).
    void SetUp(HICON hIcon, LPCTSTR pszPath, DWORD dwValue, BOOL bFile);

    // The button chosen (0 to 4), and the open action it stands for.
    int GetChoice() const { return m_nChoice; }
    DWORD GetValueFromChoice() const;

    // The button of an open action, and back; values and choices out of range give 0.
    static int ChoiceOfValue(DWORD dwValue, BOOL bFile);
    static DWORD ValueOfChoice(int nChoice, BOOL bFile);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    HICON m_hIcon { nullptr };
    CString m_strPath;
    int m_nChoice { 0 };
    BOOL m_bFile { TRUE };
};
