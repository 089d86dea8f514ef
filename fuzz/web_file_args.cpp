// Links: webaccess_server
// Feeds arbitrary text to the argument parser of the file commands ATTR and
// DOWN2 (item, offset, flag) and of the commands without arguments, and asks
// the file commands for their log lines.

#include "webaccess/server/FileCommands.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class CFuzzBasicCommand : public CWABasicCommand {
public:
    CFuzzBasicCommand()
        : CWABasicCommand(WA_CMD_VUPL)
    {
    }
    CString GetLogText() const override { return ""; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strArgs(reinterpret_cast<const char*>(pData), nSize);
    CWACmdAttr attr;
    attr.ParseArgs(strArgs.c_str());
    static_cast<void>(attr.GetLogText());
    CWACmdDown2 down;
    down.ParseArgs(strArgs.c_str());
    static_cast<void>(down.GetLogText());
    CFuzzBasicCommand basic;
    basic.ParseArgs(strArgs.c_str());
    return 0;
}
