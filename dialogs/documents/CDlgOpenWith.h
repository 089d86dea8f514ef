#pragma once

// Lets the user choose the program to open a document with, from the
// programs of the Start-menu program index (CStartMenuIndex); OK is enabled
// while a program is selected. Its template is resource IDD_OPEN_WITH.

#include "platform/framework/CDialog.h"
#include "platform/framework/CListCtrl.h"

class CCmdUI;
class CDocumentRec;

class CDlgOpenWith : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // pDocument is kept by the caller.
    CDlgOpenWith(const CDocumentRec* pDocument, CWnd* pParent = nullptr);

    // After IDOK: the chosen program's path.
    const CString& GetProgramPath() const { return m_strProgram; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnUpdateOK(CCmdUI* pCmdUI);

private:
    const CDocumentRec* m_pDocument;
    CListCtrl m_programs;
    CString m_strProgram;
};
