// Links: webaccess_server
// Feeds arbitrary text to the argument parser of WDIR (block, slot and the
// optional order field), with no web catalog set, so every well-formed
// reference other than (0,0) is refused as no node.

#include "webaccess/server/CWACmdWdir.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strArgs(reinterpret_cast<const char*>(pData), nSize);
    CWACmdWdir command;
    command.ParseArgs(strArgs.c_str());
    return 0;
}
