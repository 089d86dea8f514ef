// Links: catalog platform_base
// Reads bin listings (the drive letter first, then one name a line) and checks
// the number the next recycled name of the drive takes: one above a number
// the listing holds for that drive (or 1), never wrapping around, and a name
// made from it reads back as the bin's own form.

#include "catalog/RecycleBin.h"

#include "platform/base/TrashFolders.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize < 1 || !std::isalpha(pData[0]))
        return 0;
    const char chDrive = static_cast<char>(std::tolower(pData[0]));
    std::vector<std::string> names;
    std::string_view rest(reinterpret_cast<const char*>(pData + 1), nSize - 1);
    while (!rest.empty()) {
        const size_t nEnd = std::min(rest.find('\n'), rest.size());
        names.emplace_back(rest.substr(0, nEnd));
        rest.remove_prefix(std::min(nEnd + 1, rest.size()));
    }
    const unsigned long long nHighest = HighestRecycledNumberOf(names, chDrive);
    if (nHighest == ~0ULL)
        std::abort();
    TCHAR chLetter = 0;
    unsigned long long nNext = 0;
    const std::string strNext = "d" + std::string(1, chDrive) + std::to_string(nHighest + 1) + ".txt";
    if (!ParseRecycledName(strNext, &chLetter, &nNext) || nNext != nHighest + 1)
        std::abort();
    return 0;
}
