// Links: webaccess_directory
// Reads arbitrary bytes as a directory server's reply: its fields and code,
// and the plain text of a page that is not a reply, which must never be
// longer than the page.

#include "webaccess/directory/DirectoryReply.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strReply(reinterpret_cast<const char*>(pData), nSize);
    for (int nField = 1; nField <= 4; ++nField)
        static_cast<void>(ParseReplyCode(GetReplyField(strReply.c_str(), nField)));
    const CString strPage(strReply.data(), static_cast<int>(strReply.size()));
    if (PageToPlainText(strPage).GetLength() > strPage.GetLength())
        std::abort();
    return 0;
}
