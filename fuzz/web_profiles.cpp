// Links: webaccess_profiles
// Feeds arbitrary bytes to the loader of the stored web access profiles.

#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CMemFile.h"
#include "webaccess/profiles/CWAProfiles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::vector<BYTE> data(pData, pData + nSize);
    try {
        CMemFile file(data.data(), static_cast<UINT>(data.size()));
        CArchive ar(&file, CArchive::load);
        CWAProfiles profile;
        profile.Serialize(ar);
        static_cast<void>(profile.IsCommandAllowed(3));
    } catch (CException* pException) {
        pException->Delete();
    }
    return 0;
}
