// Links: platform_shell
// Feeds arbitrary text to the launcher Exec line reader and expands what it
// accepts for a file and a URL.

#include "platform/shell/DesktopExec.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string_view exec(reinterpret_cast<const char*>(pData), nSize);
    std::vector<std::string> args;
    CExecTargets targets { { "/home/ana/a b.txt" }, { "https://example.org/" }, "icon", "Name", "/x.desktop" };
    static_cast<void>(ExpandDesktopExec(exec, targets, args));
    return 0;
}
