// Links: mail
// Reads arbitrary bytes as an Outlook Express 4 store: the first four bytes give
// the length of the .mbx part, the rest is the .idx. Walks the store, reads each
// message's stored bytes, deletes one and reorganises. Nothing may crash or hang.

#include "fuzz/MailFuzzFiles.h"
#include "mail/COE4Folder.h"
#include "mail/COE4Message.h"
#include "mail/MailResult.h"
#include "mail/MailStoreFunctions.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize < 4)
        return 0;
    size_t nMbx = static_cast<size_t>(pData[0] | pData[1] << 8 | pData[2] << 16) % (nSize - 3);
    CMailFuzzFolder folder;
    if (!folder.IsReady())
        return 0;
    std::string strStore = folder.Write("Inbox.mbx", pData + 4, nMbx);
    folder.Write("Inbox.idx", pData + 4 + nMbx, nSize - 4 - nMbx);

    COE4Folder mailbox;
    mailbox.SetPath(strStore.c_str());
    COE4Message reader;
    DWORD dwPosition = 0;
    for (size_t i = 0; i <= nSize; ++i) {
        int nResult = reader.ReadNext(strStore.c_str(), dwPosition, MAIL_MAX_PATH);
        if (nResult != MAIL_OK && nResult != MAIL_DELETED)
            break;
        if (reader.GetPosition() <= dwPosition)
            std::abort();
        dwPosition = reader.GetPosition();
        (void)reader.GetSubject();
        mailbox.InsertSorted(
            new COE4Message(reader.GetStoreId(), reader.GetOffset(), reader.GetLength(), "", strStore.c_str()));
        if (i == 0)
            (void)DeleteOE4StoreMessage("", strStore.c_str(), reader.GetOffset(), reader.GetLength());
    }
    (void)GetOE4StoreDataSize(strStore.c_str());
    (void)mailbox.Reorganize(0, nullptr, nullptr);
    return 0;
}
