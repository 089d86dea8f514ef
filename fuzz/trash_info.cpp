// Links: platform_shell
// Feeds arbitrary text to the trash info reader, as a home trash's and as a
// top-directory trash's, and writes back what it accepts.

#include "platform/shell/TrashInfo.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    for (const char* pszTopDir : { "", "/media/usb" }) {
        CTrashInfo info;
        if (ParseTrashInfo(text, pszTopDir, info))
            static_cast<void>(FormatTrashInfo(info.strPath, pszTopDir, 0));
    }
    return 0;
}
