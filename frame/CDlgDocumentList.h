#pragma once

// CDlgDocumentList: the recycle bin window. It lists the documents of the
// recycle-bin catalog (those under its root and its systems root, each once)
// and restores them into the main catalog, deletes them for good or empties
// the bin; each file follows its entry through the system's bin
// (LixeiraProcessEntry). The drag bar makes it once and shows it; it holds
// the recycle-bin catalog only while it is shown.

#include "frame/CListWindow.h"
#include "frame/CLixeiraListCtrl.h"

class CDlgDocumentList : public CListWindow {
    DECLARE_DYNAMIC(CDlgDocumentList)
    DECLARE_MESSAGE_MAP()

public:
    CDlgDocumentList();
    ~CDlgDocumentList() override;

    CArqListCtrl& GetList() override { return m_list; }

    /* The window's commands, also for the drag bar and tests. */

    // Restores the selected entries: each file back where it was (when the
    // bin has it and nothing took its place) and the entry into the main
    // catalog with its links. Entries whose file cannot come back keep it.
    void RestoreSelected();
    // Deletes the selected entries, their files in the bin too, after the
    // user confirmed it. FALSE when nothing was deleted.
    BOOL DeleteSelected();
    // Deletes every entry of the bin after the user confirmed it.
    BOOL EmptyBin();
    // Looks for the next document that matches the last search
    // (CDlgDocumentList_Find.cpp): the row selected, or -1 when none is (a
    // group of the main catalog shown instead, or nothing found, which a
    // message says).
    int FindNext();

protected:
    std::span<const CListWindowColumn> GetColumns() const override;
    CCatalog* GetCatalog() override;
    void Reload() override;
    BOOL ListTakesCommands() const override { return FALSE; }

    void OnRestore();
    void OnDelete();
    void OnEmpty();
    void OnClose();
    void OnProperties();
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    // The find dialog, then a search (into the search results when it asks for them).
    void OnFind();
    void OnFindNext() { (void)FindNext(); }

private:
    // Deletes one entry for good: its file in the bin, then its links (and so its record).
    static BOOL DeleteEntry(CDocumentRec& entry);
    // Asks the user about the rows: one by its path, several by their count.
    BOOL Confirm(const std::vector<int>& rows);
    // The first document row in [nFirst, nEnd) that matches the find criteria;
    // -1 for none, and *pbEnd set when a message store turned out reorganised.
    int FindRow(int nFirst, int nEnd, BOOL* pbEnd);
    // After the bin changed: the drag bar's picture, the main window, the rows.
    void AfterChange(BOOL bMainChanged);

    CLixeiraListCtrl m_list;
};
