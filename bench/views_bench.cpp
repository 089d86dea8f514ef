// Figures for the document list of a catalog view, on the catalog of the
// store benchmark (100 000 documents under 500 groups of 200), each against
// a reference timed in the same run:
//  1. a click on a group to the end of the first paint with its first 40
//     rows (Fill returns once they are painted; the worker inserts the rest),
//     against the same queries, state pictures and visible cell texts of 40
//     rows without windows; the median over 100 groups;
//  2. the worker's fill of a group's 160 remaining rows, against inserting
//     the same rows from the user-interface thread alone, with the largest
//     gap between posted probe messages the user-interface thread served
//     while the worker filled (a second thread posts one every 2 ms);
//  3. the preview of a 1 MB text file, from the preview timer to the end of
//     the pane's paint, against reading the same 32 000 bytes and drawing
//     the lines that fit the pane with DrawText into a memory DC of its size;
//  4. on a group linked to every document of the catalog, made for it: the
//     click to its first 40 rows against the same reference as 1., and the
//     worker's fill of the rest with its largest probe gap, against the same
//     rows inserted by the user-interface thread alone.
// The program prints "name: value" lines. The files live in a temporary
// folder that is removed at the end.

#include "bench/BenchCatalogData.h"
#include "bench/BenchProgramFolder.h"
#include "bench/BenchTiming.h"
#include "frame/AppGlobals.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CArqListView.h"
#include "frame/CContentView.h"
#include "frame/CMainFrame.h"
#include "frame/CSplitterFrame.h"
#include "frame/DesktopLayout.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CCatalogFile.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"
#include "store/ContentReader.h"

#include "platform/base/PathMap.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"
#include "tests/support/ScratchFolder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

using namespace bench;

namespace {

constexpr int GROUPS = 100;
constexpr int ROWS = 40;
constexpr double CLICK_GOAL_MS = 16.0;
constexpr double CLICK_GOAL_RATIO = 2.0;
constexpr UINT PROBE = WM_APP + 0x300;
constexpr int PREVIEW_RUNS = 30;
constexpr int PREVIEW_FILE_BYTES = 1 << 20;
constexpr double PREVIEW_GOAL_MS = 30.0;
constexpr double PREVIEW_GOAL_RATIO = 3.0;
constexpr double EVERY_CLICK_GOAL_RATIO = 1.5;
constexpr double EVERY_FILL_GOAL_RATIO = 1.5;
constexpr double PROBE_GAP_GOAL_MS = 50.0;

// Every group of the catalog, systems in catalog order.
std::vector<std::unique_ptr<CNodeRec>> Groups(CCatalog& catalog)
{
    std::vector<std::unique_ptr<CNodeRec>> groups;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    for (auto& pSystem : pRoot->GetChildren()) {
        for (auto& pGroup : pSystem->GetChildren())
            groups.push_back(std::move(pGroup));
    }
    return groups;
}

// The list's work for its first rows without windows: the queries, each
// row's state picture and the texts of the columns it shows.
size_t FirstRowsWithoutWindows(CArqListCtrl& list, const CNodeRec& group, const std::vector<LONG>& columns)
{
    CSortSpec spec { columns.front(), TRUE, TRUE };
    CNodeRecArray nodes = group.GetSortedChildren(&spec);
    CDocumentRecArray documents = group.GetFilteredDocuments(&spec, nullptr);
    size_t nBytes = 0;
    for (int nRow = 0; nRow < ROWS && nRow < static_cast<int>(documents.size()); ++nRow) {
        const CDocumentRec& document = *documents[static_cast<size_t>(nRow)];
        nBytes += CArqListCtrl::GetStateImage(document);
        for (LONG nColumnId : columns)
            nBytes += CArqListCtrl::CellText(&document, nColumnId, list.GetShowExtension(), TRUE).GetLength();
    }
    return nBytes;
}

// A new top-level group linked to every document the groups hold; null on failure.
std::unique_ptr<CNodeRec> MakeEveryDocumentGroup(
    CCatalog& catalog, const std::vector<std::unique_ptr<CNodeRec>>& groups)
{
    CCatalogAction action(&catalog);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    CNodeInfo info {};
    std::snprintf(info.szName, sizeof(info.szName), "Every Document");
    info.nKind = 2;
    std::unique_ptr<CNodeRec> pEvery(pRoot ? pRoot->FindOrAddChild(info) : nullptr);
    if (!pEvery)
        return nullptr;
    for (const auto& pGroup : groups) {
        for (const auto& pDocument : pGroup->GetDocuments()) {
            if (!pEvery->AddDocument(pDocument.get()) || !catalog.CommitIfDue())
                return nullptr;
        }
    }
    return action.End() ? std::move(pEvery) : nullptr;
}

// The user-interface thread's loop while the worker fills: it serves the
// worker's sent messages while it waits, and notes when each probe came.
void ServeFill(CArqListCtrl& list, std::vector<std::chrono::steady_clock::time_point>& served)
{
    MSG msg;
    while (list.IsFilling()) {
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == PROBE)
                served.push_back(std::chrono::steady_clock::now());
            else
                DispatchMessage(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
}

// A second thread posts a probe to hWnd every 2 ms while work runs; the
// largest gap between two probes served, in milliseconds.
double LargestProbeGap(HWND hWnd, const std::function<void(std::vector<std::chrono::steady_clock::time_point>&)>& work)
{
    std::atomic<bool> bProbing { true };
    std::vector<std::chrono::steady_clock::time_point> served;
    std::thread prober([&] {
        while (bProbing) {
            PostMessage(hWnd, PROBE, 0, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    work(served);
    bProbing = false;
    prober.join();
    double dLargest = 0;
    for (size_t i = 1; i < served.size(); ++i)
        dLargest = std::max(dLargest, std::chrono::duration<double, std::milli>(served[i] - served[i - 1]).count());
    return dLargest;
}

// 4. The group of every document: its first rows, then the worker's fill of the rest.
void MeasureEveryDocumentGroup(CArchivoraApp& app, CArqListCtrl& list,
    const std::vector<std::unique_ptr<CNodeRec>>& groups, const std::vector<LONG>& columns, HWND hMain)
{
    std::unique_ptr<CNodeRec> pEvery = MakeEveryDocumentGroup(*app.GetMainCatalog(), groups);
    if (!pEvery) {
        Fail("cannot make the group of every document");
        return;
    }
    constexpr int CLICKS = 5;
    std::vector<double> clickMs;
    std::vector<double> referenceMs;
    for (int nRun = 0; nRun < CLICKS && !HasFailed(); ++nRun) {
        clickMs.push_back(Milliseconds([&] { list.Fill(pEvery.get()); }));
        if (list.GetItemCount() != ROWS)
            Fail("the click did not show the first rows");
        list.WaitForFill(FALSE);
        referenceMs.push_back(Milliseconds([&] { (void)FirstRowsWithoutWindows(list, *pEvery, columns); }));
    }
    double dWorkerMs = 0;
    const double dGapMs = LargestProbeGap(hMain, [&](std::vector<std::chrono::steady_clock::time_point>& served) {
        dWorkerMs = Milliseconds([&] {
            list.Fill(pEvery.get());
            ServeFill(list, served);
        });
    });
    const int nRows = list.GetItemCount();
    CArqListCtrl::SetWorkerStarter([](UINT (*)(LPVOID), LPVOID) { return FALSE; });
    const double dDirectMs = Milliseconds([&] { list.Fill(pEvery.get()); });
    CArqListCtrl::SetWorkerStarter(nullptr);
    if (nRows != list.GetItemCount())
        Fail("the worker did not insert every row");
    list.Fill(nullptr);
    PumpUntilIdle();
    if (HasFailed())
        return;
    const double dClick = Median(clickMs);
    const double dRatio = MedianRatio(clickMs, referenceMs);
    std::printf("every_group_documents: %d\n", nRows);
    std::printf("every_group_click_ms: %.3f\n", dClick);
    std::printf("every_group_click_reference_ms: %.3f\n", Median(referenceMs));
    std::printf("every_group_click_ratio: %.2f (goal <= %.1f: %s)\n", dRatio, EVERY_CLICK_GOAL_RATIO,
        dRatio <= EVERY_CLICK_GOAL_RATIO ? "met" : "missed");
    std::printf("every_group_worker_fill_ms: %.1f\n", dWorkerMs);
    std::printf("every_group_direct_fill_ms: %.1f\n", dDirectMs);
    const double dFillRatio = dWorkerMs / std::max(dDirectMs, 0.001);
    std::printf("every_group_worker_fill_ratio: %.2f (goal <= %.1f: %s)\n", dFillRatio, EVERY_FILL_GOAL_RATIO,
        dFillRatio <= EVERY_FILL_GOAL_RATIO ? "met" : "missed");
    std::printf("every_group_largest_probe_gap_ms: %.2f (goal < %.0f: %s)\n", dGapMs, PROBE_GAP_GOAL_MS,
        dGapMs < PROBE_GAP_GOAL_MS ? "met" : "missed");
}

// A text file of about 1 MB: numbered lines of words.
std::string WritePreviewFile(const std::filesystem::path& folder)
{
    const std::filesystem::path file = folder / "long.txt";
    std::ofstream out(file, std::ios::binary);
    for (int nLine = 0; out.tellp() < PREVIEW_FILE_BYTES; ++nLine)
        out << "Line " << nLine << ": the quick brown fox jumps over the lazy dog, again and again.\n";
    return ProgramPathFromHostPath(file.string());
}

// The reference: the same bytes read, and the lines that fit drawn into a memory DC of the pane's size.
void ReadAndDrawLines(const std::string& strPath, const RECT& rcPane, std::vector<char>& buffer)
{
    (void)ReadFileContent(strPath.c_str(), buffer.data(), static_cast<int>(buffer.size()));
    HDC hScreen = GetDC(nullptr);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, rcPane.right - rcPane.left, rcPane.bottom - rcPane.top);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    RECT rc { 0, 0, rcPane.right - rcPane.left, rcPane.bottom - rcPane.top };
    const char* pLine = buffer.data();
    for (int y = 0; y < rc.bottom && *pLine;) {
        const char* pEnd = std::strchr(pLine, '\n');
        const int nLength = pEnd ? static_cast<int>(pEnd - pLine) : static_cast<int>(std::strlen(pLine));
        RECT rcLine { 0, y, rc.right, rc.bottom };
        y += DrawText(hDC, pLine, nLength, &rcLine, DT_SINGLELINE | DT_NOPREFIX);
        pLine += nLength + (pEnd ? 1 : 0);
    }
    SelectObject(hDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hDC);
    ReleaseDC(nullptr, hScreen);
}

// 3. The preview of a long text file, each run from nothing shown.
void MeasurePreview(CArchivoraApp& app, CSplitterFrame& view, CNodeRec& group, const std::filesystem::path& folder)
{
    const std::string strPath = WritePreviewFile(folder);
    std::unique_ptr<CDocumentRec> pDocument(app.GetMainCatalog()->FindOrAddPath(&group, strPath.c_str()));
    if (!pDocument) {
        Fail("cannot catalogue the preview's file");
        return;
    }
    view.SendMessage(WM_COMMAND, ID_VIEW_PREVIEW, 0);
    CContentView* pPreview = view.GetContentView();
    PumpUntilIdle();
    std::vector<double> previewMs;
    std::vector<double> referenceMs;
    std::vector<char> buffer(CContentView::CONTENT_BYTES);
    RECT rcPane {};
    pPreview->GetClientRect(&rcPane);
    for (int nRun = 0; nRun < PREVIEW_RUNS && !HasFailed(); ++nRun) {
        pPreview->ShowDocument(nullptr);
        PumpUntilIdle();
        previewMs.push_back(Milliseconds([&] {
            pPreview->ShowDocument(pDocument.get());
            pPreview->UpdateWindow();
            pPreview->GetRichEdit().UpdateWindow();
        }));
        if (!pPreview->IsTextLoaded())
            Fail("the preview did not show the text");
        referenceMs.push_back(Milliseconds([&] { ReadAndDrawLines(strPath, rcPane, buffer); }));
    }
    if (HasFailed())
        return;
    const double dPreview = Median(previewMs);
    const double dRatio = MedianRatio(previewMs, referenceMs);
    std::printf("preview_1mb_ms: %.3f (goal < %.0f: %s)\n", dPreview, PREVIEW_GOAL_MS,
        dPreview < PREVIEW_GOAL_MS ? "met" : "missed");
    std::printf("preview_reference_ms: %.3f\n", Median(referenceMs));
    std::printf("preview_ratio: %.2f (goal <= %.1f: %s)\n", dRatio, PREVIEW_GOAL_RATIO,
        dRatio <= PREVIEW_GOAL_RATIO ? "met" : "missed");
}

void Run(const std::filesystem::path& folder)
{
    if (!PrepareProgramFolder(folder))
        return;
    AfxSetArguments({ "archivora" });
    CArchivoraApp app;
    if (!app.InitInstance()) {
        Fail("the start failed");
        return;
    }
    PumpUntilIdle();
    CMainFrame* pMainFrame = app.GetMainFrame();
    CSplitterFrame* pView = pMainFrame ? pMainFrame->GetActiveCatalogFrame() : nullptr;
    if (!pView || !pView->GetListView()) {
        Fail("no catalog view came back");
        return;
    }
    CArqListViewCtrl& list = pView->GetListView()->GetListCtrl();
    std::vector<LONG> columns; // those shown, for the reference's texts
    for (int nColumn = 0; list.GetColumnId(nColumn) != 0; ++nColumn) {
        if (list.GetColumnWidth(nColumn) > 0)
            columns.push_back(list.GetColumnId(nColumn));
    }
    std::vector<std::unique_ptr<CNodeRec>> groups = Groups(*app.GetMainCatalog());
    if (static_cast<int>(groups.size()) < GROUPS) {
        Fail("the catalog has too few groups");
        return;
    }

    // 1. Click to the first rows, side by side with the reference.
    std::vector<double> clickMs;
    std::vector<double> referenceMs;
    for (int nGroup = 0; nGroup < GROUPS && !HasFailed(); ++nGroup) {
        const CNodeRec& group = *groups[static_cast<size_t>(nGroup)];
        clickMs.push_back(Milliseconds([&] { list.Fill(groups[static_cast<size_t>(nGroup)].get()); }));
        if (list.GetItemCount() != ROWS)
            Fail("the click did not show the first rows");
        list.WaitForFill(TRUE);
        PumpUntilIdle();
        referenceMs.push_back(Milliseconds([&] { (void)FirstRowsWithoutWindows(list, group, columns); }));
    }

    // 2. The worker's fill of the rest, with probes posted from another
    // thread; against the same rows inserted by this thread alone.
    std::vector<double> workerMs;
    std::vector<double> directMs;
    double dLargestGapMs = 0;
    const HWND hMain = pMainFrame->GetSafeHwnd();
    for (int nGroup = 0; nGroup < 9 && !HasFailed(); ++nGroup) {
        CNodeRec* pGroup = groups[static_cast<size_t>(nGroup)].get();
        dLargestGapMs = std::max(
            dLargestGapMs, LargestProbeGap(hMain, [&](std::vector<std::chrono::steady_clock::time_point>& served) {
                workerMs.push_back(Milliseconds([&] {
                    list.Fill(pGroup);
                    ServeFill(list, served);
                }));
            }));
        PumpUntilIdle();
        // The same rows from this thread alone: a worker that cannot start.
        CArqListCtrl::SetWorkerStarter([](UINT (*)(LPVOID), LPVOID) { return FALSE; });
        directMs.push_back(Milliseconds([&] { list.Fill(pGroup); }));
        CArqListCtrl::SetWorkerStarter(nullptr);
        PumpUntilIdle();
    }
    MeasurePreview(app, *pView, *groups.front(), folder);
    MeasureEveryDocumentGroup(app, list, groups, columns, hMain);
    pView = nullptr;
    pMainFrame->DestroyWindow();
    PumpUntilIdle();
    app.ExitInstance();
    if (HasFailed())
        return;
    const double dClick = Median(clickMs);
    const double dRatio = MedianRatio(clickMs, referenceMs);
    std::printf("documents: %d\n", DocumentCount());
    std::printf("group_documents: %d\n", DocumentCount() / NODE_COUNT);
    std::printf("click_first_rows_ms: %.3f (goal < %.0f: %s)\n", dClick, CLICK_GOAL_MS,
        dClick < CLICK_GOAL_MS ? "met" : "missed");
    std::printf("click_reference_ms: %.3f\n", Median(referenceMs));
    std::printf("click_ratio: %.2f (goal <= %.1f: %s)\n", dRatio, CLICK_GOAL_RATIO,
        dRatio <= CLICK_GOAL_RATIO ? "met" : "missed");
    std::printf("worker_fill_ms: %.3f\n", Median(workerMs));
    std::printf("direct_fill_ms: %.3f\n", Median(directMs));
    std::printf("worker_fill_ratio: %.2f\n", MedianRatio(workerMs, directMs));
    std::printf("worker_largest_probe_gap_ms: %.2f\n", dLargestGapMs);
}

} // namespace

int main(int argc, char** argv)
{
    const ScratchFolder folder("views_bench.");
    if (!folder.IsValid()) {
        std::perror("views_bench: mkdtemp");
        return 1;
    }
    if (argc > 1 && !SetDocumentCount(std::atoi(argv[1]))) {
        std::fprintf(stderr, "views_bench: the document count must be a multiple of 500\n");
        return 1;
    }
    setenv("ARCHIVORA_HOME", folder.Path().c_str(), 1);
    setenv("HOME", folder.Path().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
    setenv("ARCHIVORA_MODULE_PATH", VIEWS_BENCH_MODULE_FOLDER, 1);
    BeginFailureReports("views_bench");
    RegisterAppMessages();
    Run(folder.Path());
    return HasFailed() ? 1 : 0;
}
