#pragma once

// CMailBar: the main frame's mail bar: two lines of status text that the
// document list sets while it shows mail.

#include "frame/CKeptStateDialogBar.h"

class CMailBar : public CKeptStateDialogBar {
public:
    CMailBar();

    // Shows the two lines (a null line is left as it is).
    void SetStatusText(LPCTSTR pszText1, LPCTSTR pszText2);
};
