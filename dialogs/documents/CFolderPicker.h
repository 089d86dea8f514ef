#pragma once

// The folder picker behind a dialog's browse button: the shell's folder
// browser rooted at My Computer, the button shown pushed while it runs and
// further clicks on it ignored until it ends.

#include "platform/base/CString.h"
#include "platform/framework/CButton.h"

class CFolderPicker {
public:
    // TRUE with the chosen folder's path in strFolder (as the file system
    // spells it, no final "\"); FALSE when the user cancelled, the choice is
    // no file-system folder, or a pick is running already.
    BOOL Pick(CButton& button, CString& strFolder);

private:
    bool m_bBusy { false };
};

// The form folder lists keep: lower case with a final "\".
CString ListFolderForm(const CString& strFolder);
