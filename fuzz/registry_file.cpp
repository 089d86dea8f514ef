// Links: platform_base
// Parses arbitrary bytes as a registry settings file; whatever parses must write
// back to text that parses to the same text again.

#include "platform/base/RegistryFormat.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CRegistryNode root;
    std::string strError;
    if (!ParseRegistryText(std::string_view(reinterpret_cast<const char*>(pData), nSize), root, strError))
        return 0;
    std::string strText = FormatRegistryText(root);
    CRegistryNode again;
    if (!ParseRegistryText(strText, again, strError) || FormatRegistryText(again) != strText)
        std::abort();
    return 0;
}
