#pragma once

// The base of the program's preference sheets: what they share in look and
// keys. No Apply button; Help hidden even when a page offers it; OK and Cancel
// at the right end of the button row, BUTTON_GAP pixels apart and from the
// edge. Alt with a key chooses the first page whose tab text has "&" right
// before that key's character (exact case, so tabs mark upper-case letters).
// Idle passes reach every page, which update their controls.
//
// Derived sheets add their pages in their constructors, one AddOwnedPage line
// each, and are run with DoModal.

#include "platform/framework/CPropertyPage.h"
#include "platform/framework/CPropertySheet.h"

#include <memory>
#include <utility>
#include <vector>

class CKadPreferencesPropSheet : public CPropertySheet {
    DECLARE_DYNAMIC(CKadPreferencesPropSheet)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int BUTTON_GAP = 6;     // pixels between OK and Cancel, and right of Cancel
    static constexpr int TAB_TEXT_SIZE = 80; // the buffer a tab's text is read into, with its zero

    CKadPreferencesPropSheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    BOOL OnInitDialog() override;
    // Alt+key page switching, then the sheet's own keys.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Makes a page from the arguments and adds it after the others; the
    // sheet owns it and destroys it with itself.
    template<class TPage, class... TArgs> TPage& AddOwnedPage(TArgs&&... args)
    {
        auto pPage = std::make_unique<TPage>(std::forward<TArgs>(args)...);
        TPage& page = *pPage;
        AddPage(&page);
        m_ownedPages.push_back(std::move(pPage));
        return page;
    }

    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    // The page whose tab marks the key's character; -1 for none.
    int PageOfMnemonic(UINT nKey) const;

    std::vector<std::unique_ptr<CPropertyPage>> m_ownedPages;
};
