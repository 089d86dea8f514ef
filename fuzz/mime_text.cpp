// Links: mail
// Parses arbitrary bytes as a stored message: its fields and its readable text.

#include "mail/MailMime.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string_view raw(reinterpret_cast<const char*>(pData), nSize);
    CMailContent content = ParseMailContent(raw);
    (void)content;
    (void)MailTextFromHtml(raw);
    return 0;
}
