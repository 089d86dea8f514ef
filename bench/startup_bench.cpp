// Figures for the program's start on the catalog of the store benchmark
// (100 000 documents under 500 groups of 200), each against a reference timed
// in the same run:
//  1. the start-up to the first paint of the main window and of its restored
//     catalog view, against opening the same catalogs and reading what the
//     start reads (the root, its systems) without windows;
//  2. the list's fill with a group of 200 documents, printed apart;
//  3. saving the layout with three catalog views, against one registry change
//     that writes the same values (both into settings without them, so both
//     write the file).
// Medians of the runs; the program prints "name: value" lines. The files live
// in a temporary folder that is removed at the end.

#include "bench/BenchCatalogData.h"
#include "bench/BenchProgramFolder.h"
#include "bench/BenchTiming.h"
#include "frame/AppGlobals.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CMainFrame.h"
#include "frame/CSplitterFrame.h"
#include "frame/DesktopLayout.h"
#include "frame/FramePrompts.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CRegistryKey.h"

#include "platform/base/PathMap.h"
#include "platform/base/Registry.h"
#include "platform/base/RegistryTree.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"
#include "tests/support/ScratchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace bench;

namespace {

constexpr int RUNS = 9;
constexpr int SAVES = 15;

// What the start does with the catalogs, without windows: the backup check,
// the two catalogs opened, the preferences, the root and its systems.
void ReadLikeTheStart(const std::filesystem::path& folder)
{
    CBackupMonitor monitor(
        ProgramPath(folder, "archiv.cat"), ProgramPath(folder, "winrec.cat"), thePreferences, GetFramePrompts());
    if (!monitor.CheckCatalogAtStartup())
        Fail("the backup check failed");
    // A clean end, as the program's own.
    struct CCleanEnd {
        CBackupMonitor& monitor;
        ~CCleanEnd() { monitor.ClearMonitorFlag(); }
    } cleanEnd { monitor };
    CCatalog recycle(ProgramPath(folder, "winrec.cat"), 1);
    recycle.Release();
    CCatalog catalog(ProgramPath(folder, "archiv.cat"), 1);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    const bool bSetUp = pRoot && !(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
    thePreferences.Load();
    const CSortSpec byName { 0, TRUE, FALSE };
    if (!bSetUp || pRoot->GetSortedChildren(&byName).size() != SYSTEM_COUNT)
        Fail("the reference read another catalog");
}

// The names of a group's documents, as the list shows them.
void ReadGroup(const CNodeRec& group)
{
    int nRows = 0;
    for (const auto& pDocument : group.GetDocuments()) {
        CString strName;
        pDocument->GetFullPath(strName);
        nRows += !strName.IsEmpty();
    }
    if (nRows != DocumentCount() / NODE_COUNT)
        Fail("the group holds another number of documents");
}

// The first group of the first system.
std::unique_ptr<CNodeRec> FirstGroup(CCatalog& catalog)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    std::unique_ptr<CNodeRec> pSystem(pRoot ? pRoot->GetFirstChild() : nullptr);
    return std::unique_ptr<CNodeRec>(pSystem ? pSystem->GetFirstChild() : nullptr);
}

// Writes a copy of the Desktop key's tree in one change: the same values the layout's save writes.
LSTATUS CopyDesktopInOneChange()
{
    return RegEditKeyTree(HKEY_CURRENT_USER, PRODUCT_KEY_PATH, [](CRegistryNode& product, bool& bChanged) -> DWORD {
        std::shared_ptr<CRegistryNode> pDesktop = product.FindSubkey("Desktop");
        if (!pDesktop)
            return ERROR_FILE_NOT_FOUND;
        product.RemoveSubkey("Desktop Copy");
        bool bCreated = false;
        std::function<void(const CRegistryNode&, CRegistryNode&)> copy
            = [&copy](const CRegistryNode& from, CRegistryNode& to) {
                  for (const CRegistryValue& value : from.GetValues())
                      to.SetValue(value.strName, value.dwType, value.data);
                  for (const auto& [strName, pSubkey] : from.GetSubkeys()) {
                      bool bNew = false;
                      copy(*pSubkey, *to.AddSubkey(strName, bNew));
                  }
              };
        copy(*pDesktop, *product.AddSubkey("Desktop Copy", bCreated));
        bChanged = true;
        return ERROR_SUCCESS;
    });
}

LSTATUS RemoveDesktopCopy()
{
    return RegEditKeyTree(HKEY_CURRENT_USER, PRODUCT_KEY_PATH, [](CRegistryNode& product, bool& bChanged) -> DWORD {
        bChanged = product.RemoveSubkey("Desktop Copy") != nullptr;
        return ERROR_SUCCESS;
    });
}

void Run(const std::filesystem::path& folder)
{
    if (!PrepareProgramFolder(folder))
        return;
    std::vector<double> startMs;
    std::vector<double> referenceMs;
    std::vector<double> fillMs;
    std::vector<double> groupMs;
    std::vector<double> saveMs;
    std::vector<double> oneChangeMs;
    for (int nRun = 0; nRun < RUNS && !HasFailed(); ++nRun) {
        // The reference first: the program's run keeps the run flag set until its end.
        referenceMs.push_back(Milliseconds([&] { ReadLikeTheStart(folder); }));
        AfxSetArguments({ "archivora" });
        CArchivoraApp app;
        startMs.push_back(Milliseconds([&] {
            if (!app.InitInstance())
                Fail("the start failed");
            PumpUntilIdle();
        }));
        CMainFrame* pMainFrame = app.GetMainFrame();
        CSplitterFrame* pView = pMainFrame ? pMainFrame->GetActiveCatalogFrame() : nullptr;
        if (!pView) {
            Fail("no catalog view came back");
            return;
        }
        std::unique_ptr<CNodeRec> pGroup = FirstGroup(*app.GetMainCatalog());
        fillMs.push_back(Milliseconds([&] {
            pView->SendMessage(
                g_nMsgSelChanged, CSplitterFrame::REASON_PROGRAM, reinterpret_cast<LPARAM>(pGroup.get()));
            PumpUntilIdle();
        }));
        groupMs.push_back(Milliseconds([&] { ReadGroup(*pGroup); }));

        if (nRun == 0) {
            pMainFrame->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
            pMainFrame->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
            PumpUntilIdle();
            for (int nSave = 0; nSave < SAVES; ++nSave) {
                // The settings file is not written again for a change that leaves it as it was:
                // each side writes into settings that lack what it writes, so each is a real write.
                if (RegDeleteTree(HKEY_CURRENT_USER, DESKTOP_KEY_PATH) != ERROR_SUCCESS)
                    Fail("cannot clear the layout");
                saveMs.push_back(Milliseconds([&] { pMainFrame->SaveSettings(); }));
                if (RemoveDesktopCopy() != ERROR_SUCCESS)
                    Fail("cannot clear the layout's copy");
                oneChangeMs.push_back(Milliseconds([&] {
                    if (CopyDesktopInOneChange() != ERROR_SUCCESS)
                        Fail("cannot copy the layout");
                }));
            }
        }
        pView = nullptr;
        pGroup.reset();
        pMainFrame->DestroyWindow();
        PumpUntilIdle();
        app.ExitInstance();
    }
    if (HasFailed())
        return;
    std::printf("documents: %d\n", DocumentCount());
    std::printf("startup_ms: %.2f\n", Median(startMs));
    std::printf("startup_reference_ms: %.2f\n", Median(referenceMs));
    std::printf("startup_ratio: %.2f\n", MedianRatio(startMs, referenceMs));
    std::printf("list_fill_200_ms: %.2f\n", Median(fillMs));
    std::printf("list_fill_reference_ms: %.2f\n", Median(groupMs));
    std::printf("layout_save_ms: %.2f\n", Median(saveMs));
    std::printf("layout_one_change_ms: %.2f\n", Median(oneChangeMs));
    std::printf("layout_save_ratio: %.2f\n", MedianRatio(saveMs, oneChangeMs));
}

} // namespace

int main()
{
    const ScratchFolder folder("startup_bench.");
    if (!folder.IsValid()) {
        std::perror("startup_bench: mkdtemp");
        return 1;
    }
    setenv("ARCHIVORA_HOME", folder.Path().c_str(), 1);
    setenv("HOME", folder.Path().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
    setenv("ARCHIVORA_MODULE_PATH", STARTUP_BENCH_MODULE_FOLDER, 1);
    BeginFailureReports("startup_bench");
    RegisterAppMessages();
    Run(folder.Path());
    return HasFailed() ? 1 : 0;
}
