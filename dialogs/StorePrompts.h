#pragma once

// The store's two questions answered by the program's dialogs: the target
// folder of a backup run, and the password of a network share.

#include "store/CNetDriveMap.h"
#include "store/DocumentBackup.h"

// The backup folder dialog with the node shown and the folder offered.
class CDialogBackupFolderPrompt : public CBackupFolderPrompt {
public:
    BOOL AskBackupFolder(CNodeRec* pNode, CString& strFolder) override;
};

// The network logon dialog, which connects the share itself.
class CDialogNetworkLogonPrompt : public CNetworkLogonPrompt {
public:
    int AskLogon(LPCTSTR pszRemoteName, LPCTSTR pszDrive) override;
};
