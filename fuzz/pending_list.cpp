// Links: catalog
// Reads the pending-documents list from arbitrary settings files: whatever the
// stored values hold, the list read has no empty and no repeated path, only
// the known flags, and no more entries than the values it came from.

#include "catalog/CPendingDocs.h"
#include "tests/support/ScratchFolder.h"

#include "platform/base/RegistryFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

namespace {

ScratchFolder& Folder()
{
    static ScratchFolder* pFolder = [] {
        auto* p = new ScratchFolder("pending-list-fuzz-");
        if (!p->IsValid() || setenv("ARCHIVORA_HOME", p->Path().c_str(), 1) != 0)
            std::abort();
        return p;
    }();
    return *pFolder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    ScratchFolder& folder = Folder();
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    CRegistryNode root;
    std::string strError;
    if (!ParseRegistryText(text, root, strError))
        return 0; // a settings file that does not parse is set aside whole, before any value is read
    const std::filesystem::path settings = folder.Path() / "settings";
    std::filesystem::create_directories(settings);
    {
        std::ofstream out(settings / "CurrentUser.reg.new", std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::filesystem::rename(settings / "CurrentUser.reg.new", settings / "CurrentUser.reg");
    CPendingDocs pending(nullptr);
    pending.LoadPending();
    std::set<std::string> paths;
    for (int i = 0; i < pending.GetCount(); ++i) {
        const CPendingDocs::CEntry& entry = pending.GetEntry(i);
        if (entry.strPath.IsEmpty() || !paths.insert(std::string(entry.strPath)).second
            || (entry.dwFlags & ~(CPendingDocs::FLAG_UNPROTECTED | CPendingDocs::FLAG_OPENED)) != 0)
            std::abort();
    }
    if (pending.GetCount() > 10000)
        std::abort();
    return 0;
}
