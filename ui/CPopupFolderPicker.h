#pragma once

// Popups opened from a button of a preference page: the popup opens 10
// pixels in from the button's left edge, on its bottom edge, and keeps off
// the button, which shows pushed while the popup runs. CPopupFolderPicker is
// the folder picker behind the add and browse buttons: the shell item popup
// of My Computer; a click that reaches it while it runs is ignored.

#include "platform/base/CString.h"
#include "platform/framework/CButton.h"

class CPopupWnd;

// Where a popup opens under the button: its top left corner, and the
// button's screen rectangle less its last row, which the popup keeps off
// and counts as its parent item (the cursor resting there keeps it open).
void GetPopupPlaceUnderButton(CButton& button, POINT* pPos, RECT* pButton);
// Runs a created and filled popup under the button, which shows pushed
// meanwhile; the chosen item's result (the caller owns it), or null.
void* TrackPopupUnderButton(CPopupWnd& popup, CButton& button);

class CPopupFolderPicker {
public:
    // Where a popup opens: this far right of its button's left edge.
    static constexpr int POPUP_INDENT = 10;
    static constexpr DWORD ALL_DRIVES = 0xFFFFFFFF;

    explicit CPopupFolderPicker(DWORD dwDriveTypeMask = ALL_DRIVES)
        : m_dwDriveTypeMask(dwDriveTypeMask)
    {
    }

    // TRUE with the chosen folder's parsing name in strFolder, as the shell
    // spells it ("C:\Work"); FALSE when nothing was chosen, the choice has no
    // path, or a pick runs already.
    BOOL Pick(CButton& button, CString& strFolder);

private:
    DWORD m_dwDriveTypeMask;
    bool m_bBusy { false };
};
