// Links: mail
// Reads arbitrary bytes as an Outlook Express 5 message folder: walks the tree,
// reads every message through its chunk chain both ways, and runs the
// folder's reorganisation. Nothing may crash or hang.

#include "fuzz/MailFuzzFiles.h"
#include "mail/COE5Folder.h"
#include "mail/COE5Message.h"
#include "mail/MailResult.h"
#include "mail/MailStoreFunctions.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CMailFuzzFolder folder;
    if (!folder.IsReady())
        return 0;
    std::string strStore = folder.Write("Inbox.dbx", pData, nSize);
    (void)GetOE5MessageCount(strStore.c_str());
    COE5Folder mailbox;
    mailbox.SetPath(strStore.c_str());
    COE5Message reader;
    DWORD dwPosition = 0;
    for (size_t i = 0; i <= nSize; ++i) {
        if (reader.ReadNext(strStore.c_str(), dwPosition, MAIL_MAX_PATH) != MAIL_OK)
            break;
        dwPosition = reader.GetPosition();
        (void)reader.GetText();
        COE5Message download;
        std::string strBytes;
        if (download.Open(strStore.c_str()) == MAIL_OK && download.Seek(reader.GetOffset()) == MAIL_OK) {
            char chunk[512];
            int n = 0;
            while ((n = download.Read(chunk, sizeof(chunk))) > 0)
                strBytes.append(chunk, static_cast<size_t>(n));
        }
        if (strBytes != reader.GetRawMessage())
            std::abort();
        mailbox.InsertSorted(
            new COE5Message(reader.GetStoreId(), reader.GetOffset(), reader.GetLength(), "", strStore.c_str()));
    }
    (void)mailbox.Reorganize(0, nullptr, nullptr);
    return 0;
}
