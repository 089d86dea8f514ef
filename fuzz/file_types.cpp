// Links: ui
// Takes arbitrary bytes as the classes root's registry file and builds the map
// of creatable file types from it. Whatever the tree holds (any depth, any
// names), the build must end, and every listed extension must start with ".".

#include "fuzz/FuzzRegistryFile.h"
#include "ui/CFileTypeMap.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    if (!WriteFuzzRegistryFile(text, "ClassesRoot.reg"))
        return 0; // a file that does not parse is set aside whole: an empty classes root
    CFileTypeMap map;
    map.Build();
    CString strDescription;
    for (CStringArray* pList = map.GetFirst(strDescription); pList; pList = map.GetNext(strDescription)) {
        if (strDescription.IsEmpty())
            std::abort();
        for (int i = 0; i < pList->GetSize(); ++i)
            if (pList->GetAt(i).Left(1) != ".")
                std::abort();
    }
    return 0;
}
