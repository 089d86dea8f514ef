#pragma once

// The Find Files window: a kept, modeless window that lists the catalogued
// files of a folder on disk (and its subfolders) whose names, or contents,
// hold the words typed (FindDocumentsInFolder). Find Now runs the search;
// the rows show each file's name and folder and the count line their number.
// The window is made once and hidden by Close or Escape; opening it again on
// another folder (SetStartFolder) searches that folder with the same words
// when a search ran. When the catalog changes the results are searched again,
// at once while shown, else when next shown. New Folder makes a folder in the
// folder looked in. The found files can be dragged to the program's drop
// targets (the systems tree, the recycle bin, ...), and a row's menu opens
// its document. Nothing here writes the catalog. Its template is resource
// IDD_FIND_FILES.

#include "store/CatalogTypes.h"

#include "ui/CShellDragListCtrl.h"

#include "platform/framework/CDialog.h"

#include <vector>

class CCatalog;

class CDlgFindFiles : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // pszFolder: the program path of the folder to look in; pCatalog: the
    // catalog searched, which must outlive the window.
    CDlgFindFiles(LPCTSTR pszFolder, CCatalog* pCatalog, CWnd* pParent = nullptr);

    // Makes the window, hidden; FALSE when it cannot be made.
    BOOL CreateHidden();
    // Shows the window and brings it forward.
    void ShowFinder();
    // Looks in pszFolder from now on, searching again when a search ran.
    void SetStartFolder(LPCTSTR pszFolder);
    // The catalog changed, and pCatalog is the one to search now (it may be
    // another object): the results follow, now or when next shown.
    void OnCatalogChanged(CCatalog* pCatalog);

    // The documents the last search found, in the rows' order.
    const std::vector<CRecordRef>& GetFound() const { return m_found; }

protected:
    BOOL OnInitDialog() override;
    // Enter runs the search; Escape and Close hide the window.
    void OnOK() override { RunSearch(); }
    void OnCancel() override { ShowWindow(SW_HIDE); }
    void PostNcDestroy() override { }
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnFindNow() { RunSearch(); }
    void OnNewFolder();
    // The row menu's Open: the focused row's document, as its record says.
    void OnOpenDocument();

private:
    void RunSearch();
    // Searches again when a search ran, else empties the rows.
    void Refresh();

    CShellDragListCtrl m_list;
    CCatalog* m_pCatalog;
    CWnd* m_pParentWnd;
    CString m_strStartFolder;
    std::vector<CRecordRef> m_found;
    BOOL m_bSearched { FALSE };
    BOOL m_bRefreshPending { FALSE };
};
