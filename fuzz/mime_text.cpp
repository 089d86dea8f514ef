// Links: mail
// Parses arbitrary bytes as a stored message: its header fields and its readable text.

#include "mail/CMailHeaders.h"
#include "mail/MailMime.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string_view raw(reinterpret_cast<const char*>(pData), nSize);
    CMailHeaders headers(raw);
    (void)headers.GetSubject();
    (void)headers.GetFrom();
    (void)headers.GetHeaderLines();
    (void)headers.GetProtection();
    (void)headers.GetDate();
    (void)MailTextFromMime(raw);
    (void)MailTextFromHtml(raw);
    return 0;
}
