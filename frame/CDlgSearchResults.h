#pragma once

// CDlgSearchResults: the search results window: the documents the last
// search found, as its folder index ("winsch.cat") lists them, with the
// document list's commands. The drag bar makes it once and shows it.

#include "frame/CListWindow.h"
#include "frame/CSearchListCtrl.h"

class CDlgSearchResults : public CListWindow {
    DECLARE_DYNAMIC(CDlgSearchResults)

public:
    CDlgSearchResults();

    CArqListCtrl& GetList() override { return m_list; }
    // Whether the last search found something: the drag bar's picture.
    static BOOL HasResults();

protected:
    std::span<const CListWindowColumn> GetColumns() const override;
    CCatalog* GetCatalog() override;
    void Reload() override;

private:
    CSearchListCtrl m_list;
};
