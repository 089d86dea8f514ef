#pragma once

// The progress dialog of a file operation over a list of items: a status
// text and one bar ranging over the items. The caller hands the item texts
// before creation. Cancel asks whether to stop; Yes sets the cancelled flag
// and ends the dialog, No leaves it running. The owner reads the flag itself.

#include "platform/base/CString.h"
#include "ui/CProgressDialog.h"

#include <vector>

class CDlgOperationProgress : public CProgressDialog {
public:
    CDlgOperationProgress();

    // Before creation: the texts of the items the operation works through.
    void SetItemTexts(std::vector<CString> texts) { m_itemTexts = std::move(texts); }
    const std::vector<CString>& GetItemTexts() const { return m_itemTexts; }

    // Shows the shortened text and pumps.
    void SetText(LPCTSTR pszText);

protected:
    // The bar ranges from 0 to the last item's index.
    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    std::vector<CString> m_itemTexts;
};
