#pragma once

// CDlgSearchResults: the search results window: the documents the last
// search found, as its folder index ("winsch.cat") lists them, with the
// document list's commands. The drag bar makes it once and shows it.

#include "frame/CListWindow.h"
#include "frame/CSearchListCtrl.h"
#include "store/CFolderIndex.h"

#include <memory>

struct CListFilter;
class CCmdUI;
class CMenu;

class CDlgSearchResults : public CListWindow {
    DECLARE_DYNAMIC(CDlgSearchResults)
    DECLARE_MESSAGE_MAP()

public:
    CDlgSearchResults();

    CArqListCtrl& GetList() override { return m_list; }
    // Whether the last search found something: the drag bar's picture.
    static BOOL HasResults();
    // The criteria the last search stored with its results, into *pFilter
    // (freed and replaced); FALSE when it stored none.
    static BOOL GetStoredCriteria(CListFilter* pFilter);

protected:
    std::span<const CListWindowColumn> GetColumns() const override;
    CCatalog* GetCatalog() override;
    void Reload() override;

    // The open-action entry is made again for the focused document each time the menu opens.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnFindOptions();
    void OnUpdateFindOptions(CCmdUI* pCmdUI);
    // The stored criteria, shown read-only.
    void OnSearchCriteria();
    void OnUpdateSearchCriteria(CCmdUI* pCmdUI);
    void OnClose() { OnCancel(); }
    void OnReload() { OnCatalogChanged(); }

private:
    // The last search's index; null before any search, or when it cannot be read.
    static std::unique_ptr<CFolderIndex> OpenIndex();

    CSearchListCtrl m_list;
    BOOL m_bSearchWords; // the program's find criteria had words when the window was made
};
