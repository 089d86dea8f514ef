// Links: webaccess_server
// Feeds arbitrary text to the argument parser of the file commands (item,
// offset, flag) and of the commands without arguments.

#include "webaccess/server/CWACommand.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class CFuzzFileCommand : public CWAFileCommand {
public:
    CFuzzFileCommand()
        : CWAFileCommand(WA_CMD_ATTR)
    {
    }
    CString GetLogText() const override { return ""; }
};

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
    CFuzzFileCommand file;
    file.ParseArgs(strArgs.c_str());
    CFuzzBasicCommand basic;
    basic.ParseArgs(strArgs.c_str());
    return 0;
}
