#pragma once

// A message of a Netscape-family mbox folder (store kind 0). The store
// identifier is the offset of the message's separator line; the offset and
// length cover the stored message from its first header byte up to the next
// separator; the resume position is the offset of that next separator.
// ReadNext reads ahead and keeps what it read for the next call while the file
// keeps its length: a walk sees the store as it was when the walk reached it.
// A message without a Date header takes the date of its separator line.

#include "mail/CMailMessage.h"
#include "mail/MboxFormat.h"

class CNetscapeMessage : public CMailMessage {
public:
    CNetscapeMessage() = default;
    CNetscapeMessage(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath);

    int GetStoreKind() const override;
    int Open(LPCTSTR pszStorePath) override;
    int Load(LPCTSTR pszStorePath) override;
    int ReadNext(LPCTSTR pszStorePath, DWORD dwPosition, int nMaxPath) override;
    // The Date header's date; without one, the date of the message's separator line.
    time_t GetDate() const override;

private:
    // The date of the separator line between the two offsets, 0 when there is none.
    time_t ReadSeparatorDate(DWORD dwSeparator, DWORD dwOffset) const;

    CMboxReadAhead m_readAhead;    // Kept across ReadNext calls on one store
    time_t m_tSeparatorDate { 0 }; // Of the message read last
};
