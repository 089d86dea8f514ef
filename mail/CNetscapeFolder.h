#pragma once

#include "mail/CMessageFolder.h"

// A Netscape-family mbox folder (store kind 0). Reorganising drops the
// messages whose X-Mozilla-Status says expunged and deletes the client's
// summary files (".snm", ".msf") beside the store, whose offsets no longer hold.
class CNetscapeFolder : public CMessageFolder {
public:
    int Reorganize(int nFlags, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext) override;
};
