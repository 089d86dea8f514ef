#include "platform/controls/UpDownControl.h"

#include "platform/controls/EditControl.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

#include <string>

namespace {

constexpr UINT EDIT_ID = 21;

class UpDownControlTest : public CommonControlTest {
protected:
    // An edit holding `lpszText` with an up-down (range lower..upper) at its right.
    HWND CreatePair(LPCSTR lpszText, short nLower, short nUpper, DWORD dwStyle = UDS_SETBUDDYINT | UDS_ARROWKEYS)
    {
        m_hEdit = CreateControl("Edit", lpszText, WS_BORDER, 10, 10, 80, 20, EDIT_ID);
        HWND hUpDown = CreateControl(UPDOWN_CLASS, "", dwStyle | UDS_ALIGNRIGHT | UDS_AUTOBUDDY, 0, 0, 16, 20, 22);
        // Below the edit, as the dialog manager places each control it makes.
        SetWindowPos(hUpDown, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessage(hUpDown, UDM_SETRANGE, 0, MAKELONG(static_cast<WORD>(nUpper), static_cast<WORD>(nLower)));
        PumpUntilIdle();
        TakeCommands();
        TakeNotifications();
        return hUpDown;
    }
    std::string BuddyText() const
    {
        char szText[32] {};
        GetWindowText(m_hEdit, szText, sizeof(szText));
        return szText;
    }
    int EditChanges()
    {
        int nChanges = 0;
        for (const CommandSent& command : TakeCommands())
            nChanges += command.nId == EDIT_ID && command.nCode == EN_CHANGE;
        return nChanges;
    }
    void ClickUp(HWND hUpDown)
    {
        m_clock.Advance(GetDoubleClickTime() + 1);
        Click(hUpDown, 8, 2);
    }
    void ClickDown(HWND hUpDown)
    {
        m_clock.Advance(GetDoubleClickTime() + 1);
        Click(hUpDown, 8, 17);
    }

    HWND m_hEdit { nullptr };
};

TEST_F(UpDownControlTest, ArrowsWriteTheBuddyInDecimalWhichReportsEnChange)
{
    HWND hUpDown = CreatePair("5", 1, 9);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(hUpDown, UDM_GETBUDDY, 0, 0)), m_hEdit);
    RECT rcEdit {};
    GetClientRect(m_hEdit, &rcEdit);
    EXPECT_LT(rcEdit.right, 80); // the arrows took part of its width

    ClickUp(hUpDown);
    EXPECT_EQ(BuddyText(), "6");
    EXPECT_EQ(EditChanges(), 1);
    EXPECT_EQ(TakeCodes(), (std::vector<UINT> { UDN_DELTAPOS }));
    ClickDown(hUpDown);
    ClickDown(hUpDown);
    EXPECT_EQ(BuddyText(), "4");
    EXPECT_EQ(SendMessage(hUpDown, UDM_GETPOS, 0, 0), MAKELONG(4, 0));
}

TEST_F(UpDownControlTest, StepsClampToTheRangeAndANonNumberCountsAsTheLastPosition)
{
    HWND hUpDown = CreatePair("9", 1, 9);
    ClickUp(hUpDown);
    EXPECT_EQ(BuddyText(), "9");
    EXPECT_EQ(EditChanges(), 0);
    EXPECT_TRUE(TakeCodes().empty());

    SetWindowText(m_hEdit, "abc");
    EXPECT_EQ(HIWORD(SendMessage(hUpDown, UDM_GETPOS, 0, 0)), 1);
    ClickDown(hUpDown);
    EXPECT_EQ(BuddyText(), "8");

    // A range of negative numbers with the bounds the other way round.
    SendMessage(hUpDown, UDM_SETRANGE, 0, MAKELONG(static_cast<WORD>(-999), static_cast<WORD>(999)));
    EXPECT_EQ(SendMessage(hUpDown, UDM_GETRANGE, 0, 0), MAKELONG(static_cast<WORD>(-999), 999));
    SendMessage(hUpDown, UDM_SETPOS, 0, MAKELONG(static_cast<WORD>(-2000), 0));
    EXPECT_EQ(BuddyText(), "-999");
    ClickUp(hUpDown); // towards the upper bound, -999: nothing to do
    EXPECT_EQ(BuddyText(), "-999");
    ClickDown(hUpDown);
    EXPECT_EQ(BuddyText(), "-998");
}

TEST_F(UpDownControlTest, ParentRefusesAStepWithUdnDeltaPos)
{
    HWND hUpDown = CreatePair("5", 1, 9);
    int nAskedPos = 0;
    onNotify = [&nAskedPos](NMHDR* pHdr) -> LRESULT {
        nAskedPos = reinterpret_cast<NMUPDOWN*>(pHdr)->iPos;
        return TRUE;
    };
    ClickUp(hUpDown);
    EXPECT_EQ(nAskedPos, 5);
    EXPECT_EQ(BuddyText(), "5");
    EXPECT_EQ(EditChanges(), 0);
}

TEST_F(UpDownControlTest, HeldArrowRepeatsOnTheClockAndArrowKeysStepInTheBuddy)
{
    HWND hUpDown = CreatePair("10", 1, 99);
    Mouse(hUpDown, EMouseAction::ButtonDown, 8, 2);
    EXPECT_EQ(BuddyText(), "11");
    m_clock.Advance(499);
    PumpUntilIdle();
    EXPECT_EQ(BuddyText(), "11");
    m_clock.Advance(1);
    PumpUntilIdle();
    EXPECT_EQ(BuddyText(), "12");
    m_clock.Advance(100);
    PumpUntilIdle();
    EXPECT_EQ(BuddyText(), "13");
    Mouse(hUpDown, EMouseAction::ButtonUp, 8, 2);
    m_clock.Advance(1000);
    PumpUntilIdle();
    EXPECT_EQ(BuddyText(), "13");

    SetFocus(m_hEdit);
    Key(VK_UP, TRUE);
    Key(VK_UP, FALSE);
    EXPECT_EQ(BuddyText(), "14");
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, FALSE);
    EXPECT_EQ(BuddyText(), "13");

    // Once the up-down is gone the buddy's keys are its own again.
    DestroyWindow(hUpDown);
    Key(VK_UP, TRUE);
    Key(VK_UP, FALSE);
    EXPECT_EQ(BuddyText(), "13");
}

} // namespace
