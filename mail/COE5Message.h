#pragma once

// A message of an Outlook Express 5 folder (store kind 3, a .dbx file). The
// store identifier is the message's index field; the offset is the address of
// its first chunk and the length the length of its joined text; the resume
// position is the number of messages read, in folder order. Seek takes a first
// chunk address and Read then gives the message text across its chunks, so the
// exact stored message reads like a contiguous one. Deleted messages leave the
// folder's tree, so every message read is live.

#include "mail/CMailMessage.h"
#include "mail/DbxFormat.h"

#include <vector>

class COE5Message : public CMailMessage {
public:
    COE5Message() = default;
    COE5Message(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath);

    int GetStoreKind() const override;
    int Open(LPCTSTR pszStorePath) override;
    int Seek(DWORD dwOffset) override;
    int Read(void* pBuffer, int nCount) override;
    int Load(LPCTSTR pszStorePath) override;
    int ReadNext(LPCTSTR pszStorePath, DWORD dwPosition, int nMaxPath) override;

private:
    // Reads the tree once per store and keeps it while the file length stays the same.
    [[nodiscard]] int ReadTree();

    std::vector<uint32_t> m_infos;       // Message info addresses in folder order
    uint64_t m_nTreeFileLength { 0 };    // The file length m_infos was read at
    std::vector<CDbxSegment> m_segments; // The chain Seek chose
    size_t m_nSegment { 0 };             // Read position: segment and offset in it
    uint32_t m_nSegmentPos { 0 };
};
