#pragma once

// Asks for the folder that documents of a removable medium are copied into
// before they are catalogued under a node. The path starts as the folder
// offered (the preference "DefaultDirCopyRem" by default) and is taken only
// when it names an existing, writable folder: an empty path gives
// IDS_TARGET_EMPTY, a folder of a fixed drive that cannot be written
// IDS_DEFAULT_FOLDER_READ_ONLY, any other (missing, unreachable, read-only medium)
// IDS_DEFAULT_FOLDER_MISSING, and the dialog stays open. The preference is not written. Its template is resource
// IDD_BACKUP_FOLDER.

#include "ui/CHotButton.h"
#include "ui/CNodeButton.h"
#include "ui/CPopupFolderPicker.h"

#include "platform/framework/CDialog.h"

class CNodeRec;

class CDlgBackupFolder : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgBackupFolder(CWnd* pParent = nullptr);

    // Set before DoModal: the node shown (kept by the caller; null for none)
    // and the folder offered. After IDOK: the chosen folder.
    CNodeRec* m_pNode { nullptr };
    CString m_strTargetPath;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnBrowse();

private:
    CNodeButton m_nodeButton;
    CHotButton m_browse;
    CPopupFolderPicker m_picker;
};
