#pragma once

// Confirms the backup generation chosen in the backup list: its line in the
// text IDS_BACKUP_CONFIRM. DoModal returns the button pressed. Its template is
// resource IDD_BACKUP_INFO.

#include "ui/CImageButton.h"

#include "platform/framework/CDialog.h"

class CDlgBackupInfo : public CDialog {
public:
    CDlgBackupInfo(LPCTSTR pszLine, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CImageButton m_picture;
    CImageButton m_secondPicture;
    CString m_strMessage;
};

// Gives a picture button of the backup dialogs its one 16-pixel picture,
// bitmap nBitmapID of the resource module, on the button face.
void SetBackupPicture(CImageButton& button, UINT nBitmapID);
