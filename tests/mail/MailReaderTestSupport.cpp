#include "tests/mail/MailReaderTestSupport.h"

#include "mail/MailResult.h"

#include <gtest/gtest.h>

std::vector<CReadResult> ReadAll(CMailMessage& reader, const std::string& strStore, DWORD dwPosition, int* pnEndResult)
{
    std::vector<CReadResult> results;
    // Far more steps than any test store has messages: a reader that never ends fails here.
    for (int i = 0; i < 100000; ++i) {
        int nResult = reader.ReadNext(strStore.c_str(), dwPosition, MAIL_MAX_PATH);
        if (nResult != MAIL_OK && nResult != MAIL_DELETED) {
            if (pnEndResult)
                *pnEndResult = nResult;
            return results;
        }
        results.push_back({ nResult, reader.GetStoreId(), reader.GetOffset(), reader.GetLength(), reader.GetPosition(),
            reader.IsValid(), std::string(reader.GetSubject()), reader.GetRawMessage(), reader.GetDate() });
        dwPosition = reader.GetPosition();
    }
    ADD_FAILURE() << "the store did not end";
    return results;
}

std::string ReadStored(CMailMessage& reader, const std::string& strStore, DWORD dwOffset, DWORD dwLength, int nStep)
{
    std::string bytes;
    EXPECT_EQ(reader.Open(strStore.c_str()), MAIL_OK);
    EXPECT_EQ(reader.Seek(dwOffset), MAIL_OK);
    std::vector<char> buffer(static_cast<size_t>(nStep));
    while (bytes.size() < dwLength) {
        int n = reader.Read(buffer.data(), std::min<int>(nStep, static_cast<int>(dwLength - bytes.size())));
        if (n <= 0)
            break;
        bytes.append(buffer.data(), static_cast<size_t>(n));
    }
    reader.Close();
    return bytes;
}
