#pragma once

// A text from the directory server (an invitation to pass on) in a read-only
// white box, so that the user can read and copy it. Modal.

#include "ui/CWAColorEdit.h"

#include "platform/framework/CDialog.h"

class CDlgWAMessage : public CDialog {
public:
    CDlgWAMessage(LPCTSTR pszText, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CWAColorEdit m_text;
    CString m_strText;
};
