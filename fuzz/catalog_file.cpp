// Opens arbitrary bytes as a catalog file, walks every chain from every block
// with a bound on the steps, reads every record, and allocates and frees one
// record per chain. The file goes to a temporary folder of this process.

#include "platform/base/PathMap.h"
#include "store/CCatalogFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Record sizes of the catalog tables 0 to 20, as in the stored inputs.
// clang-format off
const std::vector<int> g_recordSizes = {
    64, 554, 260, 600, 276, 16, 40, 32, 16, 40, 32, 16, 16, 12, 16, 32, 16, 32, 16, 32, 404,
};
// clang-format on

// The blocks walked per input, so one input cannot run for long.
constexpr CATBLOCK MAX_BLOCKS_WALKED = 4096;

// A temporary folder of this process, removed at exit, with the input file in it.
class CTempCatalog {
public:
    CTempCatalog()
    {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "catalog-fuzz-XXXXXX").string();
        if (!mkdtemp(strTemplate.data()))
            std::abort();
        m_folder = strTemplate;
    }
    ~CTempCatalog()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
    std::filesystem::path File() const { return m_folder / "fuzz.cat"; }

private:
    std::filesystem::path m_folder;
};

void Walk(CCatalogFile& file)
{
    CATBLOCK nLast = std::min(file.GetLastBlock(), MAX_BLOCKS_WALKED - 1);
    const std::int64_t nBound = std::int64_t { nLast + 1 } * SlotCount(1);
    for (CATBLOCK nBlock = 0; nBlock <= nLast; ++nBlock) {
        CCatalogBlock* pBlock = file.GetBlock(nBlock);
        if (!pBlock)
            continue;
        LONG nType = pBlock->GetTableType();
        std::vector<BYTE> data(static_cast<std::size_t>(pBlock->GetRecordSize()));
        CRecordRef cursor { nBlock, NO_SLOT };
        for (std::int64_t nStep = 0; nStep < nBound && file.NextRecord(&cursor); ++nStep)
            (void)file.ReadRecord(cursor, nType, data); // only crashes and hangs matter here
        CRecordRef ref;
        if (file.AllocateRecord(nType, nBlock, pBlock->GetHeader().owner, &ref))
            (void)file.FreeRecord(ref, nType);
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const CTempCatalog temp;
    {
        std::ofstream out(temp.File(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    }
    CCatalogFile file(ProgramPathFromHostPath(temp.File().string()).c_str(), g_recordSizes);
    if (file.Acquire()) {
        Walk(file);
        (void)file.Release();
    }
    return 0;
}
