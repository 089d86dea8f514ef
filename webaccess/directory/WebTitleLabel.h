#pragma once

// The title label of every web access dialog and wizard page: bold, 14 high,
// green, showing string nIdText.

#include "ui/CLabelCtrl.h"

inline void StyleWebTitle(CLabelCtrl& title, UINT nIdText)
{
    constexpr int TITLE_SIZE = 14;
    CString strText;
    strText.LoadString(nIdText);
    title.SetFontBold(TRUE).SetFontSize(TITLE_SIZE).SetTextColor(RGB(40, 120, 70)).SetText(strText);
}
