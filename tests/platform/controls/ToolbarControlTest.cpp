#include "platform/controls/ToolbarControl.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/SysColors.h"
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

} // namespace
