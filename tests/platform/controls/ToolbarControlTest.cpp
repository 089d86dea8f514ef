#include "platform/controls/ToolbarControl.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

namespace {

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF RED = RGB(255, 0, 0);

// A strip of 16 by 15 images, each filled with one colour.
HBITMAP MakeStrip(std::initializer_list<COLORREF> colours)
{
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, 16 * static_cast<int>(colours.size()), 15);
    ReleaseDC(nullptr, hdcScreen);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    int x = 0;
    for (COLORREF colour : colours) {
        RECT rc { x, 0, x + 16, 15 };
        HBRUSH hbr = CreateSolidBrush(colour);
        FillRect(hdc, &rc, hbr);
        DeleteObject(hbr);
        x += 16;
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return hbm;
}

class ToolbarControlTest : public CommonControlTest {
protected:
    // Buttons 101 (image 0), a separator, check button 102 (image 1) and
    // disabled 103 (image 2), flat, in a 300 by 22 toolbar at the parent's top.
    HWND CreateToolbar()
    {
        HWND hToolbar = CreateControl(
            TOOLBARCLASSNAME, "", TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, 0, 300, 22, 5);
        HBITMAP hbm = MakeStrip({ MAGENTA, RED, RED });
        TBADDBITMAP add { nullptr, reinterpret_cast<UINT_PTR>(hbm) };
        EXPECT_EQ(SendMessage(hToolbar, TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&add)), 0);
        EXPECT_EQ(SendMessage(hToolbar, TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&add)), 3);
        DeleteObject(hbm);
        TBBUTTON buttons[] = {
            { 0, 101, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0 },
            { 0, 0, 0, TBSTYLE_SEP, {}, 0, 0 },
            { 1, 102, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0 },
            { 2, 103, 0, TBSTYLE_BUTTON, {}, 0, 0 },
        };
        SendMessage(hToolbar, TB_ADDBUTTONS, 4, reinterpret_cast<LPARAM>(buttons));
        PumpUntilIdle();
        TakeCommands();
        return hToolbar;
    }
    static RECT ItemRect(HWND hToolbar, int nIndex)
    {
        RECT rc {};
        SendMessage(hToolbar, TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    static LRESULT HitTest(HWND hToolbar, int x, int y)
    {
        POINT pt { x, y };
        return SendMessage(hToolbar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt));
    }
};

TEST_F(ToolbarControlTest, CommandsRectanglesAndHitsFollowTheButtonRow)
{
    HWND hToolbar = CreateToolbar();
    EXPECT_EQ(SendMessage(hToolbar, TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessage(hToolbar, TB_COMMANDTOINDEX, 102, 0), 2);
    EXPECT_EQ(SendMessage(hToolbar, TB_COMMANDTOINDEX, 0, 0), -1); // separators name no command
    EXPECT_EQ(SendMessage(hToolbar, TB_COMMANDTOINDEX, 999, 0), -1);

    EXPECT_EQ(ItemRect(hToolbar, 0), (RECT { 0, 0, 24, 22 }));
    EXPECT_EQ(ItemRect(hToolbar, 1), (RECT { 24, 0, 32, 22 }));
    EXPECT_EQ(ItemRect(hToolbar, 2), (RECT { 32, 0, 56, 22 }));
    EXPECT_EQ(HitTest(hToolbar, 40, 10), 2);
    EXPECT_LT(HitTest(hToolbar, 26, 10), 0);
    EXPECT_LT(HitTest(hToolbar, 250, 10), 0);

    SendMessage(hToolbar, TB_HIDEBUTTON, 101, TRUE);
    EXPECT_EQ(ItemRect(hToolbar, 2), (RECT { 8, 0, 32, 22 }));
    EXPECT_EQ(SendMessage(hToolbar, TB_DELETEBUTTON, 0, 0), TRUE);
    EXPECT_EQ(SendMessage(hToolbar, TB_COMMANDTOINDEX, 103, 0), 2);
    EXPECT_EQ(SendMessage(hToolbar, TB_DELETEBUTTON, 7, 0), FALSE);
}

TEST_F(ToolbarControlTest, ChangingOneButtonRepaintsOnlyThatButton)
{
    HWND hToolbar = CreateToolbar();
    const RECT rcButton = ItemRect(hToolbar, 2);
    EXPECT_EQ(WindowPixel(hToolbar, 44, 11), RED);

    TBBUTTONINFO info {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_IMAGE | TBIF_COMMAND;
    info.iImage = 0; // all transparent
    info.idCommand = 202;
    EXPECT_EQ(SendMessage(hToolbar, TB_SETBUTTONINFO, 102, reinterpret_cast<LPARAM>(&info)), TRUE);
    RECT rcUpdate {};
    GetUpdateRect(hToolbar, &rcUpdate, FALSE);
    EXPECT_EQ(rcUpdate, rcButton);
    PumpUntilIdle();
    EXPECT_EQ(WindowPixel(hToolbar, 44, 11), GetSysColor(COLOR_BTNFACE)); // magenta lets the face through

    EXPECT_EQ(SendMessage(hToolbar, TB_COMMANDTOINDEX, 202, 0), 2);
    EXPECT_EQ(SendMessage(hToolbar, TB_COMMANDTOINDEX, 102, 0), -1);
    info.dwMask = TBIF_IMAGE | TBIF_STYLE;
    EXPECT_EQ(SendMessage(hToolbar, TB_GETBUTTONINFO, 202, reinterpret_cast<LPARAM>(&info)), 2);
    EXPECT_EQ(info.iImage, 0);
    EXPECT_EQ(info.fsStyle, TBSTYLE_CHECK);
}

TEST_F(ToolbarControlTest, ClickCommandsOnReleaseOverTheEnabledButton)
{
    HWND hToolbar = CreateToolbar();
    Mouse(hToolbar, EMouseAction::ButtonDown, 10, 10);
    EXPECT_NE(SendMessage(hToolbar, TB_ISBUTTONPRESSED, 101, 0), 0);
    EXPECT_TRUE(TakeCommands().empty());
    Mouse(hToolbar, EMouseAction::ButtonUp, 10, 10);
    EXPECT_EQ(SendMessage(hToolbar, TB_ISBUTTONPRESSED, 101, 0), 0);
    EXPECT_EQ(TakeCommands(), (std::vector<CommandSent> { { 101, 0, hToolbar } }));

    // Released elsewhere: no command, and the button comes back up.
    Mouse(hToolbar, EMouseAction::ButtonDown, 10, 10);
    Mouse(hToolbar, EMouseAction::Move, 40, 10);
    EXPECT_EQ(SendMessage(hToolbar, TB_ISBUTTONPRESSED, 101, 0), 0);
    Mouse(hToolbar, EMouseAction::ButtonUp, 40, 10);
    EXPECT_TRUE(TakeCommands().empty());

    m_clock.Advance(GetDoubleClickTime() + 1);
    Click(hToolbar, 66, 10); // disabled
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(SendMessage(hToolbar, TB_GETSTATE, 103, 0), 0);
}

TEST_F(ToolbarControlTest, FlatButtonRisesWhileTheMouseIsOverIt)
{
    HWND hToolbar = CreateToolbar();
    const RECT rc = ItemRect(hToolbar, 0);
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(WindowPixel(hToolbar, rc.right - 1, rc.bottom - 1), crFace);
    Mouse(hToolbar, EMouseAction::Move, 10, 10);
    EXPECT_EQ(WindowPixel(hToolbar, rc.right - 1, rc.bottom - 1), GetSysColor(COLOR_3DSHADOW));
    Mouse(hToolbar, EMouseAction::Move, 66, 10); // over the disabled button: nothing is hot
    EXPECT_EQ(WindowPixel(hToolbar, rc.right - 1, rc.bottom - 1), crFace);
    Mouse(hToolbar, EMouseAction::Move, 10, 10);
    Mouse(m_hParent, EMouseAction::Move, 200, 200); // out of the toolbar
    EXPECT_EQ(WindowPixel(hToolbar, rc.right - 1, rc.bottom - 1), crFace);
}

TEST_F(ToolbarControlTest, DisabledImageIsEmbossedFromItsMask)
{
    HWND hToolbar = CreateToolbar();
    const RECT rc = ItemRect(hToolbar, 3);
    const int xMiddle = (rc.left + rc.right) / 2;
    const int yMiddle = (rc.top + rc.bottom) / 2;
    EXPECT_EQ(WindowPixel(hToolbar, xMiddle, yMiddle), GetSysColor(COLOR_3DSHADOW));
    SendMessage(hToolbar, TB_ENABLEBUTTON, 103, TRUE);
    PumpUntilIdle();
    EXPECT_EQ(WindowPixel(hToolbar, xMiddle, yMiddle), RED);
}

TEST_F(ToolbarControlTest, CheckButtonTogglesAndTheSetOwnerHearsIt)
{
    HWND hToolbar = CreateToolbar();
    HWND hOwner = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    SendMessage(hToolbar, TB_SETPARENT, reinterpret_cast<WPARAM>(hOwner), 0);
    Click(hToolbar, 40, 10);
    EXPECT_NE(SendMessage(hToolbar, TB_ISBUTTONCHECKED, 102, 0), 0);
    m_clock.Advance(GetDoubleClickTime() + 1);
    Click(hToolbar, 40, 10);
    EXPECT_EQ(SendMessage(hToolbar, TB_ISBUTTONCHECKED, 102, 0), 0);
    int nCommands = 0;
    for (const LoggedMessage& message : MessageLog::Instance().Take())
        nCommands += message.hWnd == hOwner && message.uMsg == WM_COMMAND && LOWORD(message.wParam) == 102;
    EXPECT_EQ(nCommands, 2);
    DestroyWindow(hOwner);
}

TEST_F(ToolbarControlTest, CheckGroupKeepsOneButtonDownByClickOrByMessage)
{
    // A view switch of three buttons, a separator, then a group of two.
    HWND hToolbar = CreateControl(TOOLBARCLASSNAME, "", CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 300, 22, 5);
    TBBUTTON buttons[] = {
        { 0, 201, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECKGROUP, {}, 0, 0 },
        { 0, 202, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP, {}, 0, 0 },
        { 0, 203, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP, {}, 0, 0 },
        { 0, 0, 0, TBSTYLE_SEP, {}, 0, 0 },
        { 0, 301, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECKGROUP, {}, 0, 0 },
        { 0, 302, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP, {}, 0, 0 },
    };
    SendMessage(hToolbar, TB_ADDBUTTONS, 6, reinterpret_cast<LPARAM>(buttons));
    auto Checked = [hToolbar] {
        std::vector<int> commands;
        for (int id : { 201, 202, 203, 301, 302 }) {
            if (SendMessage(hToolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0))
                commands.push_back(id);
        }
        return commands;
    };
    auto ClickButton = [&](int nIndex) {
        const RECT rc = ItemRect(hToolbar, nIndex);
        m_clock.Advance(GetDoubleClickTime() + 1);
        Click(hToolbar, rc.left + 5, rc.top + 5);
    };
    ClickButton(1);
    EXPECT_EQ(Checked(), (std::vector<int> { 202, 301 }));
    ClickButton(1); // the checked one stays down
    EXPECT_EQ(Checked(), (std::vector<int> { 202, 301 }));
    EXPECT_EQ(TakeCommands().size(), 2U) << "each click is a command all the same";
    SendMessage(hToolbar, TB_CHECKBUTTON, 203, TRUE);
    EXPECT_EQ(Checked(), (std::vector<int> { 203, 301 }));
    ClickButton(5);
    EXPECT_EQ(Checked(), (std::vector<int> { 203, 302 })) << "the group beyond the separator is another";
}

TEST_F(ToolbarControlTest, ATooltipsToolbarAsksItsOwnerForEachButtonsTip)
{
    HWND hToolbar
        = CreateControl(TOOLBARCLASSNAME, "", TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 300, 22, 5);
    TBBUTTON buttons[] = {
        { 0, 101, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0 },
        { 0, 0, 0, TBSTYLE_SEP, {}, 0, 0 },
        { 0, 102, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0 },
    };
    SendMessage(hToolbar, TB_ADDBUTTONS, 3, reinterpret_cast<LPARAM>(buttons));
    auto hTip = reinterpret_cast<HWND>(SendMessage(hToolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(hTip, nullptr);
    EXPECT_EQ(SendMessage(hTip, TTM_GETTOOLCOUNT, 0, 0), 2) << "a tool per button";
    std::vector<UINT_PTR> asked;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == TTN_NEEDTEXT && pHdr->hwndFrom == hTip) {
            asked.push_back(pHdr->idFrom);
            lstrcpyn(reinterpret_cast<NMTTDISPINFO*>(pHdr)->szText, "Open a catalog", 80);
        }
        return 0;
    };
    SetActiveWindow(m_hParent);
    const RECT rc = ItemRect(hToolbar, 2);
    Mouse(hToolbar, EMouseAction::Move, rc.left + 5, rc.top + 5);
    m_clock.Advance(GetDoubleClickTime());
    PumpUntilIdle();
    EXPECT_TRUE(IsWindowVisible(hTip)) << "the bar relays its own mouse messages";
    EXPECT_EQ(asked, std::vector<UINT_PTR> { 102 });

    // The tools follow the buttons.
    SendMessage(hToolbar, TB_SETBUTTONSIZE, 0, MAKELONG(40, 30));
    TOOLINFO info { sizeof(TOOLINFO), 0, hToolbar, 102, {}, nullptr, nullptr, 0, nullptr };
    ASSERT_TRUE(SendMessage(hTip, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.rect, ItemRect(hToolbar, 2));
    SendMessage(hToolbar, TB_HIDEBUTTON, 101, TRUE);
    EXPECT_EQ(SendMessage(hTip, TTM_GETTOOLCOUNT, 0, 0), 1);
    DestroyWindow(hToolbar);
    EXPECT_FALSE(IsWindow(hTip)) << "the bar's own tip goes with it";
}

TEST_F(ToolbarControlTest, ABitmapSizeSetAfterTheImagesCutsThemAgain)
{
    // Two 20-pixel images, red then blue, added while the size is still 16.
    HWND hToolbar = CreateControl(TOOLBARCLASSNAME, "", CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 300, 40, 5);
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, 40, 15);
    ReleaseDC(nullptr, hdcScreen);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    for (auto [x, colour] : { std::pair { 0, RED }, std::pair { 20, RGB(0, 0, 255) } }) {
        RECT rcImage { x, 0, x + 20, 15 };
        HBRUSH hbr = CreateSolidBrush(colour);
        FillRect(hdc, &rcImage, hbr);
        DeleteObject(hbr);
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    TBADDBITMAP add { nullptr, reinterpret_cast<UINT_PTR>(hbm) };
    SendMessage(hToolbar, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&add));
    DeleteObject(hbm); // the bar keeps its own copy
    TBBUTTON button { 1, 101, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0 };
    SendMessage(hToolbar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&button));

    EXPECT_TRUE(SendMessage(hToolbar, TB_SETBITMAPSIZE, 0, MAKELONG(20, 15)));
    const RECT rc = ItemRect(hToolbar, 0);
    EXPECT_GE(rc.right - rc.left, 27) << "the button grows around the image";
    PumpUntilIdle();
    const int xImage = rc.left + (rc.right - rc.left - 20) / 2;
    const int yMiddle = (rc.top + rc.bottom) / 2;
    EXPECT_EQ(WindowPixel(hToolbar, xImage, yMiddle), RGB(0, 0, 255)) << "image 1 is the whole blue one";
    EXPECT_EQ(WindowPixel(hToolbar, xImage + 19, yMiddle), RGB(0, 0, 255));
}

} // namespace
