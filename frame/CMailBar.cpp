#include "frame/CMailBar.h"

#include "resources/ResourceIds.h"

CMailBar::CMailBar()
    : CKeptStateDialogBar("Mailbar")
{
}

void CMailBar::SetStatusText(LPCTSTR pszText1, LPCTSTR pszText2)
{
    if (pszText1)
        SetDlgItemText(IDC_BAR_TEXT, pszText1);
    if (pszText2)
        SetDlgItemText(IDC_BAR_TEXT2, pszText2);
}
