#pragma once

// The title label of every web access dialog and wizard page: bold, 14 high,
// green, showing string nIdText or, without one, the template's text.

#include "ui/CLabelCtrl.h"

inline void StyleWebTitle(CLabelCtrl& title, UINT nIdText = 0)
{
    constexpr int TITLE_SIZE = 14;
    title.SetFontBold(TRUE).SetFontSize(TITLE_SIZE).SetTextColor(RGB(40, 120, 70));
    if (nIdText == 0)
        return;
    CString strText;
    strText.LoadString(nIdText);
    title.SetText(strText);
}
