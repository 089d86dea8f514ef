#pragma once

// An Outlook Express 5 folder (store kind 3, a .dbx file). The store is not
// rewritten: reorganising reports the catalogued messages that are no longer in
// the folder as removed, the others as kept; the state is the message count.

#include "mail/CMessageFolder.h"

class COE5Folder : public CMessageFolder {
public:
    int Reorganize(int nFlags, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext) override;
};
