#pragma once

// The Folders page of a group: the folders and mailboxes whose documents the
// group takes, chosen through the folder popup of the Add button and listed
// once each. CGroupPropertiesFolders reads and stores a node's folder links;
// the set-up wizard's CGroupInstFolders hands entries in and out. Templates
// IDD_GROUP_FOLDERS and IDD_GROUP_INST_FOLDERS.

#include "dialogs/groups/CGroupFolderListCtrl.h"
#include "ui/CFolderPopupCtrl.h"
#include "ui/CHotButton.h"

#include "platform/framework/CImageList.h"
#include "platform/framework/CPropertyPage.h"

class CCmdUI;
class CNodeRec;

class CGroupFoldersPage : public CPropertyPage {
    DECLARE_DYNAMIC(CGroupFoldersPage)
    DECLARE_MESSAGE_MAP()

protected:
    explicit CGroupFoldersPage(UINT nIDTemplate);

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    // Adds the folder the popup gives, unless it is listed; one popup at a time.
    void OnAdd();
    void OnDelete();
    void OnUpdateDelete(CCmdUI* pCmdUI);

    CGroupFolderListCtrl m_list;

private:
    CHotButton m_add;
    CFolderPopupWnd m_popup;
    CImageList m_images;
    BOOL m_bBusy { FALSE };
};

class CGroupPropertiesFolders : public CGroupFoldersPage {
    DECLARE_DYNCREATE(CGroupPropertiesFolders)

public:
    CGroupPropertiesFolders();

    // pNode is null for a new group, which has no folders.
    void LoadFromNode(const CNodeRec* pNode);
    // Links the node to the listed folders and to no others.
    BOOL StoreToNode(CNodeRec* pNode);
};

class CGroupInstFolders : public CGroupFoldersPage {
    DECLARE_DYNCREATE(CGroupInstFolders)

public:
    CGroupInstFolders();

    // Lists the entries, last first: every mailbox, and each folder that is
    // there and can be read and written.
    void SetFolders(const CStringArray& folders);
    // Replaces folders by the listed entries, last row first, and empties the list.
    void GetFolders(CStringArray& folders);
};
