// Links: platform_base
// Feeds arbitrary text to the mount table parser and builds a drive table
// from whatever it accepts.

#include "platform/base/DriveTable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string_view strText(reinterpret_cast<const char*>(pData), nSize);
    CDriveTable table = CDriveTable::FromMounts(ParseMountInfo(strText), {});
    size_t nUsed = 0;
    table.FindShare({ "server", "share" }, &nUsed);
    return 0;
}
