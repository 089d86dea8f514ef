// Links: store
// Opens arbitrary bytes as the folder index of a search, walks every folder
// and entry with a bound on the steps, builds each entry's path and reads the
// criteria record. The file goes to a temporary folder of this process.

#include "platform/base/PathMap.h"
#include "store/CFolderIndex.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The records walked per input, so one input cannot run for long.
constexpr int MAX_RECORDS_WALKED = 100000;

class CTempIndex {
public:
    CTempIndex()
    {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "index-fuzz-XXXXXX").string();
        if (!mkdtemp(strTemplate.data()))
            std::abort();
        m_folder = strTemplate;
    }
    ~CTempIndex()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
    std::filesystem::path File() const { return m_folder / "winsch.cat"; }

private:
    std::filesystem::path m_folder;
};

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const CTempIndex temp;
    {
        std::ofstream out(temp.File(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    }
    CFolderIndex index(ProgramPathFromHostPath(temp.File().string()).c_str(), 0);
    int nWalked = 0;
    for (CRecordRef folder = index.FirstFolder(); !folder.IsNone() && nWalked < MAX_RECORDS_WALKED;
         folder = index.NextFolder(folder), ++nWalked) {
        for (CRecordRef entry = index.FirstEntry(folder); !entry.IsNone() && nWalked < MAX_RECORDS_WALKED;
             entry = index.NextEntry(entry), ++nWalked) {
            (void)index.BuildFolderPath(folder, entry);
            (void)index.GetEntryDocument(entry);
        }
    }
    CListFilter filter;
    (void)index.GetCriteria(&filter); // only crashes and hangs matter here
    FreeListFilter(&filter);
    return 0;
}
