#pragma once

// A frame with the bars a main frame has, for the control-bar tests: a
// toolbar from a TOOLBAR resource, a status bar with key indicators and a
// dialog bar along the right edge, made from a resource module compiled once
// per test program. Its update handlers follow members the tests set.

#include "FrameworkTestSupport.h"

#include "platform/framework/CDialogBar.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"
#include "platform/framework/CWinApp.h"

// clang-format off
/* Resource IDs of the bar module. */
constexpr UINT IDR_BAR_TOOLBAR  = 200; // buttons ID_BAR_OPEN, ID_BAR_SAVE, separator, ID_BAR_PRINT, ID_BAR_FIND
constexpr UINT IDD_BAR_DIALOG   = 300; // a push button, a check box, a handled button, a button the bar updates
constexpr UINT IDR_NO_BITMAP    = 201; // a toolbar whose bitmap is missing
constexpr UINT IDD_HELP_DIALOG  = 310; // a modal dialog with one button
constexpr UINT ID_BAR_OPEN      = 601; // strings "Open a file\nOpen" and so on
constexpr UINT ID_BAR_SAVE      = 602;
constexpr UINT ID_BAR_PRINT     = 603; // no handler anywhere
constexpr UINT ID_BAR_FIND      = 604; // a command handler only
constexpr UINT IDC_BAR_UNHANDLED = 701;
constexpr UINT IDC_BAR_CHECK     = 702;
constexpr UINT IDC_BAR_HANDLED   = 703;
constexpr UINT IDC_BAR_OWN       = 704; // enabled by the bar's own entry, disabled by the frame's
constexpr UINT ID_PANE_CATALOG   = 45000;
constexpr UINT ID_VIEW_DIALOGBAR = 605; // shows or hides the dialog bar, checked while it shows
// clang-format on

// Makes the bar module the current resource module for the object's life.
class CBarResources {
public:
    CBarResources();
    ~CBarResources();
    CBarResources(const CBarResources&) = delete;
    CBarResources& operator=(const CBarResources&) = delete;

    // The colour of image i of the toolbar's bitmap.
    static COLORREF ImageColour(int i);

private:
    HINSTANCE m_hPrevious;
};

// A dialog bar that keeps IDC_BAR_OWN enabled whatever the frame says.
class CTestDialogBar : public CDialogBar {
    DECLARE_MESSAGE_MAP()

public:
    void OnUpdateOwn(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
};

class CBarFrame : public CFrameWnd {
    DECLARE_MESSAGE_MAP()

public:
    // Makes the frame at (100, 100), 640 by 480, with its bars and a pane.
    static CBarFrame* Make(CWinApp& app);

    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
    CTestDialogBar m_wndDialogBar;
    CWnd m_wndPane;

    BOOL m_bOpenEnabled { TRUE };
    int m_nSaveCheck { 0 };
    CString m_strCatalogPane { "Catalog" };
    std::vector<UINT> m_commands; // the commands that reached the frame
    std::vector<std::pair<DWORD_PTR, UINT>> m_helpRequests;

    void WinHelp(DWORD_PTR dwData, UINT nCmd) override { m_helpRequests.emplace_back(dwData, nCmd); }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnCommandAny(UINT nID);
    void OnUpdateOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bOpenEnabled); }
    void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nSaveCheck); }
    void OnUpdateCatalogPane(CCmdUI* pCmdUI) { pCmdUI->SetText(m_strCatalogPane); }
    void OnUpdateOwn(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnViewDialogBar() { ShowControlBar(&m_wndDialogBar, !m_wndDialogBar.IsWindowVisible(), FALSE); }
    void OnUpdateViewDialogBar(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_wndDialogBar.IsWindowVisible()); }
};

// A window's rectangle in its parent's client coordinates (screen for top-level windows).
RECT PlaceOf(HWND hWnd);
