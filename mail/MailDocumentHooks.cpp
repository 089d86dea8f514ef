#include "mail/MailDocumentHooks.h"

#include "mail/CatalogMessage.h"
#include "mail/MailResult.h"
#include "store/CMailDocumentHooks.h"

#include <memory>

namespace {

class CMailReaderHooks final : public CMailDocumentHooks {
public:
    EMessageState CheckMessage(const CMailDocumentRef& ref) override
    {
        std::unique_ptr<CMailMessage> pMessage;
        int nResult = LoadCatalogMessage(ref, pMessage);
        if (nResult == MAIL_OK)
            return pMessage->IsValid() ? EMessageState::Live : EMessageState::Deleted;
        // A store that opens but no longer holds the message where the record says has changed.
        if (nResult == MAIL_ERR_OPEN || nResult == MAIL_ERR_FILE)
            return EMessageState::Unreadable;
        return EMessageState::Moved;
    }

    int ReadText(const CMailDocumentRef& ref, std::string& strText) override
    {
        std::unique_ptr<CMailMessage> pMessage;
        if (int nResult = LoadCatalogMessage(ref, pMessage); nResult != MAIL_OK)
            return nResult;
        strText = static_cast<LPCTSTR>(pMessage->GetText());
        return MAIL_OK;
    }

    int ChangeProtection(const CMailDocumentRef& ref, LPCTSTR pszNewPassword) override
    {
        std::unique_ptr<CMailMessage> pMessage;
        if (int nResult = LoadCatalogMessage(ref, pMessage); nResult != MAIL_OK)
            return nResult;
        return pMessage->SetProtection(pszNewPassword, pMessage->GetProtection());
    }
};

} // namespace

void InstallMailDocumentHooks()
{
    static CMailReaderHooks s_hooks;
    SetMailDocumentHooks(&s_hooks);
}
