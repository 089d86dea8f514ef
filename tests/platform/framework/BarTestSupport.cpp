#include "BarTestSupport.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <cstdlib>
#include <string>

namespace {

constexpr int IMAGE_COUNT = 4;
constexpr int IMAGE_WIDTH = 16;
constexpr int IMAGE_HEIGHT = 15;

constexpr const char* BAR_SCRIPT = R"(
200 TOOLBAR 16, 15
BEGIN
    BUTTON 601
    BUTTON 602
    SEPARATOR
    BUTTON 603
    BUTTON 604
END
200 BITMAP "strip.png"

201 TOOLBAR 16, 15
BEGIN
    BUTTON 601
END

300 DIALOGEX 0, 0, 60, 100
STYLE WS_CHILD
FONT 8, "MS Shell Dlg"
BEGIN
    PUSHBUTTON      "Unhandled", 701, 4, 4, 52, 14
    AUTOCHECKBOX    "Check", 702, 4, 22, 52, 10
    PUSHBUTTON      "Handled", 703, 4, 36, 52, 14
    PUSHBUTTON      "Own", 704, 4, 54, 52, 14
    LTEXT           "Label", -1, 4, 72, 52, 8
END

310 DIALOGEX 0, 0, 100, 40
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Help"
FONT 8, "MS Shell Dlg"
BEGIN
    PUSHBUTTON      "OK", 1, 4, 4, 50, 14
END

STRINGTABLE
BEGIN
    601     "Open a file\nOpen"
    602     "Save the file\nSave"
    603     "Print the file\nPrint"
    604     "Find a file\nFind"
    703     "Run the handled command\nHandled"
    45000   "Catalog pane"
    57345   "Ready"
    59137   "CAP"
    59138   "NUM"
    59139   "SCRL"
END
)";

// The module, compiled once per test program into a folder kept until it ends.
HMODULE BarModule()
{
    static TempFolder folder;
    static HMODULE hModule = [] {
        HDC hdc = CreateCompatibleDC(nullptr);
        HBITMAP hbm = CreateBitmap(IMAGE_COUNT * IMAGE_WIDTH, IMAGE_HEIGHT, 1, 32, nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        for (int i = 0; i < IMAGE_COUNT; ++i) {
            const RECT rc { i * IMAGE_WIDTH, 0, (i + 1) * IMAGE_WIDTH, IMAGE_HEIGHT };
            HBRUSH hbr = CreateSolidBrush(CBarResources::ImageColour(i));
            FillRect(hdc, &rc, hbr);
            DeleteObject(hbr);
        }
        SaveDcAsPng(hdc, ProgramPathFromHostPath((folder / "strip.png").string()).c_str());
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hbm);
        folder.WriteFile("bars.rc", BAR_SCRIPT);
        const auto module = folder / "bars.dll";
        const std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '"
            + module.string() + "' '" + (folder / "bars.rc").string() + "'";
        if (std::system(strCommand.c_str()) != 0)
            return static_cast<HMODULE>(nullptr);
        return LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
    }();
    return hModule;
}

} // namespace

CBarResources::CBarResources()
    : m_hPrevious(AfxGetResourceHandle())
{
    HMODULE hModule = BarModule();
    EXPECT_NE(hModule, nullptr);
    AfxSetResourceHandle(hModule);
}

CBarResources::~CBarResources()
{
    AfxSetResourceHandle(m_hPrevious);
}

COLORREF CBarResources::ImageColour(int i)
{
    static constexpr COLORREF COLOURS[IMAGE_COUNT]
        = { RGB(200, 0, 0), RGB(0, 150, 0), RGB(0, 0, 200), RGB(200, 200, 0) };
    return COLOURS[i];
}

// clang-format off
BEGIN_MESSAGE_MAP(CTestDialogBar, CDialogBar)
    ON_UPDATE_COMMAND_UI(IDC_BAR_OWN, &CTestDialogBar::OnUpdateOwn)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND_EX(ID_BAR_OPEN, &CBarFrame::OnCommandAny)
    ON_COMMAND_EX(ID_BAR_FIND, &CBarFrame::OnCommandAny)
    ON_COMMAND_EX(IDC_BAR_HANDLED, &CBarFrame::OnCommandAny)
    ON_UPDATE_COMMAND_UI(ID_BAR_OPEN, &CBarFrame::OnUpdateOpen)
    ON_UPDATE_COMMAND_UI(ID_BAR_SAVE, &CBarFrame::OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_PANE_CATALOG, &CBarFrame::OnUpdateCatalogPane)
    ON_UPDATE_COMMAND_UI(IDC_BAR_OWN, &CBarFrame::OnUpdateOwn)
    ON_COMMAND(ID_VIEW_DIALOGBAR, &CBarFrame::OnViewDialogBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DIALOGBAR, &CBarFrame::OnUpdateViewDialogBar)
END_MESSAGE_MAP()
// clang-format on

CBarFrame* CBarFrame::Make(CWinApp& app)
{
    auto* pFrame = new CBarFrame;
    if (!pFrame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT { 100, 100, 740, 580 }))
        return nullptr;
    app.m_pMainWnd = pFrame;
    return pFrame;
}

int CBarFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    static constexpr UINT INDICATORS[]
        = { ID_SEPARATOR, ID_PANE_CATALOG, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL };
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(INDICATORS, 5))
        return -1;
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY)
        || !m_wndToolBar.LoadToolBar(IDR_BAR_TOOLBAR))
        return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    if (!m_wndDialogBar.Create(this, IDD_BAR_DIALOG, CBRS_RIGHT | CBRS_TOOLTIPS | CBRS_FLYBY, IDD_BAR_DIALOG))
        return -1;
    if (!m_wndPane.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, RECT {}, this, AFX_IDW_PANE_FIRST))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CBarFrame::OnCommandAny(UINT nID)
{
    m_commands.push_back(nID);
    return TRUE;
}

RECT PlaceOf(HWND hWnd)
{
    RECT rc {};
    GetWindowRect(hWnd, &rc);
    if (GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(hWnd), reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}
