#include "platform/controls/ButtonControl.h"

#include "platform/base/WinError.h"
#include "platform/controls/StaticControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/ControlTestSupport.h"

namespace {

class ButtonControlTest : public ControlTest {
protected:
    HWND CreateButton(DWORD dwStyle, UINT nId, int y = 10, LPCSTR lpszText = "Button")
    {
        return CreateControl("Button", lpszText, dwStyle, 10, y, 100, 24, nId);
    }
    static LRESULT Check(HWND hButton) { return SendMessage(hButton, BM_GETCHECK, 0, 0); }
    // Clicks far enough apart in time not to make a double click.
    void SeparateClick(HWND hButton)
    {
        m_clock.Advance(5000);
        Click(hButton);
    }
};

/***** Clicking with the mouse *****/

TEST_F(ButtonControlTest, ClickSendsClickedWithTheControlId)
{
    HWND hButton = CreateButton(BS_PUSHBUTTON, 101);
    TakeCommands();
    Click(hButton);
    std::vector<CommandSent> expected { { 101, BN_CLICKED, hButton } };
    EXPECT_EQ(TakeCommands(), expected);
    EXPECT_EQ(GetFocus(), hButton);
}

TEST_F(ButtonControlTest, PushFollowsTheMouseAndReleasingOutsideDoesNotClick)
{
    HWND hButton = CreateButton(BS_PUSHBUTTON, 101);
    TakeCommands();
    Mouse(hButton, EMouseAction::ButtonDown, 5, 5);
    EXPECT_TRUE(SendMessage(hButton, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(GetCapture(), hButton);
    Mouse(hButton, EMouseAction::Move, 150, 5);
    EXPECT_FALSE(SendMessage(hButton, BM_GETSTATE, 0, 0) & BST_PUSHED);
    Mouse(hButton, EMouseAction::Move, 6, 6);
    EXPECT_TRUE(SendMessage(hButton, BM_GETSTATE, 0, 0) & BST_PUSHED);
    Mouse(hButton, EMouseAction::Move, 150, 5);
    Mouse(hButton, EMouseAction::ButtonUp, 150, 5);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(ButtonControlTest, DisabledButtonIgnoresClicks)
{
    HWND hButton = CreateButton(BS_AUTOCHECKBOX | WS_DISABLED, 101);
    TakeCommands();
    Click(hButton);
    SendMessage(hButton, BM_CLICK, 0, 0);
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(Check(hButton), BST_UNCHECKED);
}

TEST_F(ButtonControlTest, GroupBoxLetsClicksThroughToItsParent)
{
    HWND hGroup = CreateControl("Button", "Group", BS_GROUPBOX, 10, 10, 200, 100, 100);
    TakeCommands();
    Click(hGroup, 50, 50);
    auto messages = MessageLog::Instance().TakeMessages({ WM_LBUTTONDOWN, WM_COMMAND });
    std::vector<std::pair<HWND, UINT>> expected { { m_hParent, WM_LBUTTONDOWN } };
    EXPECT_EQ(messages, expected);
}

/***** Check states *****/

TEST_F(ButtonControlTest, AutomaticKindsChangeTheirCheckOnEachClick)
{
    HWND hCheck = CreateButton(BS_AUTOCHECKBOX, 101, 10);
    HWND hThree = CreateButton(BS_AUTO3STATE, 102, 40);
    HWND hManual = CreateButton(BS_CHECKBOX, 103, 70);
    std::vector<LRESULT> checks, threes;
    for (int i = 0; i < 3; ++i) {
        SeparateClick(hCheck);
        checks.push_back(Check(hCheck));
        SeparateClick(hThree);
        threes.push_back(Check(hThree));
    }
    EXPECT_EQ(checks, (std::vector<LRESULT> { BST_CHECKED, BST_UNCHECKED, BST_CHECKED }));
    EXPECT_EQ(threes, (std::vector<LRESULT> { BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED }));

    TakeCommands();
    SeparateClick(hManual);
    EXPECT_EQ(Check(hManual), BST_UNCHECKED);
    std::vector<CommandSent> expected { { 103, BN_CLICKED, hManual } };
    EXPECT_EQ(TakeCommands(), expected);
}

TEST_F(ButtonControlTest, SetCheckKeepsToTheStatesOfTheKind)
{
    HWND hPush = CreateButton(BS_PUSHBUTTON, 101, 10);
    HWND hCheck = CreateButton(BS_CHECKBOX, 102, 40);
    HWND hThree = CreateButton(BS_3STATE, 103, 70);
    for (HWND hButton : { hPush, hCheck, hThree })
        SendMessage(hButton, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(Check(hPush), BST_UNCHECKED);
    EXPECT_EQ(Check(hCheck), BST_CHECKED);
    EXPECT_EQ(Check(hThree), BST_INDETERMINATE);
    EXPECT_EQ(SendMessage(hThree, BM_GETSTATE, 0, 0), BST_INDETERMINATE);
}

TEST_F(ButtonControlTest, AutoRadioButtonUnchecksTheOthersOfItsGroupOnly)
{
    HWND hFirst = CreateButton(BS_AUTORADIOBUTTON | WS_GROUP, 101, 10);
    HWND hSecond = CreateButton(BS_AUTORADIOBUTTON, 102, 40);
    HWND hLabel = CreateControl("Static", "label", SS_LEFT, 150, 10, 50, 20, 103);
    HWND hThird = CreateButton(BS_AUTORADIOBUTTON, 104, 70);
    HWND hOther = CreateButton(BS_AUTORADIOBUTTON | WS_GROUP, 105, 100);
    Order({ hFirst, hSecond, hLabel, hThird, hOther });
    SendMessage(hFirst, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(hOther, BM_SETCHECK, BST_CHECKED, 0);
    TakeCommands();

    Click(hThird);
    EXPECT_EQ(Check(hThird), BST_CHECKED);
    EXPECT_EQ(Check(hFirst), BST_UNCHECKED);
    EXPECT_EQ(Check(hOther), BST_CHECKED);
    SeparateClick(hSecond);
    EXPECT_EQ(Check(hSecond), BST_CHECKED);
    EXPECT_EQ(Check(hThird), BST_UNCHECKED);
    std::vector<CommandSent> expected { { 104, BN_CLICKED, hThird }, { 102, BN_CLICKED, hSecond } };
    EXPECT_EQ(TakeCommands(), expected);
}

/***** Double clicks, keyboard and BM_CLICK *****/

TEST_F(ButtonControlTest, RadioReportsDoubleClicksAndPushButtonTakesThemAsClicks)
{
    HWND hRadio = CreateButton(BS_AUTORADIOBUTTON, 101, 10);
    HWND hPush = CreateButton(BS_PUSHBUTTON, 102, 40);
    TakeCommands();
    Click(hRadio);
    Click(hRadio);
    m_clock.Advance(5000);
    Click(hPush);
    Click(hPush);
    std::vector<CommandSent> expected { { 101, BN_CLICKED, hRadio }, { 101, BN_DOUBLECLICKED, hRadio },
        { 102, BN_CLICKED, hPush }, { 102, BN_CLICKED, hPush } };
    EXPECT_EQ(TakeCommands(), expected);
}

TEST_F(ButtonControlTest, SpacePushesAndItsReleaseClicks)
{
    HWND hCheck = CreateButton(BS_AUTOCHECKBOX, 101);
    SetFocus(hCheck);
    TakeCommands();
    Key(VK_SPACE, TRUE);
    EXPECT_TRUE(SendMessage(hCheck, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_TRUE(TakeCommands().empty());
    Key(VK_SPACE, FALSE);
    EXPECT_EQ(SendMessage(hCheck, BM_GETSTATE, 0, 0), BST_CHECKED | BST_FOCUS);
    std::vector<CommandSent> expected { { 101, BN_CLICKED, hCheck } };
    EXPECT_EQ(TakeCommands(), expected);
}

TEST_F(ButtonControlTest, BmClickClicksAsTheMouseWould)
{
    HWND hCheck = CreateButton(BS_AUTOCHECKBOX, 101);
    TakeCommands();
    SendMessage(hCheck, BM_CLICK, 0, 0);
    EXPECT_EQ(Check(hCheck), BST_CHECKED);
    EXPECT_EQ(GetCapture(), nullptr);
    std::vector<CommandSent> expected { { 101, BN_CLICKED, hCheck } };
    EXPECT_EQ(TakeCommands(), expected);
}

TEST_F(ButtonControlTest, NotifyStyleReportsFocusChanges)
{
    HWND hButton = CreateButton(BS_PUSHBUTTON | BS_NOTIFY, 101, 10);
    HWND hOther = CreateButton(BS_PUSHBUTTON, 102, 40);
    TakeCommands();
    SetFocus(hButton);
    SetFocus(hOther);
    std::vector<CommandSent> expected { { 101, BN_SETFOCUS, hButton }, { 101, BN_KILLFOCUS, hButton } };
    EXPECT_EQ(TakeCommands(), expected);
}

TEST_F(ButtonControlTest, DialogCodesNameTheKind)
{
    auto code = [this](DWORD dwStyle) { return SendMessage(CreateButton(dwStyle, 1), WM_GETDLGCODE, 0, 0); };
    EXPECT_EQ(code(BS_PUSHBUTTON), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(code(BS_DEFPUSHBUTTON), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(code(BS_AUTORADIOBUTTON), DLGC_BUTTON | DLGC_RADIOBUTTON);
    EXPECT_EQ(code(BS_CHECKBOX), DLGC_BUTTON);
    EXPECT_EQ(code(BS_GROUPBOX), DLGC_STATIC);
}

/***** Owner draw *****/

TEST_F(ButtonControlTest, OwnerDrawButtonAsksItsParentToDrawEachState)
{
    std::vector<DRAWITEMSTRUCT> draws;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        if (uMsg != WM_DRAWITEM)
            return false;
        draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *plResult = TRUE;
        return true;
    };
    HWND hButton = CreateButton(BS_OWNERDRAW, 101);
    PumpUntilIdle();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].CtlType, ODT_BUTTON);
    EXPECT_EQ(draws[0].CtlID, 101u);
    EXPECT_EQ(draws[0].hwndItem, hButton);
    EXPECT_EQ(draws[0].rcItem.right, 100);
    EXPECT_EQ(draws[0].rcItem.bottom, 24);
    EXPECT_EQ(draws[0].itemState, 0u);

    Mouse(hButton, EMouseAction::ButtonDown, 5, 5);
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.back().itemState, ODS_SELECTED | ODS_FOCUS);
    Mouse(hButton, EMouseAction::ButtonUp, 5, 5);
    EXPECT_EQ(draws.back().itemState, static_cast<UINT>(ODS_FOCUS));
    EnableWindow(hButton, FALSE);
    PumpUntilIdle();
    EXPECT_TRUE(draws.back().itemState & ODS_DISABLED);
}

TEST_F(ButtonControlTest, AnOwnerDrawsInTheButtonsOwnFont)
{
    HFONT hFont = CreateFont(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
    std::vector<HGDIOBJ> fonts;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        if (uMsg != WM_DRAWITEM)
            return false;
        fonts.push_back(GetCurrentObject(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hDC, OBJ_FONT));
        *plResult = TRUE;
        return true;
    };
    HWND hButton = CreateButton(BS_OWNERDRAW, 101);
    SendMessage(hButton, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    PumpUntilIdle();
    ASSERT_FALSE(fonts.empty());
    EXPECT_EQ(fonts.back(), hFont);
    DestroyWindow(hButton);
    DeleteObject(hFont);
}

/***** Images *****/

TEST_F(ButtonControlTest, IconButtonDrawsItsIconCentredInPlaceOfTheText)
{
    HICON hIcon = LoadIcon(nullptr, IDI_ERROR); // a red disc, clear in the corners
    HWND hButton = CreateControl("Button", "Text", BS_PUSHBUTTON | BS_ICON, 10, 10, 100, 50, 101);
    SendMessage(hButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon));
    PumpUntilIdle();
    CCapturedImage image(CaptureWindowImage(hButton));
    const int xIcon = (100 - ICON_DEFAULT_SIZE) / 2;
    const int yIcon = (50 - ICON_DEFAULT_SIZE) / 2;
    EXPECT_EQ(image.At(xIcon + 6, yIcon + ICON_DEFAULT_SIZE / 2), RGB(204, 0, 0));
    EXPECT_EQ(image.At(xIcon + 1, yIcon + 1), GetSysColor(COLOR_BTNFACE)) << "the face shows in the corner";
    DestroyWindow(hButton);
}

/***** Registration *****/

} // namespace
