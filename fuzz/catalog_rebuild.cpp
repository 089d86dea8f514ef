// Links: store
// Rebuilds arbitrary bytes taken for the main catalog, beside an empty
// recycle-bin catalog. A rebuild that fails leaves the input as it was; one
// that succeeds leaves a sound catalog, which rebuilds again.

#include "fuzz/MailFuzzFiles.h"
#include "store/CCatalog.h"
#include "store/CatalogCompaction.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<char> ReadHostFile(const std::string& strProgramPath)
{
    std::string strHostPath;
    if (!HostPathFromProgramPath(strProgramPath.c_str(), strHostPath))
        std::abort();
    std::ifstream in(strHostPath, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static CMailFuzzFolder folder;
    if (!folder.IsReady())
        return 0;
    std::string strMain = folder.Write("archiv.cat", pData, nSize);
    std::string strRecycle = folder.Write("winrec.cat", pData, 0);
    if (!CCatalog::CreateFile(TRUE, strRecycle.c_str(), BLOCK_SIZE))
        std::abort();
    if (!RebuildCatalogFiles(strMain.c_str(), strRecycle.c_str())) {
        std::vector<char> kept = ReadHostFile(strMain);
        if (kept.size() != nSize || (nSize > 0 && std::memcmp(kept.data(), pData, nSize) != 0))
            std::abort(); // a failed rebuild changed the catalog
        return 0;
    }
    if (!RebuildCatalogFiles(strMain.c_str(), strRecycle.c_str()))
        std::abort(); // the rebuilt catalog is not sound
    return 0;
}
