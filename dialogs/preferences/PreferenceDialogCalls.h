#pragma once

// The preference dialogs as the rest of the program opens them: the bodies of
// the program's prompt and host calls, each a modal dialog over pParent.

#include "platform/base/WinTypes.h"

class CWnd;

// The new-folder dialog over pszParentPath: 1 when the user made the folder, else 0.
int RunNewFolderDialog(LPCTSTR pszParentPath, CWnd* pParent);
