#include "mail/CatalogMessage.h"

#include "mail/CNetscapeMessage.h"
#include "mail/COE4Message.h"
#include "mail/COE5Message.h"
#include "mail/MailResult.h"

std::unique_ptr<CMailMessage> NewCatalogMessage(
    int nStoreKind, DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath)
{
    switch (nStoreKind) {
    case MAIL_STORE_NETSCAPE:
        return std::make_unique<CNetscapeMessage>(dwStoreId, dwOffset, dwLength, pszFullPath, pszStorePath);
    case MAIL_STORE_OE4:
        return std::make_unique<COE4Message>(dwStoreId, dwOffset, dwLength, pszFullPath, pszStorePath);
    case MAIL_STORE_OE5:
        return std::make_unique<COE5Message>(dwStoreId, dwOffset, dwLength, pszFullPath, pszStorePath);
    default:
        return nullptr;
    }
}
