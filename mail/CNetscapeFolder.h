#pragma once

// A Netscape-family mbox folder (store kind 0). Reorganising drops the
// messages whose X-Mozilla-Status says expunged and deletes the client's
// summary files (".snm", ".msf") beside the store, whose offsets no longer hold.

#include "mail/CMessageFolder.h"

class CNetscapeFolder : public CMessageFolder {
public:
    int Reorganize(int nFlags, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext) override;
};
