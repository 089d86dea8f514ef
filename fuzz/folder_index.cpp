// Links: store
// Opens arbitrary bytes as the folder index of a search, walks every folder
// and entry with a bound on the steps, builds each entry's path and reads the
// criteria record. The file goes to a temporary folder of this process.

#include "platform/base/PathMap.h"
#include "store/CFolderIndex.h"
#include "tests/support/ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The records walked per input, so one input cannot run for long.
constexpr int MAX_RECORDS_WALKED = 100000;

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const ScratchFolder scratch("index-fuzz-");
    if (!scratch.IsValid())
        std::abort();
    const std::filesystem::path file = scratch.Path() / "winsch.cat";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    }
    CFolderIndex index(ProgramPathFromHostPath(file.string()).c_str(), 0);
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
