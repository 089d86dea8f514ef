// Links: platform_shell
// Feeds arbitrary bytes to the shortcut reader.

#include "platform/shell/LnkFile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CLnkFile link;
    std::string strError;
    static_cast<void>(ReadLnkFile(std::span<const BYTE>(pData, nSize), link, strError));
    return 0;
}
