// The frame layer's costs, each against a reference timed in the same run:
//  1. making a main frame with a toolbar, a status bar and two dialog bars
//     (one floating) plus one document frame of a 1 x 3 splitter of views, up
//     to its first paint, against making and painting the twenty-control form;
//  2. one idle update pass over a toolbar of 100 buttons whose update handlers
//     sit in the active view, the document frame, the main frame, the
//     application or nowhere, and one WM_INITMENUPOPUP pass over a menu of the
//     same 100 commands, each against 100 same-thread SendMessage round trips.
// Each figure is the median of its runs; the program prints "name: value" lines.

#include "bench/BenchTiming.h"
#include "bench/TwentyControlDialog.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/framework/CCreateContext.h"
#include "platform/framework/CDialogBar.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CSplitterWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr UINT IDR_FRAME = 127;
constexpr UINT IDR_DOCUMENT = 128;
constexpr UINT IDD_FIND_BAR = 266;
constexpr UINT IDD_DRAG_BAR = 138;
constexpr UINT ID_PANE_DOCUMENTS = 45000;
constexpr UINT FIRST_COMMAND = 40000; // 100 commands, 20 to each place of handling
constexpr int COMMANDS = 100;

/***** The frame, its document frame and views *****/

// What every place of handling does with its twenty commands.
void EnableFor(CCmdUI* pCmdUI)
{
    pCmdUI->Enable((pCmdUI->m_nID & 1) != 0);
}

class CBenchDoc : public CDocument {
    DECLARE_DYNCREATE(CBenchDoc)
};
IMPLEMENT_DYNCREATE(CBenchDoc, CDocument)

class CBenchView : public CView {
    DECLARE_DYNCREATE(CBenchView)
    DECLARE_MESSAGE_MAP()

public:
    void OnDraw(CDC* pDC) override
    {
        RECT rc {};
        GetClientRect(&rc);
        ::FillRect(pDC->GetSafeHdc(), &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::TextOut(pDC->GetSafeHdc(), 8, 8, "Pane", 4);
    }
    void OnUpdate(CCmdUI* pCmdUI) { EnableFor(pCmdUI); }
};
IMPLEMENT_DYNCREATE(CBenchView, CView)

class CBenchChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CBenchChild)
    DECLARE_MESSAGE_MAP()

public:
    void OnUpdate(CCmdUI* pCmdUI) { EnableFor(pCmdUI); }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        if (!m_splitter.CreateStatic(this, 1, 3))
            return FALSE;
        for (int nColumn = 0; nColumn < 3; ++nColumn) {
            if (!m_splitter.CreateView(0, nColumn, pContext->m_pNewViewClass, CSize(200, 0), pContext))
                return FALSE;
        }
        SetActiveView(static_cast<CView*>(m_splitter.GetPane(0, 0)));
        return TRUE;
    }

    CSplitterWnd m_splitter;
};
IMPLEMENT_DYNCREATE(CBenchChild, CMDIChildWnd)

class CBenchFrame : public CMDIFrameWnd {
    DECLARE_MESSAGE_MAP()

public:
    CToolBar m_wndToolBar;
    CToolBar m_wndWideBar; // the 100 buttons of the update pass
    CStatusBar m_wndStatusBar;
    CDialogBar m_wndFindBar;
    CDialogBar m_wndDragBar;

    void OnUpdate(CCmdUI* pCmdUI) { EnableFor(pCmdUI); }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
            return -1;
        EnableDocking(CBRS_ALIGN_ANY);
        static constexpr UINT INDICATORS[]
            = { ID_SEPARATOR, ID_PANE_DOCUMENTS, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL };
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(INDICATORS, 5))
            return -1;
        if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY)
            || !m_wndToolBar.LoadToolBar(IDR_FRAME))
            return -1;
        m_wndToolBar.ModifyStyle(0, TBSTYLE_FLAT);
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        if (!m_wndDragBar.Create(this, IDD_DRAG_BAR, CBRS_RIGHT | CBRS_TOOLTIPS | CBRS_FLYBY, IDD_DRAG_BAR))
            return -1;
        if (!m_wndFindBar.Create(this, IDD_FIND_BAR, CBRS_TOP | CBRS_FLYBY | CBRS_SIZE_DYNAMIC, IDD_FIND_BAR))
            return -1;
        FloatControlBar(&m_wndFindBar, CPoint(400, 300));
        return 0;
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CBenchView, CView)
    ON_UPDATE_COMMAND_UI_RANGE(FIRST_COMMAND, FIRST_COMMAND + 19, &CBenchView::OnUpdate)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CBenchChild, CMDIChildWnd)
    ON_UPDATE_COMMAND_UI_RANGE(FIRST_COMMAND + 20, FIRST_COMMAND + 39, &CBenchChild::OnUpdate)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CBenchFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_UPDATE_COMMAND_UI_RANGE(FIRST_COMMAND + 40, FIRST_COMMAND + 59, &CBenchFrame::OnUpdate)
END_MESSAGE_MAP()
// clang-format on

class CBenchApp : public CWinApp {
    DECLARE_MESSAGE_MAP()

public:
    CBenchApp()
        : CWinApp("FrameBench")
    {
    }
    void OnUpdate(CCmdUI* pCmdUI) { EnableFor(pCmdUI); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CBenchApp, CWinApp)
    ON_UPDATE_COMMAND_UI_RANGE(FIRST_COMMAND + 60, FIRST_COMMAND + 79, &CBenchApp::OnUpdate)
END_MESSAGE_MAP()
// clang-format on

// The main frame with its document frame, shown and painted; nullptr when it could not be made.
CBenchFrame* MakeFrame(CWinApp& app, CMultiDocTemplate* pTemplate)
{
    auto* pFrame = new CBenchFrame;
    if (!pFrame->LoadFrame(IDR_FRAME, WS_OVERLAPPEDWINDOW))
        return nullptr;
    app.m_pMainWnd = pFrame;
    pFrame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    pFrame->ShowWindow(SW_SHOW);
    CDocument* pDoc = pTemplate->CreateNewDocument();
    CFrameWnd* pChild = pDoc ? pTemplate->CreateNewFrame(pDoc, nullptr) : nullptr;
    if (!pChild)
        return nullptr;
    pTemplate->InitialUpdateFrame(pChild, pDoc, TRUE);
    app.OnIdle(0);
    PumpUntilIdle();
    return pFrame;
}

void DestroyFrame(CWinApp& app, CBenchFrame* pFrame)
{
    app.m_pMainWnd = nullptr;
    pFrame->DestroyWindow();
    PumpUntilIdle();
}

/***** Timing *****/

// The median time of fnRun in microseconds over nRuns, fnSetUp and fnTearDown untimed around each.
double TimeMedian(int nRuns, const std::function<void()>& fnRun, const std::function<void()>& fnSetUp = {},
    const std::function<void()>& fnTearDown = {})
{
    std::vector<double> samples;
    for (int i = 0; i < nRuns; ++i) {
        if (fnSetUp)
            fnSetUp();
        const auto start = std::chrono::steady_clock::now();
        fnRun();
        const auto end = std::chrono::steady_clock::now();
        samples.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        if (fnTearDown)
            fnTearDown();
    }
    return Median(samples);
}

LRESULT CALLBACK EchoWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_USER)
        return static_cast<LRESULT>(wParam + 1);
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

void Print(const char* pszName, double dValue)
{
    std::printf("%s: %.2f\n", pszName, dValue);
}

} // namespace

int main()
{
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(FRAME_BENCH_MODULE).c_str());
    if (!hModule) {
        std::fprintf(stderr, "frame_bench: no resource module %s\n", FRAME_BENCH_MODULE);
        return 1;
    }
    AfxSetResourceHandle(hModule);
    CBenchApp app;
    auto* pTemplate = new CMultiDocTemplate(
        IDR_DOCUMENT, RUNTIME_CLASS(CBenchDoc), RUNTIME_CLASS(CBenchChild), RUNTIME_CLASS(CBenchView));
    app.AddDocTemplate(pTemplate);
    constexpr int CREATION_RUNS = 41;
    constexpr int PASS_RUNS = 401;

    // 1. A main frame to its first paint, against the twenty-control form.
    CBenchFrame* pFrame = nullptr;
    const double dFrame = TimeMedian(
        CREATION_RUNS, [&] { pFrame = MakeFrame(app, pTemplate); }, {},
        [&] {
            if (pFrame)
                DestroyFrame(app, pFrame);
        });
    HWND hDlg = nullptr;
    const double dDialog = TimeMedian(
        CREATION_RUNS,
        [&] {
            hDlg = MakeTwentyControlDialog();
            PumpUntilIdle();
        },
        {}, [&] { DestroyWindow(hDlg); });
    if (!hDlg) {
        std::fprintf(stderr, "frame_bench: the reference form could not be made\n");
        return 1;
    }

    // 2. The update passes, against 100 sends.
    pFrame = MakeFrame(app, pTemplate);
    if (!pFrame) {
        std::fprintf(stderr, "frame_bench: the frame could not be made\n");
        return 1;
    }
    std::vector<UINT> commands;
    for (int i = 0; i < COMMANDS; ++i)
        commands.push_back(FIRST_COMMAND + static_cast<UINT>(i));
    pFrame->m_wndWideBar.Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 59500);
    pFrame->m_wndWideBar.SetButtons(commands.data(), COMMANDS);
    CMenu menu;
    menu.CreatePopupMenu();
    for (UINT nID : commands)
        menu.AppendMenu(MF_STRING, nID, "Command");
    const double dIdlePass = TimeMedian(PASS_RUNS,
        [&] { AfxCallWndProc(&pFrame->m_wndWideBar, pFrame->m_wndWideBar.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0); });
    const double dMenuPass = TimeMedian(
        PASS_RUNS, [&] { pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.GetSafeHmenu()), 0); });
    WNDCLASS wc {};
    wc.lpfnWndProc = EchoWndProc;
    wc.lpszClassName = "FrameBenchEcho";
    RegisterClass(&wc);
    HWND hEcho = CreateWindow("FrameBenchEcho", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    WPARAM n = 0;
    const double dSends = TimeMedian(PASS_RUNS, [&] {
        for (int i = 0; i < COMMANDS; ++i)
            n = static_cast<WPARAM>(SendMessage(hEcho, WM_USER, n, 0));
    });
    DestroyWindow(hEcho);
    DestroyFrame(app, pFrame);

    Print("frame_to_first_paint_us", dFrame);
    Print("twenty_control_form_to_first_paint_us", dDialog);
    Print("frame_ratio (goal <= 3)", dFrame / dDialog);
    Print("idle_pass_100_buttons_us", dIdlePass);
    Print("initmenupopup_100_items_us", dMenuPass);
    Print("send_message_100_us", dSends);
    Print("idle_pass_ratio (goal <= 20)", dIdlePass / dSends);
    Print("initmenupopup_ratio (goal <= 20)", dMenuPass / dSends);
    return 0;
}
