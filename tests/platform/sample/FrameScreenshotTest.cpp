// A main frame as the program shows one: a flat toolbar and a status bar with
// key indicators, a dialog bar floating in its small frame, and a maximized
// document frame of three views side by side. Its picture is compared with a
// reference checked by eye.

#include "platform/framework/CMDIFrameWnd.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/CCreateContext.h"
#include "platform/framework/CDialogBar.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CSplitterWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Paint.h"
#include "tests/platform/sample/FrameIds.h"
#include "tests/platform/sample/SampleSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr RECT FRAME_PLACE { 0, 0, 640, 480 };
constexpr POINT FIND_BAR_PLACE { 380, 330 };

class CSampleDoc : public CDocument {
    DECLARE_DYNCREATE(CSampleDoc)
};
IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)

// Each pane fills itself with a colour of its column and names itself.
class CSampleView : public CView {
    DECLARE_DYNCREATE(CSampleView)

public:
    void OnDraw(CDC* pDC) override
    {
        static constexpr COLORREF COLOURS[] = { RGB(255, 255, 255), RGB(245, 245, 220), RGB(230, 240, 250) };
        static constexpr const char* NAMES[] = { "Catalog tree", "Document list", "Preview" };
        const int nColumn = std::clamp(GetDlgCtrlID() - static_cast<int>(AFX_IDW_PANE_FIRST), 0, 2);
        RECT rc {};
        GetClientRect(&rc);
        HBRUSH hbr = CreateSolidBrush(COLOURS[nColumn]);
        FillRect(pDC->GetSafeHdc(), &rc, hbr);
        DeleteObject(hbr);
        SetBkMode(pDC->GetSafeHdc(), TRANSPARENT);
        RECT rcText { rc.left + 8, rc.top + 8, rc.right, rc.bottom };
        DrawText(pDC->GetSafeHdc(), NAMES[nColumn], -1, &rcText, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
};
IMPLEMENT_DYNCREATE(CSampleView, CView)

class CSampleChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CSampleChild)

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        if (!m_splitter.CreateStatic(this, 1, 3))
            return FALSE;
        for (int nColumn = 0; nColumn < 3; ++nColumn) {
            if (!m_splitter.CreateView(0, nColumn, pContext->m_pNewViewClass, CSize(190, 0), pContext))
                return FALSE;
        }
        SetActiveView(static_cast<CView*>(m_splitter.GetPane(0, 0)));
        return TRUE;
    }

    CSplitterWnd m_splitter;
};
IMPLEMENT_DYNCREATE(CSampleChild, CMDIChildWnd)

class CSampleFrame : public CMDIFrameWnd {
    DECLARE_MESSAGE_MAP()

public:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
    CDialogBar m_wndFindBar;

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
            || !m_wndToolBar.LoadToolBar(IDR_SAMPLE_FRAME))
            return -1;
        m_wndToolBar.ModifyStyle(0, TBSTYLE_FLAT);
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        if (!m_wndFindBar.Create(this, IDD_SAMPLE_FIND_BAR, CBRS_TOP | CBRS_TOOLTIPS, IDD_SAMPLE_FIND_BAR))
            return -1;
        m_wndFindBar.SetWindowText("Find");
        FloatControlBar(&m_wndFindBar, CPoint(FIND_BAR_PLACE.x, FIND_BAR_PLACE.y));
        return 0;
    }
    void OnUpdateDocuments(CCmdUI* pCmdUI) { pCmdUI->SetText("1234 documents"); }
    void OnCommand(UINT) { }
};

// clang-format off
BEGIN_MESSAGE_MAP(CSampleFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_UPDATE_COMMAND_UI(ID_PANE_DOCUMENTS, &CSampleFrame::OnUpdateDocuments)
    ON_COMMAND_RANGE(ID_SAMPLE_NEW, ID_SAMPLE_PRINT, &CSampleFrame::OnCommand)
    ON_COMMAND_RANGE(IDC_FIND_NEXT, IDC_FIND_NEXT, &CSampleFrame::OnCommand)
END_MESSAGE_MAP()
// clang-format on

// The part of the screen under rc, in a new bitmap.
HBITMAP ScreenPart(const RECT& rc)
{
    HBITMAP hbmScreen = CaptureWindowImage(nullptr);
    HDC hdcScreen = CreateCompatibleDC(nullptr);
    HGDIOBJ hOldScreen = SelectObject(hdcScreen, hbmScreen);
    HBITMAP hbmPart = CreateBitmap(rc.right - rc.left, rc.bottom - rc.top, 1, 32, nullptr);
    HDC hdcPart = CreateCompatibleDC(nullptr);
    HGDIOBJ hOldPart = SelectObject(hdcPart, hbmPart);
    BitBlt(hdcPart, 0, 0, rc.right - rc.left, rc.bottom - rc.top, hdcScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcPart, hOldPart);
    DeleteDC(hdcPart);
    SelectObject(hdcScreen, hOldScreen);
    DeleteDC(hdcScreen);
    DeleteObject(hbmScreen);
    return hbmPart;
}

} // namespace

TEST(FrameScreenshotTest, AMainFrameWithItsBarsAndAMaximizedDocumentFrame)
{
    TempFolder folder;
    HMODULE hModule = LoadSampleModule("frame.rc", folder);
    ASSERT_NE(hModule, nullptr);
    HINSTANCE hPrevious = AfxGetResourceHandle();
    AfxSetResourceHandle(hModule);
    {
        CTestDriver driver;
        CWinApp app("Sample");
        auto* pFrame = new CSampleFrame;
        ASSERT_TRUE(pFrame->LoadFrame(IDR_SAMPLE_FRAME, WS_OVERLAPPEDWINDOW));
        app.m_pMainWnd = pFrame;
        pFrame->SetWindowPos(nullptr, FRAME_PLACE.left, FRAME_PLACE.top, FRAME_PLACE.right - FRAME_PLACE.left,
            FRAME_PLACE.bottom - FRAME_PLACE.top, SWP_NOZORDER);
        pFrame->ShowWindow(SW_SHOW);
        auto* pTemplate = new CMultiDocTemplate(
            IDR_SAMPLE_DOC, RUNTIME_CLASS(CSampleDoc), RUNTIME_CLASS(CSampleChild), RUNTIME_CLASS(CSampleView));
        app.AddDocTemplate(pTemplate);
        CDocument* pDoc = pTemplate->CreateNewDocument();
        ASSERT_NE(pDoc, nullptr);
        pDoc->SetTitle("Archiv1");
        CFrameWnd* pChild = pTemplate->CreateNewFrame(pDoc, nullptr);
        ASSERT_NE(pChild, nullptr);
        pTemplate->InitialUpdateFrame(pChild, pDoc, TRUE);
        pFrame->MDIMaximize(pChild);
        app.OnIdle(0);
        driver.Pump();
        if (std::optional<std::string> mismatch = PictureMismatch(ScreenPart(FRAME_PLACE), "main_frame.png", folder))
            ADD_FAILURE() << *mismatch;

        app.m_pMainWnd = nullptr;
        pFrame->DestroyWindow();
    }
    AfxSetResourceHandle(hPrevious);
    FreeLibrary(hModule);
}
