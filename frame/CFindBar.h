#pragma once

// CFindBar: the main frame's find bar: Find and Find Next buttons (their
// commands go the frame's way) and the text of the last search, kept up to
// date at idle.

#include "frame/CKeptStateDialogBar.h"

class CFindBar : public CKeptStateDialogBar {
    DECLARE_MESSAGE_MAP()

public:
    CFindBar();

protected:
    void OnUpdateLastSearch(CCmdUI* pCmdUI);
};
