// CWnd's calls that return window objects, read dialog items, register
// window classes and show the wait cursor.

#include "platform/framework/CWnd.h"

#include "FrameworkTestSupport.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/controls/ButtonControl.h"
#include "platform/framework/CResourceException.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWinThread.h"

#include "resources/ResourceIds.h"
#include "tests/support/TestData.h"

#include <string>

namespace {

class CWndWrappersTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, Rect(0, 0, 300, 200), nullptr, 0));
    }
    void TearDown() override { CWnd::DeleteTempMap(); }

    // A radio button made by the window layer, without an object.
    HWND AddRadio(int nID, bool bChecked)
    {
        HWND hButton = CreateWindowEx(0, "Button", "", WS_CHILD | BS_RADIOBUTTON, 0, 0, 50, 20, m_parent.m_hWnd,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), nullptr, nullptr);
        if (bChecked)
            SendMessage(hButton, BM_SETCHECK, BST_CHECKED, 0);
        return hButton;
    }

    CWnd m_parent;
};

} // namespace

/***** Objects for handles *****/

TEST_F(CWndWrappersTest, StaticCallsGiveThePermanentObjectOrOneTemporaryPerWindow)
{
    m_parent.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &m_parent);
    EXPECT_EQ(CWnd::GetActiveWindow(), &m_parent);

    HWND hPlain = CreatePlainWindow(m_parent.m_hWnd, 5, WS_VISIBLE);
    CWnd* pOld = CWnd::FromHandle(hPlain)->SetFocus();
    EXPECT_EQ(pOld, &m_parent);
    CWnd* pFocus = CWnd::GetFocus();
    ASSERT_NE(pFocus, nullptr);
    EXPECT_EQ(pFocus->m_hWnd, hPlain);
    // The same temporary object until the thread's idle time frees it.
    EXPECT_EQ(CWnd::GetFocus(), pFocus);
    CWnd::DeleteTempMap();
    EXPECT_EQ(CWnd::GetFocus()->m_hWnd, hPlain);

    // Temporary objects never destroy their windows when they go.
    CWnd::FromHandle(hPlain)->SetCapture();
    EXPECT_EQ(CWnd::GetCapture()->m_hWnd, hPlain);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(hPlain));
    ReleaseCapture();
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    POINT ptChild { 10, 10 }; // the child covers (0, 0)-(100, 50) of the parent's client area
    EXPECT_EQ(m_parent.ChildWindowFromPoint(ptChild)->m_hWnd, hPlain);
    EXPECT_EQ(CWnd::WindowFromPoint(POINT { 250, 150 }), &m_parent);
}

/***** Dialog items *****/

TEST_F(CWndWrappersTest, CheckedRadioButtonIsTheFirstCheckedInTheRange)
{
    AddRadio(10, false);
    AddRadio(11, true);
    AddRadio(12, true);
    AddRadio(20, true);
    EXPECT_EQ(m_parent.GetCheckedRadioButton(10, 12), 11);
    EXPECT_EQ(m_parent.GetCheckedRadioButton(12, 19), 12);
    EXPECT_EQ(m_parent.GetCheckedRadioButton(13, 19), 0); // nothing there
    EXPECT_EQ(m_parent.GetCheckedRadioButton(10, 10), 0);

    m_parent.CheckRadioButton(10, 12, 10);
    EXPECT_EQ(m_parent.GetCheckedRadioButton(10, 12), 10);
    EXPECT_EQ(m_parent.IsDlgButtonChecked(11), BST_UNCHECKED);
    EXPECT_EQ(m_parent.GetCheckedRadioButton(13, 20), 20); // outside the range it was left alone
}

TEST_F(CWndWrappersTest, DialogItemNumbersAndTextsReadBack)
{
    HWND hEdit = CreateWindowEx(0, "Edit", "", WS_CHILD, 0, 0, 80, 20, m_parent.m_hWnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(30)), nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    m_parent.SetDlgItemInt(30, static_cast<UINT>(-42));
    BOOL bTranslated = FALSE;
    EXPECT_EQ(static_cast<int>(m_parent.GetDlgItemInt(30, &bTranslated)), -42); // signed by default
    EXPECT_TRUE(bTranslated);
    m_parent.SetDlgItemText(30, "12abc");
    EXPECT_EQ(m_parent.GetDlgItemInt(30, &bTranslated), 0u);
    EXPECT_FALSE(bTranslated);

    CString strText("stale");
    EXPECT_EQ(m_parent.GetDlgItemText(30, strText), 5);
    EXPECT_STREQ(static_cast<LPCTSTR>(strText), "12abc");
    EXPECT_EQ(m_parent.GetDlgItemText(99, strText), 0); // no such item: empty, not stale
    EXPECT_TRUE(strText.IsEmpty());
}

/***** Scroll bars *****/

TEST_F(CWndWrappersTest, ScrollInfoWorksWithoutTheCallerFillingTheSize)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VSCROLL, Rect(0, 0, 100, 100), nullptr, 0));
    SCROLLINFO si {};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 95; // beyond the last page start: kept within the range
    EXPECT_TRUE(wnd.SetScrollInfo(SB_VERT, &si));
    SCROLLINFO read {};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &read, SIF_POS | SIF_PAGE));
    EXPECT_EQ(read.nPos, 90);
    EXPECT_EQ(read.nPage, 10u);
    EXPECT_FALSE(wnd.SetScrollInfo(SB_CTL, &si)); // a window's own bars only
}

/***** Window classes *****/

TEST_F(CWndWrappersTest, RegisteredClassNamesAreReusedForEqualArguments)
{
    HCURSOR hArrow = LoadCursor(nullptr, IDC_ARROW);
    LPCTSTR pszFirst = AfxRegisterWndClass(CS_DBLCLKS, hArrow);
    LPCTSTR pszAgain = AfxRegisterWndClass(CS_DBLCLKS, hArrow);
    LPCTSTR pszOther = AfxRegisterWndClass(CS_DBLCLKS | CS_SAVEBITS, hArrow);
    EXPECT_EQ(pszFirst, pszAgain);
    EXPECT_STRNE(pszFirst, pszOther);
    EXPECT_STRNE(pszFirst, AfxRegisterWndClass(0));

    WNDCLASS wc {};
    ASSERT_TRUE(GetClassInfo(AfxGetInstanceHandle(), pszFirst, &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(wc.hCursor, hArrow);

    CWnd wnd;
    EXPECT_TRUE(wnd.CreateEx(WS_EX_TOOLWINDOW, pszFirst, "", WS_POPUP, Rect(0, 0, 10, 10), nullptr, 0));
}

TEST(AfxRegisterWndClassDeathTest, FailedRegistrationThrowsAResourceException)
{
    // The atom table is filled in a child process, so that nothing else runs out.
    EXPECT_EXIT(
        {
            for (int i = 0; RegisterWindowMessage(("filler " + std::to_string(i)).c_str()) != 0; ++i) { }
            try {
                AfxRegisterWndClass(CS_HREDRAW);
            } catch (CResourceException* pException) {
                pException->Delete();
                std::exit(3);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(3), "");
}

/***** The wait cursor *****/

TEST_F(CWndWrappersTest, WaitCursorNestsAndPutsBackTheCursorFromBefore)
{
    HCURSOR hWait = LoadCursor(nullptr, IDC_WAIT);
    HCURSOR hBefore = LoadCursor(nullptr, IDC_IBEAM);
    SetCursor(hBefore);
    {
        CWaitCursor outer;
        EXPECT_EQ(GetCursor(), hWait);
        m_parent.BeginWaitCursor();
        m_parent.EndWaitCursor();
        EXPECT_EQ(GetCursor(), hWait); // the outer wait is still on

        // Something else showed its cursor; Restore brings the hourglass back.
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        outer.Restore();
        EXPECT_EQ(GetCursor(), hWait);

        // The program's windows keep the hourglass as the mouse moves over them.
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        EXPECT_TRUE(m_parent.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_parent.m_hWnd), HTCLIENT));
        EXPECT_EQ(GetCursor(), hWait);
    }
    EXPECT_EQ(GetCursor(), hBefore);
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);

    // An end without a begin changes nothing.
    m_parent.EndWaitCursor();
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
    EXPECT_EQ(GetCursor(), hBefore);
    m_parent.RestoreWaitCursor();
    EXPECT_EQ(GetCursor(), hBefore);
}

/***** Resources *****/

TEST(AfxFindResourceHandleTest, FindsTheModuleHoldingTheResourceByItsGroupType)
{
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath((BinaryRoot() / "app" / "arching.dll").string()).c_str());
    ASSERT_NE(hModule, nullptr);
    HINSTANCE hOldResources = AfxGetResourceHandle();
    AfxSetResourceHandle(hModule);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDI_DOCUMENT), RT_GROUP_ICON), hModule);
    // Found nowhere: the resource module still, where the caller's load then fails.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDI_DOCUMENT), RT_MENU), hModule);
    AfxSetResourceHandle(hOldResources);
    FreeLibrary(hModule);
}
