#pragma once

// Which keywords lead to which systems, for the whole catalog, from both
// sides: the keywords of a system, and the systems of a keyword. Each page
// keeps its own copy of the relation; a change on one is announced to the
// sheet, which applies it to the other, so both agree whenever a page is
// shown. OK stores the changed systems (the first page writes); Cancel
// writes nothing. The caller holds a reference on the catalog while the
// sheet runs and re-reads its views after IDOK.

#include "dialogs/groups/CDlgPChavesPorSistema.h"
#include "dialogs/groups/CDlgSistemasPorPChave.h"

#include "platform/framework/CPropertySheet.h"

class CCatalog;

class CSystemKeywordsPropSheet : public CPropertySheet {
    DECLARE_MESSAGE_MAP()

public:
    explicit CSystemKeywordsPropSheet(CCatalog* pCatalog, CWnd* pParent = nullptr);

    // Makes both pages, hides Help and centres OK and Cancel as a pair.
    BOOL OnInitDialog() override;

    CDlgPChavesPorSistema m_keywordsOfSystem;
    CDlgSistemasPorPChave m_systemsOfKeyword;

protected:
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeywordRemoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeywordAdded(WPARAM wParam, LPARAM lParam);
    LRESULT OnSystemRemoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnSystemAdded(WPARAM wParam, LPARAM lParam);

private:
    void CentreButtons();
};
