#pragma once

// The set-up wizard's mail page, shown when a mail client's users were found:
// the users of every client, one line each ("<user> ( <client> )"), and the
// selected user's mail folders in a check tree. The checks of every user
// shown are kept; Next takes them. The page's own finders scan when the
// wizard is built, so a profile added since the program started shows.

#include "dialogs/setup/CInstPropPage.h"
#include "mail/CNetscapeMailer.h"
#include "mail/COE4Mailer.h"
#include "mail/COE5Mailer.h"
#include "ui/CImageButton.h"
#include "ui/CImageListBox.h"
#include "ui/CMailFolderCheckTreeCtrl.h"

#include "platform/framework/CImageList.h"

class CInstalacaoMailDocs : public CInstPropPage {
    DECLARE_MESSAGE_MAP()

public:
    CInstalacaoMailDocs();

    // Scans the finders that have not scanned; TRUE when one found users.
    BOOL FindStores();
    // The checked mailboxes (lower-cased path to record), as Next took them.
    const CMailFolderCheckTreeCtrl::CPathMap& GetCheckedFolders() { return m_folders.GetPathMap(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;

private:
    void OnUserSelChange();
    // Takes the tree's checks into the path map.
    void CollectChecks();

    CImageButton m_picture1;
    CImageListBox m_users;
    CMailFolderCheckTreeCtrl m_folders;
    CNetscapeMailer m_netscape;
    COE4Mailer m_oe4;
    COE5Mailer m_oe5;
    CImageList m_stateImages;
    CImageList m_folderImages;
    CString m_strShownUser; // whose folders the tree shows
};
