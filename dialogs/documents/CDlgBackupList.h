#pragma once

// Lists the backup generations of the catalog files, one line each with its
// number after a "#", and lets the user pick one to restore. Ends with
// END_RESTORE_GENERATION once the chosen generation was confirmed
// (GetGeneration, IsConfirmed), END_RESTORE_OLD for the previous copies (a
// button enabled by the caller), or IDCANCEL. With no generation the list
// holds the one line IDS_NO_BACKUP and nothing can be chosen. The ends are the
// backup monitor's (CBackupMonitor). Its template is resource IDD_BACKUP_LIST.

#include "platform/framework/CDialog.h"
#include "platform/framework/CListBox.h"

class CCatalogFiles;
class CCmdUI;

class CDlgBackupList : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // files: the catalog file pair, kept by the caller. bOldCopies enables the
    // button that restores the previous copies.
    CDlgBackupList(const CCatalogFiles& files, BOOL bOldCopies, CWnd* pParent = nullptr);

    // After END_RESTORE_GENERATION: the chosen generation, and whether its
    // confirmation ended with OK.
    int GetGeneration() const { return m_nGeneration; }
    BOOL IsConfirmed() const { return m_bConfirmed; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnUpdateChoose(CCmdUI* pCmdUI);
    void OnChoose();
    void OnOldCopies();

private:
    CListBox m_list;
    const CCatalogFiles& m_files;
    BOOL m_bEntries { FALSE };
    BOOL m_bOldCopies;
    BOOL m_bConfirmed { FALSE };
    int m_nGeneration { -1 };
};
