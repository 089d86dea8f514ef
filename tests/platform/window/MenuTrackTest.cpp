#include "platform/window/Menu.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <deque>
#include <functional>

namespace {

constexpr COLORREF OWNER_DRAWN = RGB(0, 200, 0);

// An owner window with the focus, and a script of steps: each time the menu
// loop goes idle (WM_ENTERIDLE), the next step runs; with no step left the
// menu is ended, so that a test never waits for input that does not come.
class MenuTrackTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hOwner = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 50, 50, 300, 200);
        SetActiveWindow(m_hOwner);
        SetFocus(m_hOwner);
        PumpUntilIdle();

        m_hSub = CreatePopupMenu();
        AppendMenu(m_hSub, MF_STRING, 21, "&Inner");
        AppendMenu(m_hSub, MF_STRING, 22, "&Deeper");
        m_hMenu = CreatePopupMenu();
        AppendMenu(m_hMenu, MF_STRING, 1, "&Open");
        AppendMenu(m_hMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenu(m_hMenu, MF_STRING, 2, "&Save\tCtrl+S");
        AppendMenu(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_hSub), "&More");
        AppendMenu(m_hMenu, MF_STRING | MF_GRAYED, 3, "&Print");

        MessageLog::Instance().handler = [this](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT*) {
            if (hWnd == m_hOwner && uMsg == WM_ENTERIDLE && wParam == MSGF_MENU) {
                m_hPopup = reinterpret_cast<HWND>(lParam);
                if (m_steps.empty()) {
                    EndMenu();
                } else {
                    auto step = std::move(m_steps.front());
                    m_steps.pop_front();
                    step();
                }
            }
            if (uMsg == WM_MEASUREITEM) {
                auto* pMeasure = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
                pMeasure->itemWidth = 80;
                pMeasure->itemHeight = 30;
            }
            if (uMsg == WM_DRAWITEM) {
                auto* pDraw = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
                m_draws.push_back(*pDraw);
                HBRUSH hBrush = CreateSolidBrush(OWNER_DRAWN);
                FillRect(pDraw->hDC, &pDraw->rcItem, hBrush);
                DeleteObject(hBrush);
            }
            return false;
        };
        MessageLog::Instance().Take();
    }
    void TearDown() override
    {
        DestroyMenu(m_hMenu);
        WindowTest::TearDown();
    }

    void Then(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    static void Key(UINT nKey)
    {
        InjectKeyEvent(nKey, TRUE);
        InjectKeyEvent(nKey, FALSE);
    }
    // The screen point at the middle of item nItem of nCount items of equal
    // height in the given menu window.
    static POINT ItemPoint(HWND hPopup, int nItem, int nCount)
    {
        RECT rc {};
        GetClientRect(hPopup, &rc);
        POINT pt { rc.right / 2, rc.bottom * (2 * nItem + 1) / (2 * nCount) };
        ClientToScreen(hPopup, &pt);
        return pt;
    }
    static void Click(POINT pt, EMouseButton eButton = EMouseButton::Left)
    {
        InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, pt, 0 });
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, eButton, pt, 0 });
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, eButton, pt, 0 });
    }
    // A menu of three plain items, to click on by position.
    HMENU PlainMenu()
    {
        HMENU hMenu = CreatePopupMenu();
        AppendMenu(hMenu, MF_STRING, 31, "Alpha");
        AppendMenu(hMenu, MF_STRING | MF_GRAYED, 32, "Beta");
        AppendMenu(hMenu, MF_STRING, 33, "Gamma");
        return hMenu;
    }
    std::vector<UINT> Posted(UINT uMsg)
    {
        std::vector<UINT> ids;
        PumpUntilIdle();
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.uMsg == uMsg)
                ids.push_back(LOWORD(message.wParam));
        }
        return ids;
    }

    HWND m_hOwner { nullptr };
    HWND m_hPopup { nullptr };
    HMENU m_hMenu { nullptr };
    HMENU m_hSub { nullptr };
    std::deque<std::function<void()>> m_steps;
    std::vector<DRAWITEMSTRUCT> m_draws;
};

TEST_F(MenuTrackTest, ArrowsSkipSeparatorsAndEnterReturnsTheCommand)
{
    Then([] {
        Key(VK_DOWN); // Open
        Key(VK_DOWN); // Save, past the separator
        Key(VK_RETURN);
    });
    EXPECT_EQ(TrackPopupMenu(m_hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 2);
    EXPECT_TRUE(Posted(WM_COMMAND).empty());
    EXPECT_FALSE(IsWindow(m_hPopup));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MenuTrackTest, UpWrapsToTheLastItem)
{
    Then([] {
        Key(VK_UP); // Print, grayed
        Key(VK_UP); // More
        Key(VK_UP); // Save
        Key(VK_RETURN);
    });
    EXPECT_EQ(TrackPopupMenu(m_hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 2);
}

TEST_F(MenuTrackTest, WithoutReturnCmdTheCommandIsPosted)
{
    Then([] { Key('O'); });
    EXPECT_EQ(TrackPopupMenu(m_hMenu, 0, 100, 100, 0, m_hOwner, nullptr), TRUE);
    EXPECT_EQ(Posted(WM_COMMAND), std::vector<UINT> { 1 });
}

TEST_F(MenuTrackTest, EscapeAndAltCancel)
{
    Then([] { Key(VK_ESCAPE); });
    EXPECT_EQ(TrackPopupMenu(m_hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 0);
    Then([] { Key(VK_MENU); });
    EXPECT_EQ(TrackPopupMenu(m_hMenu, 0, 100, 100, 0, m_hOwner, nullptr), TRUE);
    EXPECT_TRUE(Posted(WM_COMMAND).empty());
}

TEST_F(MenuTrackTest, DisabledItemsAreNotChosen)
{
    Then([] { Key('P'); }); // the grayed Print ends the menu without a command
    EXPECT_EQ(TrackPopupMenu(m_hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 0);

    HMENU hMenu = PlainMenu();
    Then([this] { Click(ItemPoint(m_hPopup, 1, 3)); }); // Beta is grayed: the menu stays
    Then([this] { Click(ItemPoint(m_hPopup, 2, 3)); });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 33);
    DestroyMenu(hMenu);
}

TEST_F(MenuTrackTest, MouseClickChoosesAndClickOutsideCancels)
{
    HMENU hMenu = PlainMenu();
    Then([this] { Click(ItemPoint(m_hPopup, 0, 3)); });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 31);

    Then([] { Click(POINT { 5, 5 }); });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 0);
    DestroyMenu(hMenu);
}

TEST_F(MenuTrackTest, RightButtonChoosesOnlyWithTpmRightButton)
{
    HMENU hMenu = PlainMenu();
    Then([this] { Click(ItemPoint(m_hPopup, 2, 3), EMouseButton::Right); });
    Then([] { Key(VK_ESCAPE); });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 0);

    Then([this] { Click(ItemPoint(m_hPopup, 2, 3), EMouseButton::Right); });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 100, 100, 0, m_hOwner, nullptr), 33);
    DestroyMenu(hMenu);
}

TEST_F(MenuTrackTest, SubmenusCascadeAndCloseWithLeft)
{
    HWND hFirstPopup = nullptr;
    Then([] { Key('M'); }); // opens More with its first item selected
    Then([this, &hFirstPopup] {
        hFirstPopup = m_hPopup;
        Key(VK_LEFT);  // back to the first menu
        Key(VK_RIGHT); // and in again
        Key(VK_DOWN);
        Key(VK_RETURN);
    });
    EXPECT_EQ(TrackPopupMenu(m_hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 22);
    std::vector<LoggedMessage> log = MessageLog::Instance().Take();
    std::vector<std::pair<WPARAM, LPARAM>> initPopups;
    for (const LoggedMessage& message : log) {
        if (message.uMsg == WM_INITMENUPOPUP)
            initPopups.emplace_back(message.wParam, message.lParam);
    }
    std::vector<std::pair<WPARAM, LPARAM>> expected { { reinterpret_cast<WPARAM>(m_hMenu), 0 },
        { reinterpret_cast<WPARAM>(m_hSub), 3 }, { reinterpret_cast<WPARAM>(m_hSub), 3 } };
    EXPECT_EQ(initPopups, expected);
    // Every menu that opened heard of its closing, the first one last.
    std::vector<WPARAM> closed;
    for (const LoggedMessage& message : log) {
        if (message.uMsg == WM_UNINITMENUPOPUP)
            closed.push_back(message.wParam);
    }
    EXPECT_EQ(closed,
        (std::vector<WPARAM> {
            reinterpret_cast<WPARAM>(m_hSub), reinterpret_cast<WPARAM>(m_hSub), reinterpret_cast<WPARAM>(m_hMenu) }));
}

TEST_F(MenuTrackTest, SubmenuOpensWhenTheMouseRestsOnItsItem)
{
    Then([this] {
        // More is the fourth of five items; the separator is shorter, so aim by the item below.
        POINT pt = ItemPoint(m_hPopup, 4, 5);
        pt.y -= 14;
        InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, pt, 0 });
    });
    Then([this] {
        // Two menu windows now: the submenu is the topmost window at the right of the first.
        RECT rcFirst {};
        GetWindowRect(m_hPopup, &rcFirst);
        POINT pt { rcFirst.right + 10, 0 };
        HWND hSubWindow = nullptr;
        for (int y = rcFirst.top; y < rcFirst.bottom + 60 && !hSubWindow; y += 2) {
            pt.y = y;
            HWND hWnd = WindowFromPoint(pt);
            if (hWnd && hWnd != m_hPopup && hWnd != m_hOwner)
                hSubWindow = hWnd;
        }
        ASSERT_NE(hSubWindow, nullptr);
        Click(ItemPoint(hSubWindow, 0, 2));
    });
    EXPECT_EQ(TrackPopupMenu(m_hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 21);
}

TEST_F(MenuTrackTest, OwnerHearsTheMenuLoopInOrder)
{
    Then([] {
        Key(VK_DOWN);
        Key(VK_RETURN);
    });
    TrackPopupMenu(m_hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr);
    std::vector<LoggedMessage> menuMessages;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.hWnd == m_hOwner
            && (message.uMsg == WM_ENTERMENULOOP || message.uMsg == WM_INITMENU || message.uMsg == WM_INITMENUPOPUP
                || message.uMsg == WM_MENUSELECT || message.uMsg == WM_UNINITMENUPOPUP
                || message.uMsg == WM_EXITMENULOOP))
            menuMessages.push_back(message);
    }
    ASSERT_EQ(menuMessages.size(), 7u);
    EXPECT_EQ(menuMessages[0].uMsg, WM_INITMENU); // first, as for a menu bar
    EXPECT_EQ(menuMessages[0].wParam, reinterpret_cast<WPARAM>(m_hMenu));
    EXPECT_EQ(menuMessages[1].uMsg, WM_ENTERMENULOOP);
    EXPECT_EQ(menuMessages[1].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(menuMessages[2].uMsg, WM_INITMENUPOPUP);
    EXPECT_EQ(menuMessages[3].uMsg, WM_MENUSELECT);
    EXPECT_EQ(LOWORD(menuMessages[3].wParam), 1);
    EXPECT_EQ(HIWORD(menuMessages[3].wParam) & MF_HILITE, MF_HILITE);
    EXPECT_EQ(menuMessages[3].lParam, reinterpret_cast<LPARAM>(m_hMenu));
    EXPECT_EQ(menuMessages[4].uMsg, WM_UNINITMENUPOPUP);
    EXPECT_EQ(menuMessages[4].wParam, reinterpret_cast<WPARAM>(m_hMenu));
    EXPECT_EQ(menuMessages[5].uMsg, WM_MENUSELECT); // the menu closes
    EXPECT_EQ(menuMessages[5].wParam, MAKEWPARAM(0, 0xFFFF));
    EXPECT_EQ(menuMessages[5].lParam, 0);
    EXPECT_EQ(menuMessages[6].uMsg, WM_EXITMENULOOP);
}

TEST_F(MenuTrackTest, NoNotifyKeepsTheOwnerQuiet)
{
    // Keys typed before the menu opens wait in the queue for its loop.
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(m_hMenu, TPM_RETURNCMD | TPM_NONOTIFY, 100, 100, 0, m_hOwner, nullptr), 1);
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        EXPECT_NE(message.uMsg, WM_ENTERMENULOOP);
        EXPECT_NE(message.uMsg, WM_INITMENU);
        EXPECT_NE(message.uMsg, WM_INITMENUPOPUP);
        EXPECT_NE(message.uMsg, WM_UNINITMENUPOPUP);
        EXPECT_NE(message.uMsg, WM_MENUSELECT);
        EXPECT_NE(message.uMsg, WM_ENTERIDLE);
    }
}

TEST_F(MenuTrackTest, MnemonicsShareALetterByTakingTurns)
{
    HMENU hMenu = CreatePopupMenu();
    AppendMenu(hMenu, MF_STRING, 41, "&Copy");
    AppendMenu(hMenu, MF_STRING, 42, "&Cut");
    Then([] {
        Key('C');
        Key('C');
        Key(VK_RETURN);
    });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 42);
    DestroyMenu(hMenu);
}

TEST_F(MenuTrackTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner)
{
    HMENU hMenu = CreatePopupMenu();
    AppendMenu(hMenu, MF_OWNERDRAW, 51, reinterpret_cast<LPCTSTR>(0xD1));
    AppendMenu(hMenu, MF_OWNERDRAW | MF_CHECKED, 52, reinterpret_cast<LPCTSTR>(0xD2));
    Then([this] {
        RECT rc {};
        GetClientRect(m_hPopup, &rc);
        // Two items of the measured 80 by 30 (plus the menu's margins).
        EXPECT_GE(rc.right, 80);
        EXPECT_LT(rc.right, 90);
        EXPECT_GE(rc.bottom, 60);
        EXPECT_LT(rc.bottom, 70);
        CCapturedImage image(CaptureWindowImage(m_hPopup));
        EXPECT_EQ(image.At(rc.right / 2, rc.bottom / 4), OWNER_DRAWN);
        Key(VK_DOWN);
    });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 0);
    ASSERT_GE(m_draws.size(), 2u);
    EXPECT_EQ(m_draws[0].CtlType, ODT_MENU);
    EXPECT_EQ(m_draws[0].itemID, 51u);
    EXPECT_EQ(m_draws[0].itemData, 0xD1u);
    EXPECT_EQ(m_draws[0].hwndItem, reinterpret_cast<HWND>(hMenu));
    EXPECT_EQ(m_draws[1].itemState & ODS_CHECKED, ODS_CHECKED);
    // After Down the first item is drawn again, selected.
    EXPECT_EQ(m_draws.back().itemID, 51u);
    EXPECT_EQ(m_draws.back().itemState & ODS_SELECTED, ODS_SELECTED);
    DestroyMenu(hMenu);
}

TEST_F(MenuTrackTest, PaintingShowsSelectionChecksAndColumns)
{
    HMENU hMenu = CreatePopupMenu();
    AppendMenu(hMenu, MF_STRING | MF_CHECKED, 61, "One");
    AppendMenu(hMenu, MF_STRING, 62, "Two");
    AppendMenu(hMenu, MF_STRING | MF_MENUBARBREAK, 63, "Three");
    Then([this] {
        RECT rc {};
        GetClientRect(m_hPopup, &rc);
        // Three is a second column: the menu is about two items tall and two wide.
        EXPECT_GT(rc.right, rc.bottom);
        CCapturedImage image(CaptureWindowImage(m_hPopup));
        // The check mark's column of the first item has text-coloured pixels.
        bool bMark = false;
        for (int x = 3; x < 20; ++x)
            for (int y = 3; y < rc.bottom / 2; ++y)
                bMark = bMark || image.At(x, y) == GetSysColor(COLOR_MENUTEXT);
        EXPECT_TRUE(bMark);
        EXPECT_NE(image.At(rc.right * 3 / 4, rc.bottom / 4), GetSysColor(COLOR_HIGHLIGHT));
        Key(VK_UP); // Three, in the second column
    });
    Then([this] {
        RECT rc {};
        GetClientRect(m_hPopup, &rc);
        CCapturedImage image(CaptureWindowImage(m_hPopup));
        EXPECT_EQ(image.At(rc.right - 4, rc.bottom / 4), GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_NE(image.At(4, rc.bottom / 4), GetSysColor(COLOR_HIGHLIGHT));
        Key(VK_RETURN);
    });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, m_hOwner, nullptr), 63);
    DestroyMenu(hMenu);
}

TEST_F(MenuTrackTest, DefaultItemIsBoldAndAlignmentPlacesTheMenu)
{
    HMENU hMenu = CreatePopupMenu();
    AppendMenu(hMenu, MF_STRING, 71, "Properties of the document");
    LONG cxPlain = 0;
    LONG cxBold = 0;
    Then([&] {
        RECT rc {};
        GetWindowRect(m_hPopup, &rc);
        cxPlain = rc.right - rc.left;
        EXPECT_EQ(rc.right, 400);  // right-aligned at x
        EXPECT_EQ(rc.bottom, 300); // bottom-aligned at y
        EndMenu();
    });
    TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 400, 300, 0, m_hOwner, nullptr);
    SetMenuDefaultItem(hMenu, 71, FALSE);
    Then([&] {
        RECT rc {};
        GetWindowRect(m_hPopup, &rc);
        cxBold = rc.right - rc.left;
        EXPECT_EQ(rc.left, 400);
        EndMenu();
    });
    TrackPopupMenu(hMenu, TPM_RETURNCMD, 400, 300, 0, m_hOwner, nullptr);
    EXPECT_GT(cxBold, cxPlain);
    DestroyMenu(hMenu);
}

TEST_F(MenuTrackTest, BadArgumentsFail)
{
    EXPECT_FALSE(TrackPopupMenu(reinterpret_cast<HMENU>(0x1), 0, 0, 0, 0, m_hOwner, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_FALSE(TrackPopupMenu(m_hMenu, 0, 0, 0, 0, reinterpret_cast<HWND>(0x7777), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    // A second menu cannot open while one is tracked.
    Then([this] {
        EXPECT_FALSE(TrackPopupMenu(m_hSub, 0, 0, 0, 0, m_hOwner, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_POPUP_ALREADY_ACTIVE);
        EndMenu();
    });
    EXPECT_EQ(TrackPopupMenu(m_hMenu, TPM_RETURNCMD, 0, 0, 0, m_hOwner, nullptr), 0);
    EXPECT_FALSE(EndMenu());
}

TEST_F(MenuTrackTest, TheMenuKeepsTheExcludedAreaClear)
{
    // The button the menu drops from, under the point it opens at.
    const RECT rcButton { 100, 100, 180, 130 };
    for (UINT uSide : { TPM_HORIZONTAL, TPM_VERTICAL }) {
        RECT rcPopup {};
        Then([&] {
            GetWindowRect(m_hPopup, &rcPopup);
            EndMenu();
        });
        TPMPARAMS tpm { sizeof(tpm), rcButton };
        TrackPopupMenuEx(m_hMenu, TPM_RETURNCMD | uSide, 110, 110, m_hOwner, &tpm);
        RECT rcOverlap {};
        EXPECT_FALSE(IntersectRect(&rcOverlap, &rcPopup, &rcButton)) << uSide;
        if (uSide == TPM_VERTICAL)
            EXPECT_EQ(rcPopup.top, rcButton.bottom);
        else
            EXPECT_EQ(rcPopup.left, rcButton.right);
    }
    TPMPARAMS bad { 0, rcButton };
    EXPECT_FALSE(TrackPopupMenuEx(m_hMenu, TPM_RETURNCMD, 110, 110, m_hOwner, &bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
