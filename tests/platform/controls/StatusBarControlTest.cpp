#include "platform/controls/StatusBarControl.h"

#include "tests/platform/controls/CommonControlTestSupport.h"

namespace {

class StatusBarControlTest : public CommonControlTest {
protected:
    HWND CreateBar(DWORD dwStyle, std::initializer_list<int> edges)
    {
        HWND hBar = CreateControl(STATUSCLASSNAME, "", dwStyle, 0, 0, 400, 20, 9);
        const std::vector<int> rights(edges);
        EXPECT_EQ(SendMessage(hBar, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data())), TRUE);
        return hBar;
    }
    static RECT PartRect(HWND hBar, int nPart)
    {
        RECT rc {};
        EXPECT_EQ(SendMessage(hBar, SB_GETRECT, static_cast<WPARAM>(nPart), reinterpret_cast<LPARAM>(&rc)), TRUE);
        return rc;
    }
};

TEST_F(StatusBarControlTest, PartsEndAtTheirEdgesAndAZeroWidthPartTakesNoRoom)
{
    HWND hBar = CreateBar(CCS_NOPARENTALIGN, { 0, 150, 150, -1 });
    EXPECT_EQ(PartRect(hBar, 0), (RECT { 0, 2, 0, 18 }));
    EXPECT_EQ(PartRect(hBar, 1), (RECT { 0, 2, 150, 18 }));
    EXPECT_EQ(PartRect(hBar, 2), (RECT { 152, 2, 152, 18 })); // its edge is not past the previous one
    EXPECT_EQ(PartRect(hBar, 3), (RECT { 152, 2, 400, 18 }));
    RECT rc {};
    EXPECT_EQ(SendMessage(hBar, SB_GETRECT, 4, reinterpret_cast<LPARAM>(&rc)), FALSE);

    int edges[4] {};
    EXPECT_EQ(SendMessage(hBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 4);
    EXPECT_EQ(edges[1], 150);
    EXPECT_EQ(edges[2], 0); // only the room given is written
    EXPECT_EQ(SendMessage(hBar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(edges)), FALSE);
}

TEST_F(StatusBarControlTest, TextsKeepTheirBorderKinds)
{
    HWND hBar = CreateBar(CCS_NOPARENTALIGN, { 100, -1 });
    EXPECT_EQ(SendMessage(hBar, SB_SETTEXT, 1 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("Ready")), TRUE);
    EXPECT_EQ(SendMessage(hBar, SB_SETTEXT, 2, reinterpret_cast<LPARAM>("none")), FALSE);
    char szText[16] {};
    EXPECT_EQ(SendMessage(hBar, SB_GETTEXT, 1, reinterpret_cast<LPARAM>(szText)), MAKELONG(5, SBT_NOBORDERS));
    EXPECT_STREQ(szText, "Ready");
    EXPECT_EQ(SendMessage(hBar, SB_GETTEXTLENGTH, 0, 0), 0);

    // Fewer parts keep the texts of those that remain.
    const int edges[] = { -1, -1 };
    SendMessage(hBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(LOWORD(SendMessage(hBar, SB_GETTEXTLENGTH, 1, 0)), 5);
    PumpUntilIdle(); // paints a part past the end of another without harm
}

TEST_F(StatusBarControlTest, BarFollowsTheParentsBottomUnlessToldNotTo)
{
    HWND hBar = CreateBar(SBARS_SIZEGRIP, { -1 });
    RECT rcParent {};
    GetClientRect(m_hParent, &rcParent);
    RECT rcBar {};
    GetWindowRect(hBar, &rcBar);
    MapWindowPoints(nullptr, m_hParent, reinterpret_cast<POINT*>(&rcBar), 2);
    EXPECT_EQ(rcBar.bottom, rcParent.bottom);
    EXPECT_EQ(rcBar.right - rcBar.left, rcParent.right);

    SetWindowPos(m_hParent, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    SendMessage(hBar, WM_SIZE, 0, 0);
    GetWindowRect(hBar, &rcBar);
    MapWindowPoints(nullptr, m_hParent, reinterpret_cast<POINT*>(&rcBar), 2);
    GetClientRect(m_hParent, &rcParent);
    EXPECT_EQ(rcBar.bottom, rcParent.bottom);
    EXPECT_EQ(rcBar.right, rcParent.right);
    PumpUntilIdle();
}

} // namespace
