#pragma once

// The folder picker behind the add and browse buttons of the preference
// pages: the shell item popup of My Computer, opened under its button (10
// pixels in from the button's left edge, on its bottom edge) and kept off
// the button. The button shows pushed while the popup runs; a click that
// reaches the picker meanwhile is ignored.

#include "platform/base/CString.h"
#include "platform/framework/CButton.h"

class CPopupFolderPicker {
public:
    // Where the popup opens: this far right of the button's left edge.
    static constexpr int POPUP_INDENT = 10;

    // TRUE with the chosen folder's parsing name in strFolder, as the shell
    // spells it ("C:\Work"); FALSE when nothing was chosen, the choice has no
    // path, or a pick runs already.
    BOOL Pick(CButton& button, CString& strFolder);

private:
    bool m_bBusy { false };
};
