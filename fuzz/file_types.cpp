// Links: ui
// Takes arbitrary bytes as the classes root's registry file and builds the map
// of creatable file types from it. Whatever the tree holds (any depth, any
// names), the build must end, and every listed extension must start with ".".

#include "platform/base/RegistryFormat.h"
#include "tests/support/ScratchFolder.h"
#include "ui/CFileTypeMap.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {

const std::filesystem::path& SettingsFolder()
{
    static ScratchFolder* pFolder = [] {
        auto* p = new ScratchFolder("file-types-fuzz-");
        if (!p->IsValid() || setenv("ARCHIVORA_HOME", p->Path().c_str(), 1) != 0)
            std::abort();
        std::filesystem::create_directories(p->Path() / "settings");
        return p;
    }();
    static const std::filesystem::path settings = pFolder->Path() / "settings";
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::filesystem::path& settings = SettingsFolder();
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    CRegistryNode root;
    std::string strError;
    if (!ParseRegistryText(text, root, strError))
        return 0; // a file that does not parse is set aside whole: an empty classes root
    {
        std::ofstream out(settings / "ClassesRoot.reg.new", std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::filesystem::rename(settings / "ClassesRoot.reg.new", settings / "ClassesRoot.reg");
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
