// Links: mail
// Reads arbitrary bytes as a Netscape mbox folder: every message of the walk,
// its exact bytes through Open/Seek/Read and its decoded fields, then a
// deletion and a reorganisation of the folder. Nothing may crash or hang.

#include "fuzz/MailFuzzFiles.h"
#include "mail/CNetscapeFolder.h"
#include "mail/CNetscapeMessage.h"
#include "mail/MailResult.h"
#include "mail/MailStoreFunctions.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CMailFuzzFolder folder;
    if (!folder.IsReady())
        return 0;
    std::string strStore = folder.Write("Inbox", pData, nSize);
    CNetscapeFolder mailbox;
    mailbox.SetPath(strStore.c_str());
    CNetscapeMessage reader;
    DWORD dwPosition = 0;
    for (size_t i = 0; i <= nSize; ++i) {
        int nResult = reader.ReadNext(strStore.c_str(), dwPosition, MAIL_MAX_PATH);
        if (nResult != MAIL_OK && nResult != MAIL_DELETED)
            break;
        if (reader.GetPosition() <= dwPosition)
            std::abort(); // The walk must advance.
        dwPosition = reader.GetPosition();
        char szBuffer[MAIL_MAX_PATH];
        reader.GetAddressList2(szBuffer, sizeof(szBuffer));
        (void)reader.GetText();

        CNetscapeMessage download;
        std::string strBytes;
        if (download.Open(strStore.c_str()) == MAIL_OK && download.Seek(reader.GetOffset()) == MAIL_OK) {
            char chunk[512];
            int n = 0;
            while (strBytes.size() < reader.GetLength() && (n = download.Read(chunk, sizeof(chunk))) > 0)
                strBytes.append(chunk, static_cast<size_t>(n));
        }
        if (strBytes.compare(0, reader.GetLength(), reader.GetRawMessage()) != 0)
            std::abort(); // The stored bytes are the message read.
        mailbox.InsertSorted(
            new CNetscapeMessage(reader.GetStoreId(), reader.GetOffset(), reader.GetLength(), "", strStore.c_str()));
        if (i == 0)
            (void)DeleteNetscapeStoreMessage("", strStore.c_str(), reader.GetOffset(), reader.GetLength());
    }
    (void)mailbox.Reorganize(0, nullptr, nullptr);
    return 0;
}
