#pragma once

#include "mail/CMailMessage.h"

// A message of a Netscape-family mbox folder (store kind 0). The store
// identifier is the offset of the message's separator line; the offset and
// length cover the stored message from its first header byte up to the next
// separator; the resume position is the offset of that next separator.
class CNetscapeMessage : public CMailMessage {
public:
    CNetscapeMessage() = default;
    CNetscapeMessage(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath);

    int GetStoreKind() const override;
    int Load(LPCTSTR pszStorePath) override;
    int ReadNext(LPCTSTR pszStorePath, DWORD dwPosition, int nMaxPath) override;
};
