#include "frame/CArchivoraApp.h"

#include "tests/frame/AppTestFixture.h"

#include "frame/AppGlobals.h"
#include "frame/CSingleInstance.h"
#include "frame/DesktopLayout.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"
#include "ui/CUiHostServices.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char PREFERENCES[] = "Default\\Preferences";

// A child of the Desktop key holding one catalog view's place.
void WriteView(int nIndex, RECT rc, DWORD dwStatus)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, CString(DESKTOP_KEY_PATH) + "\\" + ChildKeyName(nIndex)));
    key.SetDWORD("Status", dwStatus);
    CDWordArray position;
    for (LONG nValue : { rc.left, rc.top, rc.right, rc.bottom })
        position.Add(static_cast<DWORD>(nValue));
    key.SetDWordArray("Position", position);
}

RECT NormalPosition(CWnd& wnd)
{
    WINDOWPLACEMENT placement {};
    placement.length = sizeof(placement);
    wnd.GetWindowPlacement(&placement);
    return placement.rcNormalPosition;
}

} // namespace

/***************************** A first start *****************************/

TEST_F(AppTest, AFirstStartSetsUpTheCatalogShowsOneMaximisedViewAndAClickReachesIt)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_prompts.CountOf("wizard"), 1);
    CMainFrame* pMainFrame = MainFrame();
    ASSERT_NE(pMainFrame, nullptr);
    EXPECT_TRUE(pMainFrame->IsWindowVisible());
    EXPECT_TRUE(::IsZoomed(pMainFrame->GetSafeHwnd()));
    BOOL bMaximized = FALSE;
    ASSERT_NE(pMainFrame->MDIGetActive(&bMaximized), nullptr);
    EXPECT_TRUE(bMaximized);
    CSplitterFrame* pView = ActiveView();
    ASSERT_NE(pView, nullptr);
    EXPECT_FALSE(pView->IsPreviewShown());
    // Both start commands ran: the tray icon shows, and the dock state and timers of a normal start are there.
    EXPECT_EQ(CTestDriver::TrayIcons().size(), 1U);

    // The catalog is set up and held open once while the window shows.
    CCatalog* pCatalog = App().GetMainCatalog();
    ASSERT_NE(pCatalog, nullptr);
    EXPECT_EQ(pCatalog->GetOpenCount(), 1);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP, 0);

    // A click on the toolbar's preview button shows the preview.
    CToolBar& toolbar = pMainFrame->GetToolBar();
    RECT rcButton {};
    toolbar.GetItemRect(toolbar.CommandToIndex(ID_VIEW_PREVIEW), &rcButton);
    ASSERT_TRUE(m_driver.Click(
        toolbar.GetSafeHwnd(), (rcButton.left + rcButton.right) / 2, (rcButton.top + rcButton.bottom) / 2));
    EXPECT_TRUE(pView->IsPreviewShown());

    // Exit ends the program, tray icon or not, and keeps the layout.
    Command(ID_APP_EXIT_PROGRAM);
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    EXPECT_EQ(ProductValue("Desktop", "Windows"), 1U);
    EXPECT_GT(ProductValue(CString("Desktop\\") + ChildKeyName(0), "TipViewFrame").value_or(0), 0U);
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
}

TEST_F(AppTest, TheInterfaceKitReachesTheCatalogOfTheRunningApplicationOnly)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    ASSERT_NE(App().GetMainCatalog(), nullptr);
    EXPECT_EQ(GetHostMainCatalog(), App().GetMainCatalog());
    Stop();
    EXPECT_EQ(GetHostMainCatalog(), nullptr);
}

TEST_F(AppTest, AFirstStartWhoseWizardIsCancelledEndsWithNothingLeft)
{
    m_prompts.m_fnWizard = [](CSetupResults&) { return IDCANCEL; };
    EXPECT_FALSE(Start());
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    // The catalog stays as it was: the next start is a first run again.
    Stop();
    m_prompts.m_fnWizard = nullptr;
    EXPECT_TRUE(Start());
    EXPECT_EQ(m_prompts.CountOf("wizard"), 2);
}

TEST_F(AppTest, TheApplicationsProfileIsTheProductKey)
{
    ASSERT_TRUE(Start());
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    EXPECT_TRUE(ProductValue("find", "type").has_value());
    EXPECT_TRUE(ProductValue("lastfind", "type").has_value());
    EXPECT_TRUE(ProductValue("ToolBar-Summary", "Bars").has_value());
}

/***************************** Start modes *****************************/

TEST_F(AppTest, ATrayStartNeedsASetUpCatalogAndTheAutostartWish)
{
    // Not set up: the start ends silently, before any window.
    EXPECT_FALSE(Start({ "-ds" }));
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    EXPECT_EQ(m_prompts.CountOf("wizard"), 0);
    Stop();
    // Set up, but the user did not ask to start with the session.
    WriteCatalog();
    EXPECT_FALSE(Start({ "/DS" }));
    Stop();

    SetProductValue(PREFERENCES, "DSAutoIniciar", 1);
    ASSERT_TRUE(Start({ "/DS" }));
    CMainFrame* pMainFrame = MainFrame();
    ASSERT_NE(pMainFrame, nullptr);
    EXPECT_FALSE(pMainFrame->IsWindowVisible());
    EXPECT_EQ(App().GetMainCatalog()->GetOpenCount(), 0);
    ASSERT_EQ(CTestDriver::TrayIcons().size(), 1U);

    // A double click on the tray icon brings the window back, with the catalog open.
    const CTrayIcon icon = CTestDriver::TrayIcons().front();
    ASSERT_TRUE(m_driver.ClickTrayIcon(icon.hWnd, icon.uID, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(pMainFrame->IsWindowVisible());
    EXPECT_EQ(App().GetMainCatalog()->GetOpenCount(), 1);
}

TEST_F(AppTest, AWindowOnlyStartShowsNoTrayIcon)
{
    WriteCatalog();
    ASSERT_TRUE(Start({ "-ds-" }));
    EXPECT_TRUE(MainFrame()->IsWindowVisible());
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
}

/***************************** Restoring the views *****************************/

TEST_F(AppTest, ThreeSavedViewsComeBackWithTheSecondActive)
{
    WriteCatalog();
    SetProductValue("Desktop", "Windows", 3);
    SetProductValue("Desktop", "ActiveFrame", 1);
    const RECT places[] = { { 0, 0, 300, 200 }, { 10, 10, 310, 210 }, { 20, 20, 320, 220 } };
    for (int i = 0; i < 3; ++i)
        WriteView(i, places[i], SW_SHOWNORMAL);
    ASSERT_TRUE(Start());
    const std::vector<CSplitterFrame*> views = Views();
    ASSERT_EQ(views.size(), 3U);
    ASSERT_NE(ActiveView(), nullptr);
    const RECT rcActive = NormalPosition(*ActiveView());
    EXPECT_EQ(rcActive.left, places[1].left);
    EXPECT_EQ(rcActive.top, places[1].top);
    BOOL bMaximized = FALSE;
    MainFrame()->MDIGetActive(&bMaximized);
    EXPECT_TRUE(bMaximized);
}

TEST_F(AppTest, ADamagedCountRestoresOnlyTheViewsThatWereKept)
{
    WriteCatalog();
    SetProductValue("Desktop", "Windows", 70000);
    SetProductValue("Desktop", "ActiveFrame", 12);
    WriteView(0, { 0, 0, 300, 200 }, SW_SHOWNORMAL);
    WriteView(1, { 10, 10, 310, 210 }, SW_SHOWNORMAL);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Views().size(), 2U);
    // An active index naming no view activates the last one made.
    ASSERT_NE(ActiveView(), nullptr);
    EXPECT_EQ(NormalPosition(*ActiveView()).left, 10);
}

TEST_F(AppTest, WithoutSavedViewsTheShellCommandMakesOne)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Views().size(), 1U);
    EXPECT_EQ(m_prompts.CountOf("wizard"), 0);
}

/***************************** Failures and other instances *****************************/

TEST_F(AppTest, AnUncleanEndOfTheLastRunOffersARestore)
{
    WriteCatalog();
    // The recycle bin's file is no catalog, so the check after the unclean end fails.
    std::ofstream(Home() / "winrec.cat", std::ios::trunc) << "not a catalog";
    SetProductValue("Backup", "MonitorApp", 1);
    // The user is told which file failed, then offered the restore.
    CShownMessage shown;
    ReadNextMessageBox(&shown);
    ASSERT_TRUE(Start());
    EXPECT_EQ(shown.strCaption, "Fatal Error");
    EXPECT_NE(shown.strText.Find("winrec.cat"), -1) << shown.strText;
    EXPECT_EQ(m_prompts.CountOf("offer recovery"), 1);
    // The flag is set for this run and cleared by a clean end.
    EXPECT_EQ(ProductValue("Backup", "MonitorApp"), 1U);
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    EXPECT_FALSE(ProductValue("Backup", "MonitorApp").has_value());
}

TEST_F(AppTest, AStartWhoseMainWindowCannotBeMadeEndsWithNoWindowLeft)
{
    // A resource module with the program's name but nothing to make its window of.
    const auto script = Home() / "names.rc";
    std::ofstream(script) << "STRINGTABLE\nBEGIN\n    127 \"Archivora Plus\"\n    57344 \"Archivora Plus\"\nEND\n";
    const auto module = Home() / "modules" / "arching.dll";
    std::filesystem::create_directories(module.parent_path());
    const std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '" + module.string()
        + "' '" + script.string() + "'";
    ASSERT_EQ(std::system(strCommand.c_str()), 0);
    setenv("ARCHIVORA_MODULE_PATH", module.parent_path().c_str(), 1);

    WriteCatalog();
    EXPECT_FALSE(Start());
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    EXPECT_EQ(FindWindowEx(nullptr, nullptr, "Archivora Plus Class", nullptr), nullptr);
}

TEST_F(AppTest, ASecondStartHandsItsSwitchesToTheRunningInstance)
{
    int fdReport[2];
    ASSERT_EQ(pipe(fdReport), 0);
    // The running instance: the program's window class, reporting the commands it gets.
    const pid_t pidFirst = fork();
    if (pidFirst == 0) {
        static int s_fdWrite;
        s_fdWrite = fdReport[1];
        CSingleInstance guard;
        if (!guard.Register("Archivora Plus"))
            _exit(2);
        HWND hWnd = CreateWindowEx(
            0, "Archivora Plus Class", "Main", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
        SetWindowLongPtr(hWnd, GWLP_WNDPROC,
            reinterpret_cast<LONG_PTR>(+[](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {
                if (uMsg != WM_COMMAND)
                    return DefWindowProc(hWnd, uMsg, wParam, lParam);
                const UINT nID = LOWORD(wParam);
                (void)!write(s_fdWrite, &nID, sizeof(nID));
                return 0;
            }));
        const UINT nReady = 1;
        (void)!write(s_fdWrite, &nReady, sizeof(nReady));
        MSG msg;
        while (GetMessage(&msg, nullptr, 0, 0) > 0)
            DispatchMessage(&msg);
        _exit(0);
    }
    // Only the child writes: a child that ends early ends the reads below too.
    close(fdReport[1]);
    UINT nReady = 0;
    ASSERT_EQ(read(fdReport[0], &nReady, sizeof(nReady)), static_cast<ssize_t>(sizeof(nReady)));

    EXPECT_FALSE(Start({ "-ds" }));
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    Stop();
    EXPECT_FALSE(Start());
    Stop();
    UINT nIDs[3] {};
    EXPECT_EQ(read(fdReport[0], nIDs, sizeof(nIDs)), static_cast<ssize_t>(sizeof(nIDs)));
    EXPECT_EQ(nIDs[0], static_cast<UINT>(ID_TRAY_START));
    EXPECT_EQ(nIDs[1], static_cast<UINT>(ID_TRAY_START));
    EXPECT_EQ(nIDs[2], static_cast<UINT>(ID_SHOW_MAIN_WINDOW));

    kill(pidFirst, SIGKILL);
    waitpid(pidFirst, nullptr, 0);
    close(fdReport[0]);
}

/***************************** The end *****************************/

TEST_F(AppTest, TheEndOfTheSessionSavesTheLayoutAndEndsCleanly)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    App().EndSession();
    m_driver.Pump();
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    EXPECT_EQ(ProductValue("Desktop", "Windows"), 1U);
    EXPECT_FALSE(ProductValue("Backup", "MonitorApp").has_value());
}
