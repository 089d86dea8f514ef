#include "bench/BenchProgramFolder.h"

#include "bench/BenchCatalogData.h"
#include "frame/AppGlobals.h"
#include "frame/DesktopLayout.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"

#include "platform/base/PathMap.h"

#include <memory>

namespace bench {

CString ProgramPath(const std::filesystem::path& folder, const char* pszName)
{
    return ProgramPathFromHostPath((folder / pszName).string()).c_str();
}

bool PrepareProgramFolder(const std::filesystem::path& folder)
{
    const CString strCatalog = ProgramPath(folder, "archiv.cat");
    if (!CCatalog::CreateFile(FALSE, strCatalog, BLOCK_SIZE)
        || !CCatalog::CreateFile(TRUE, ProgramPath(folder, "winrec.cat"), BLOCK_SIZE)) {
        Fail("cannot create the catalog files");
        return false;
    }
    CCatalog catalog(strCatalog, 0);
    if (!FillCatalog(catalog))
        return false;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    CNodeInfo info {};
    pRoot->GetInfo(&info);
    info.nFlags &= ~CNodeRec::ROOT_NOT_SET_UP;
    if (!pRoot->UpdateInfo(info)) {
        Fail("cannot set the catalog up");
        return false;
    }
    CRegistryKey child;
    if (!child.Create(HKEY_CURRENT_USER, CString(DESKTOP_KEY_PATH) + "\\" + ChildKeyName(0))) {
        Fail("cannot write the layout");
        return false;
    }
    child.SetDWORD("Status", SW_SHOWMAXIMIZED);
    CRegistryKey desktop;
    desktop.Open(HKEY_CURRENT_USER, DESKTOP_KEY_PATH);
    desktop.SetDWORD("Windows", 1);
    desktop.SetDWORD("Status", SW_SHOWMAXIMIZED);
    return true;
}

} // namespace bench
