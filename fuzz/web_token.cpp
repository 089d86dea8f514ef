// Links: webaccess_server
// Feeds arbitrary text to the web command factory as a request token, and
// asks whatever command it makes for its log line.

#include "webaccess/server/CWACommand.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strToken(reinterpret_cast<const char*>(pData), nSize);
    if (const auto pCommand = CreateWebCommand(strToken.c_str()))
        static_cast<void>(pCommand->GetLogText());
    return 0;
}
