#pragma once

// An Outlook Express 4 folder (store kind 2), named by its .mbx path.
// Reorganising writes a new .mbx and .idx without the messages the index flags
// deleted (or does not list); message numbers stay, offsets change.

#include "mail/CMessageFolder.h"

class COE4Folder : public CMessageFolder {
public:
    int Reorganize(int nFlags, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext) override;
};
