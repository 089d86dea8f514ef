// Links: dialogs_setup
// Reads arbitrary bytes as the set-up wizard's usage file: any text gives
// profiles within the bounds, never a crash.

#include "dialogs/setup/UsageFile.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CUsageProfiles profiles;
    ParseUsageText(std::string_view(reinterpret_cast<const char*>(pData), nSize), profiles);
    if (profiles.entries.size() > CUsageProfiles::MAX_ENTRIES)
        std::abort();
    for (const auto& [strName, items] : profiles.entries) {
        if (items.size() > CUsageProfiles::MAX_ITEMS || std::strlen(strName) > CUsageProfiles::MAX_LINE_BYTES)
            std::abort();
    }
    for (const CString& strHead : profiles.heads) {
        if (std::strlen(strHead) > CUsageProfiles::MAX_LINE_BYTES)
            std::abort();
    }
    return 0;
}
