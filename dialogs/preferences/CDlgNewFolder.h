#pragma once

// The new-folder dialog: the user types a name for a folder to be made in the
// parent folder the caller sets. OK makes it and ends the dialog with
// m_bCreated set; a name that is empty or not valid, a parent that is missing
// or cannot be written to, or a folder that cannot be made (one of that name
// already there) gets its message and the dialog stays open with the input.
// Its template is resource IDD_NEW_FOLDER.

#include "platform/framework/CDialog.h"

class CDlgNewFolder : public CDialog {
public:
    explicit CDlgNewFolder(CWnd* pParent = nullptr);

    CString m_strName;
    CString m_strParent;       // the folder the new one goes in; set by the caller
    BOOL m_bCreated { FALSE }; // whether OK made the folder

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    // Shows the message nIDPrompt with pszPath in it and puts the focus on the name.
    void Refuse(UINT nIDPrompt, LPCTSTR pszPath = nullptr);
};
