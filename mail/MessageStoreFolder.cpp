#include "mail/MessageStoreFolder.h"

#include "mail/DbxFormat.h"
#include "mail/MailFile.h"
#include "mail/MailResult.h"
#include "mail/Oe4Format.h"

int MessageStoreKindOf(const CString& strPath)
{
    CMailFile file;
    if (!file.Open(strPath))
        return -1;
    if (CheckMbxHeader(file) == MAIL_OK) {
        CMailFile idx;
        return idx.Open(Oe4IndexPath(strPath).c_str()) ? MAIL_STORE_OE4 : -1;
    }
    uint32_t nCount = 0;
    return ReadDbxHeader(file, nCount) == MAIL_OK ? MAIL_STORE_OE5 : -1;
}

CMailFolderArray ListMessageStores(const CString& strFolder)
{
    CMailFolderArray folders;
    for (const CMailerFileName& name : ListMailerFolder(strFolder)) {
        if (name.bFolder)
            continue;
        CString strPath = strFolder + "\\" + name.strName;
        int nKind = MessageStoreKindOf(strPath);
        if (nKind < 0)
            continue;
        int nDot = name.strName.ReverseFind('.');
        CMailFolderEntry entry;
        entry.strName = nDot > 0 ? name.strName.Left(nDot) : name.strName;
        entry.strMailbox = strPath;
        entry.dwStoreKind = static_cast<DWORD>(nKind);
        folders.push_back(std::move(entry));
    }
    return folders;
}
