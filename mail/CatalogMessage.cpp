#include "mail/CatalogMessage.h"

#include "mail/CNetscapeMessage.h"
#include "mail/COE4Message.h"
#include "mail/COE5Message.h"
#include "mail/MailResult.h"
#include "store/CDocumentRec.h"

namespace {

// A reader of the store kind on the record's values; null for a kind without one.
std::unique_ptr<CMailMessage> NewCatalogMessage(const CMailDocumentRef& ref)
{
    switch (ref.nStoreKind) {
    case MAIL_STORE_NETSCAPE:
        return std::make_unique<CNetscapeMessage>(
            ref.dwStoreId, ref.dwOffset, ref.dwLength, ref.strFullPath, ref.strStorePath);
    case MAIL_STORE_OE4:
        return std::make_unique<COE4Message>(
            ref.dwStoreId, ref.dwOffset, ref.dwLength, ref.strFullPath, ref.strStorePath);
    case MAIL_STORE_OE5:
        return std::make_unique<COE5Message>(
            ref.dwStoreId, ref.dwOffset, ref.dwLength, ref.strFullPath, ref.strStorePath);
    default:
        return nullptr;
    }
}

// Whether the loaded message is the one the record catalogued.
bool IsCataloguedMessage(const CMailMessage& message, const CMailDocumentRef& ref)
{
    // A message without a Date header was catalogued without a date before
    // its separator's date stood in for one.
    const bool bDateMatches = static_cast<DWORD>(message.GetDate()) == ref.dwDate
        || (ref.dwDate == 0 && message.CMailMessage::GetDate() == 0);
    return message.GetRawMessage().size() == ref.dwLength && bDateMatches
        && IsSameMailTitle(
            MailTitleOfSubject(static_cast<LPCTSTR>(message.GetSubject())), static_cast<LPCTSTR>(ref.strTitle));
}

} // namespace

int LoadCatalogMessage(const CMailDocumentRef& ref, std::unique_ptr<CMailMessage>& pMessage)
{
    pMessage = NewCatalogMessage(ref);
    if (pMessage == nullptr)
        return MAIL_ERR_FILE;
    if (int nResult = pMessage->Load(nullptr); nResult != MAIL_OK)
        return nResult;
    return IsCataloguedMessage(*pMessage, ref) ? MAIL_OK : MAIL_ERR_NOT_FOUND;
}
