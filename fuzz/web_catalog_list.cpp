// Links: webaccess_directory
// Reads arbitrary bytes as the directory server's list of an account's
// catalogs: whatever came, the list is empty or holds bounded, clean fields.

#include "webaccess/directory/CatalogListReply.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CString strReply(reinterpret_cast<const char*>(data), static_cast<int>(size));
    std::vector<CWACatalogEntry> catalogs = ParseCatalogList(strReply);
    if (catalogs.size() > MAX_CATALOGS)
        std::abort();
    for (const CWACatalogEntry& entry : catalogs) {
        for (const CString* pField : { &entry.strName, &entry.strCode }) {
            if (static_cast<size_t>(pField->GetLength()) > MAX_FIELD_BYTES)
                std::abort();
            for (int i = 0; i < pField->GetLength(); ++i)
                if (static_cast<unsigned char>((*pField)[i]) < 0x20)
                    std::abort();
        }
    }
    return 0;
}
