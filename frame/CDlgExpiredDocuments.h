#pragma once

// CDlgExpiredDocuments: the expired documents window: the documents whose
// expiry date has passed, oldest first by default, with the list's commands
// (open, properties, a new date in the date column). The drag bar makes it
// once and shows it; the main frame's idle time re-checks its rows.

#include "frame/CExpiredListCtrl.h"
#include "frame/CListWindow.h"

class CDlgExpiredDocuments : public CListWindow {
    DECLARE_DYNAMIC(CDlgExpiredDocuments)

public:
    CDlgExpiredDocuments();

    CArqListCtrl& GetList() override { return m_list; }

protected:
    std::span<const CListWindowColumn> GetColumns() const override;
    CCatalog* GetCatalog() override;
    void Reload() override;

private:
    CExpiredListCtrl m_list;
};
