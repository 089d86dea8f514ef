#pragma once

// The folder picker behind the web access wizards' browse buttons: a popup of
// the fixed and network drives under My Computer, opened under the button
// (shown pushed meanwhile); further clicks are ignored while it is open.

#include "platform/base/CString.h"

class CButton;

class CWAFolderPicker {
public:
    // TRUE with the chosen folder's parsing name in strFolder; FALSE when
    // nothing was chosen, My Computer cannot be listed or a pick is running.
    BOOL Pick(CButton& button, CString& strFolder);

private:
    bool m_bBusy { false };
};
