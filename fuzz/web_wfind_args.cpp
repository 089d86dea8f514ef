// Links: webaccess
// Feeds arbitrary text to the argument parser of WFIND (search text, match
// mode and field) and asks for the log line, which joins the words it cut.

#include "webaccess/server/CWACmdWfind.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strArgs(reinterpret_cast<const char*>(pData), nSize);
    CWACmdWfind command;
    command.ParseArgs(strArgs.c_str());
    static_cast<void>(command.GetLogText());
    return 0;
}
