// Links: frame
// Takes arbitrary bytes as the current user's registry file and makes, without
// windows, the start-up's reads of the window layout, of the catalog views'
// keys with their systems trees' and document lists' settings, of the bars'
// kept states, of the lists' program-wide column layout and of the find
// settings. Whatever the bytes, each value read must be one a start can use.

#include "frame/AppGlobals.h"
#include "frame/CFindBar.h"
#include "frame/CMailBar.h"
#include "frame/DesktopLayout.h"
#include "frame/FindSettings.h"
#include "frame/ListViewSettings.h"
#include "frame/SisTreeSettings.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"

#include "platform/base/PathMap.h"
#include "platform/base/RegistryFormat.h"
#include "platform/framework/CWinApp.h"
#include "tests/support/ScratchFolder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

// The font system keeps its caches until the process ends: not leaks of this target.
extern "C" const char* __lsan_default_suppressions() // NOLINT(bugprone-reserved-identifier): the sanitizer names it
{
    return "leak:libfontconfig\nleak:libgio\n";
}

namespace {

struct CFuzzProgram {
    ScratchFolder folder { "desktop-layout-fuzz-" };
    CWinApp* pApp { nullptr };
    CCatalog* pCatalog { nullptr };
};

CFuzzProgram& Program()
{
    static CFuzzProgram* pProgram = [] {
        auto* p = new CFuzzProgram;
        if (!p->folder.IsValid() || setenv("ARCHIVORA_HOME", p->folder.Path().c_str(), 1) != 0)
            std::abort();
        p->pApp = new CWinApp("Archivora Plus");
        p->pApp->SetRegistryKey("KD");
        const std::string strPath = ProgramPathFromHostPath((p->folder.Path() / "archiv.cat").string());
        if (!CCatalog::CreateFile(FALSE, strPath.c_str(), BLOCK_SIZE))
            std::abort();
        p->pCatalog = new CCatalog(strPath.c_str(), 1);
        if (!p->pCatalog->IsOpen())
            std::abort();
        return p;
    }();
    return *pProgram;
}

void CheckPlacement(const CKeptPlacement& kept)
{
    if (kept.bRectKept && (kept.rc.right <= kept.rc.left || kept.rc.bottom <= kept.rc.top))
        std::abort();
}

void CheckFindRecord(const CFindRecord& record, int nMaxTexts)
{
    if (record.history.GetSize() > nMaxTexts || !record.pSystem || !record.pSystem->IsValid())
        std::abort();
    for (BOOL bFlag : { record.bMatchCase, record.bWholeWord, record.bRecycle, record.bOpenFindBar, record.bResultList,
             record.bAllDocs, record.bInterrupt, record.bDate }) {
        if (bFlag != FALSE && bFlag != TRUE)
            std::abort();
    }
}

void CheckColumnLayout(HKEY hKey)
{
    std::vector<CColumnLayout> layout;
    if (!ReadColumnLayout(hKey, &layout))
        return;
    if (layout.size() != LIST_COLUMN_COUNT)
        std::abort();
    std::vector<bool> used(LIST_COLUMN_COUNT);
    for (const CColumnLayout& column : layout) {
        if (column.nOrder < 0 || column.nOrder >= LIST_COLUMN_COUNT || used[static_cast<size_t>(column.nOrder)])
            std::abort();
        used[static_cast<size_t>(column.nOrder)] = true;
    }
}

void CheckListView(HKEY hChild)
{
    CRegistryKey listView;
    if (!listView.Open(hChild, "ListView", KEY_READ))
        return;
    const CListViewKept kept = ReadListViewKept(listView);
    if ((kept.nViewStyle != LIST_STYLE_ICONS && kept.nViewStyle != LIST_STYLE_DETAILS
            && kept.nViewStyle != LIST_STYLE_LIST)
        || kept.nSortColumn < 0 || kept.nSortColumn >= LIST_COLUMN_COUNT)
        std::abort();
    CheckColumnLayout(listView);
}

void CheckSisTree(CRegistryKey& child)
{
    CRegistryKey tree;
    if (!tree.Open(child, SIS_TREE_KEY_NAME, KEY_READ))
        return;
    const CSisTreeSettings settings = ReadSisTreeSettings(tree);
    if (settings.path.size() > MAX_PATH_NAMES || (settings.bSmallIcons != FALSE && settings.bSmallIcons != TRUE)
        || (settings.bShowTopNode3 != FALSE && settings.bShowTopNode3 != TRUE))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    CFuzzProgram& program = Program();
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    CRegistryNode root;
    std::string strError;
    if (!ParseRegistryText(text, root, strError))
        return 0; // a settings file that does not parse is set aside whole, before any value is read
    const std::filesystem::path settings = program.folder.Path() / "settings";
    std::filesystem::create_directories(settings);
    {
        std::ofstream out(settings / "CurrentUser.reg.new", std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::filesystem::rename(settings / "CurrentUser.reg.new", settings / "CurrentUser.reg");

    const int nCount = ReadFrameCount();
    if (nCount < 0 || nCount > MAX_CHILD_FRAMES)
        std::abort();
    ReadActiveFrame();
    CRegistryKey desktop;
    if (desktop.Open(HKEY_CURRENT_USER, DESKTOP_KEY_PATH, KEY_READ)) {
        CheckPlacement(ReadKeptPlacement(desktop, SW_SHOWMAXIMIZED));
        for (int i = 0; i < std::min(nCount, 8); ++i) {
            CRegistryKey child;
            if (!child.Open(desktop, ChildKeyName(i), KEY_READ))
                continue;
            CheckPlacement(ReadKeptPlacement(child, SW_SHOWMAXIMIZED));
            const CKeptColumns columns = ReadKeptColumns(child);
            for (int cx : { columns.cxTree, columns.cxList, columns.cxPreview }) {
                if (cx < -1)
                    std::abort();
            }
            CheckListView(child);
            CheckSisTree(child);
        }
        CMailBar mailBar;
        mailBar.LoadState(desktop);
        CFindBar findBar;
        findBar.LoadState(desktop);
    }

    CRegistryKey preferences;
    if (preferences.Open(HKEY_CURRENT_USER, CString(DEFAULT_KEY_PATH) + "\\Preferences", KEY_READ))
        CheckColumnLayout(preferences);

    CFindSettings findSettings;
    findSettings.Load(*program.pApp, program.pCatalog);
    CheckFindRecord(findSettings.GetFind(), FIND_HISTORY_LENGTH);
    CheckFindRecord(findSettings.GetLastFind(), 1);
    findSettings.Free();
    return 0;
}
