#include "frame/CMailBar.h"

#include "resources/ResourceIds.h"

// The bar floats over the middle of the screen, where the first start's
// wizard stands: before a layout is kept it waits for the View menu.
CMailBar::CMailBar()
    : CKeptStateDialogBar("Mailbar", FirstShow::Hidden)
{
}

void CMailBar::SetStatusText(LPCTSTR pszText1, LPCTSTR pszText2)
{
    if (pszText1)
        SetDlgItemText(IDC_BAR_TEXT, pszText1);
    if (pszText2)
        SetDlgItemText(IDC_BAR_TEXT2, pszText2);
}
