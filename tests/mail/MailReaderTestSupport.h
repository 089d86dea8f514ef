#pragma once

#include "mail/CMailMessage.h"

#include <ctime>
#include <string>
#include <vector>

// What a walk over a store saw of each message.
struct CReadResult {
    int nResult { 0 };
    DWORD dwStoreId { 0 };
    DWORD dwOffset { 0 };
    DWORD dwLength { 0 };
    DWORD dwPosition { 0 };
    BOOL bValid { FALSE };
    std::string strSubject;
    std::string strRaw;
    time_t tDate { 0 };
};

// Reads a store from a position to its end, as the new-mail monitor does; the
// code that ended the walk into *pnEndResult.
std::vector<CReadResult> ReadAll(
    CMailMessage& reader, const std::string& strStore, DWORD dwPosition = 0, int* pnEndResult = nullptr);

// The bytes Open/Seek/Read give for a message, read in steps of nStep, as the
// content search (1024) and the download (512) read them.
std::string ReadStored(CMailMessage& reader, const std::string& strStore, DWORD dwOffset, DWORD dwLength, int nStep);
