#pragma once

// A message of an Outlook Express 4 folder (store kind 2), named by its .mbx
// path; the .idx beside it says which messages are deleted. The store
// identifier is the message number; the offset and length cover the message
// text in the .mbx; the resume position is the .mbx offset after the message.
// A message the .idx flags deleted, or does not list, reads as deleted. Records
// are found as Oe4Format.h says, so a wrong size loses no other message, and a
// last record cut short by the end of the file reads up to there. When the
// .idx is damaged (an item names a record past the end of a truncated .mbx,
// say), the messages its intact items cover still read, and the store ends
// with the failure where the damage starts.

#include "mail/CMailMessage.h"
#include "mail/MailResult.h"
#include "mail/Oe4Format.h"

#include <unordered_map>
#include <vector>

class COE4Message : public CMailMessage {
public:
    COE4Message() = default;
    COE4Message(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath);

    int GetStoreKind() const override;
    int Load(LPCTSTR pszStorePath) override;
    int ReadNext(LPCTSTR pszStorePath, DWORD dwPosition, int nMaxPath) override;

private:
    // Opens the store and reads its index when the store or the index changed;
    // a damaged index is kept as far as it is intact, see m_nIndexResult.
    [[nodiscard]] int OpenStore(LPCTSTR pszStorePath, int nMaxPath);
    // The index's failure for a message header at an .mbx offset past the
    // intact part of a damaged index, else MAIL_OK.
    int IndexDamageAt(uint64_t nMbxOffset) const;
    // Whether the index lists the message at an .mbx offset as live.
    bool IsListedLive(uint32_t nMbxOffset) const;

    // The index is read once per store and kept while the lengths of both files
    // stay the same, so a walk over the store reads it once.
    std::unordered_map<uint32_t, uint32_t> m_flagsByOffset; // .mbx offset -> item flags
    std::vector<uint32_t> m_listedOffsets;                  // the .mbx offsets the items list, sorted
    uint64_t m_nIndexLength { 0 };                          // The .idx length the flags were read from
    uint64_t m_nIndexMbxLength { 0 };                       // The .mbx length the index was checked against
    int m_nIndexResult { MAIL_OK };                         // How reading the index ended
    uint64_t m_nIntactEnd { 0 };                            // End of the messages the intact items cover
};
