// Links: platform_net
// Feeds arbitrary text to the route table reader.

#include "platform/net/IpHelper.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static_cast<void>(ParseRouteTable(std::string_view(reinterpret_cast<const char*>(pData), nSize)));
    return 0;
}
