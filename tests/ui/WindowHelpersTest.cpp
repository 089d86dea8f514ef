#include "ui/WindowHelpers.h"

#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* LOG_CLASS = "WindowHelpersTestWindow";
constexpr UINT WM_NOTE = WM_USER + 1;   // logs its wParam
constexpr UINT WM_REPOST = WM_USER + 2; // posts itself again

std::vector<WPARAM>& Notes()
{
    static std::vector<WPARAM> notes;
    return notes;
}

LRESULT CALLBACK LogWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NOTE)
        Notes().push_back(wParam);
    if (uMsg == WM_REPOST)
        PostMessage(hWnd, WM_REPOST, 0, 0);
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

class WindowHelpersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Notes().clear();
        WNDCLASS wc {};
        if (!GetClassInfo(nullptr, LOG_CLASS, &wc)) {
            wc.lpfnWndProc = LogWndProc;
            wc.lpszClassName = LOG_CLASS;
            ASSERT_NE(RegisterClass(&wc), 0);
        }
        AfxSetThread(&m_thread);
    }
    void TearDown() override
    {
        AfxSetThread(nullptr);
        for (CWnd* pWnd : { &m_child, &m_dialog, &m_other, &m_main })
            pWnd->DestroyWindow();
    }

    static void Create(CWnd& wnd, RECT rc, CWnd* pParent = nullptr)
    {
        HWND hWnd = CreateWindowEx(0, LOG_CLASS, "", (pParent ? WS_CHILD : WS_POPUP) | WS_VISIBLE, rc.left, rc.top,
            rc.right - rc.left, rc.bottom - rc.top, pParent ? pParent->GetSafeHwnd() : nullptr, nullptr, nullptr,
            nullptr);
        ASSERT_NE(hWnd, nullptr);
        ASSERT_TRUE(wnd.Attach(hWnd));
    }
    static RECT WindowRect(const CWnd& wnd)
    {
        RECT rc {};
        GetWindowRect(wnd.GetSafeHwnd(), &rc);
        return rc;
    }
    // Whether a message for hWnd (and its children) still waits.
    static bool Waiting(HWND hWnd)
    {
        MSG msg;
        return PeekMessage(&msg, hWnd, 0, 0, PM_NOREMOVE) != FALSE;
    }

    CWinThread m_thread;
    CWnd m_main, m_dialog, m_child, m_other;
};

TEST_F(WindowHelpersTest, PumpMessagesServesTheWindowAndItsChildrenOnly)
{
    Create(m_dialog, { 0, 0, 200, 100 });
    Create(m_child, { 10, 10, 50, 30 }, &m_dialog);
    Create(m_other, { 300, 0, 400, 100 });
    PostMessage(m_dialog.GetSafeHwnd(), WM_NOTE, 1, 0);
    PostMessage(m_other.GetSafeHwnd(), WM_NOTE, 2, 0);
    PostMessage(m_child.GetSafeHwnd(), WM_NOTE, 3, 0);

    PumpMessages(&m_dialog);
    EXPECT_EQ(Notes(), (std::vector<WPARAM> { 1, 3 }));
    EXPECT_TRUE(Waiting(m_other.GetSafeHwnd()));

    PumpMessages(nullptr);
    EXPECT_EQ(Notes(), (std::vector<WPARAM> { 1, 3, 2 }));
    EXPECT_FALSE(Waiting(nullptr));
}

TEST_F(WindowHelpersTest, PumpMessagesPaintsTheMainWindowAndLeavesQuitForTheLoop)
{
    Create(m_main, { 0, 0, 100, 100 });
    Create(m_dialog, { 20, 20, 80, 80 });
    m_thread.m_pMainWnd = &m_main;
    PumpMessages(nullptr); // the first paints of both windows
    InvalidateRect(m_main.GetSafeHwnd(), nullptr, TRUE);
    PostQuitMessage(7);

    PumpMessages(&m_dialog);
    RECT rcUpdate {};
    EXPECT_FALSE(GetUpdateRect(m_main.GetSafeHwnd(), &rcUpdate, FALSE)) << "the main window was painted";
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    m_thread.m_pMainWnd = nullptr;
}

TEST_F(WindowHelpersTest, PumpMessagesEndsWithAWindowThatKeepsPostingToItself)
{
    Create(m_dialog, { 0, 0, 100, 100 });
    PostMessage(m_dialog.GetSafeHwnd(), WM_REPOST, 0, 0);
    PumpMessages(&m_dialog);
    EXPECT_TRUE(Waiting(m_dialog.GetSafeHwnd()));
    // A window object without a window has nothing to pump.
    CWnd none;
    PumpMessages(&none);
}

TEST_F(WindowHelpersTest, CenterWindowOnPutsTheCentresTogetherKeepingTheSize)
{
    Create(m_main, { 100, 100, 400, 300 });
    Create(m_dialog, { 0, 0, 100, 50 });
    CenterWindowOn(&m_dialog, &m_main);
    RECT rc = WindowRect(m_dialog);
    EXPECT_EQ(rc.left, 200);
    EXPECT_EQ(rc.top, 175);
    EXPECT_EQ(rc.right - rc.left, 100);
    EXPECT_EQ(rc.bottom - rc.top, 50);

    // A child is placed in its parent's coordinates, over the given window's centre on the screen.
    Create(m_child, { 0, 0, 20, 10 }, &m_main);
    CenterWindowOn(&m_child, &m_dialog);
    rc = WindowRect(m_child);
    EXPECT_EQ(rc.left, 240);
    EXPECT_EQ(rc.top, 195);
}

TEST_F(WindowHelpersTest, CenterWindowOnTheDesktopWithoutAReference)
{
    Create(m_dialog, { 0, 0, 100, 50 });
    RECT rcDesktop {};
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &rcDesktop));
    CWnd none;
    for (CWnd* pReference : { static_cast<CWnd*>(nullptr), &none }) {
        MoveWindow(m_dialog.GetSafeHwnd(), 0, 0, 100, 50, FALSE);
        CenterWindowOn(&m_dialog, pReference);
        RECT rc = WindowRect(m_dialog);
        EXPECT_EQ(rc.left, rcDesktop.left + (rcDesktop.right - rcDesktop.left - 100) / 2);
        EXPECT_EQ(rc.top, rcDesktop.top + (rcDesktop.bottom - rcDesktop.top - 50) / 2);
    }
    CenterWindowOn(nullptr, &m_dialog); // nothing to move
}

}
