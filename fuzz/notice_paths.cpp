// Links: catalog
// Feeds raw paths to the notice path test and to the directory watcher's
// callback (no monitor window: every record is freed), as UTF-8 and as
// UTF-16 units, with each change action.

#include "catalog/ChangeNotices.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string path(reinterpret_cast<const char*>(pData), nSize);
    const BOOL bAccepted = ParseDriveSpec(path.c_str());
    // An accepted path (up to its first NUL, as the test reads it) never climbs out of its root.
    const std::string_view tested(path.c_str());
    if (bAccepted && (tested.find("\\..\\") != std::string_view::npos || tested.ends_with("\\..")))
        std::abort();
    std::u16string wide;
    for (size_t i = 0; i + 1 < nSize; i += 2)
        wide.push_back(static_cast<char16_t>(pData[i] | (pData[i + 1] << 8)));
    for (DWORD dwAction = 0; dwAction <= 6; ++dwAction)
        DirWatchCallback(wide.c_str(), dwAction);
    DiscardPendingNotice();
    return 0;
}
