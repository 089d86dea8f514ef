// The check list box as its users drive it: clicks on the box and Space move
// an automatic box on and tell the parent; SetCheck, disabled items and a
// manual style do not; the caller's values stay apart from the states.

#include "platform/framework/CCheckListBox.h"

#include "FrameworkTestSupport.h"
#include "platform/testing/TestDriver.h"

#include <algorithm>
#include <string>

namespace {

constexpr UINT ID_LIST = 1574;

// Logs each check change the list reports.
class CCheckParent : public CWnd {
    DECLARE_MESSAGE_MAP()

protected:
    void OnCheckChange() { HandlerLog::Add("change"); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CCheckParent, CWnd)
    ON_CLBN_CHKCHANGE(ID_LIST, &CCheckParent::OnCheckChange)
END_MESSAGE_MAP()
// clang-format on

// Logs the rectangle and value each item is drawn with.
class CLoggingCheckList : public CCheckListBox {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        HandlerLog::Add(
            "draw " + std::to_string(lpDrawItemStruct->rcItem.left) + " " + std::to_string(lpDrawItemStruct->itemData));
    }
};

class CheckListBoxTest : public FrameworkTest {
protected:
    // How many check changes the parent heard of since the last call.
    static size_t TakeChanges()
    {
        const std::vector<std::string> log = HandlerLog::Take();
        return static_cast<size_t>(std::count(log.begin(), log.end(), "change"));
    }

    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 240, 160, nullptr, nullptr));
        ASSERT_TRUE(m_list.Create(WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
            Rect(10, 10, 200, 60), &m_parent, ID_LIST));
        for (const char* pszText : { "one", "two", "three", "four", "five", "six", "seven", "eight" })
            m_list.AddString(pszText);
        m_driver.Pump();
        HandlerLog::Take();
    }

    CTestDriver m_driver;
    CCheckParent m_parent;
    CLoggingCheckList m_list;
};

TEST_F(CheckListBoxTest, ClicksAndSpaceToggleAutomaticBoxesAndNotifyTheParent)
{
    ASSERT_TRUE(m_driver.ClickCheckListBox(m_list.m_hWnd, 1));
    ASSERT_TRUE(m_driver.ClickCheckListBox(m_list.m_hWnd, 7)); // scrolled into sight first
    EXPECT_EQ(CTestDriver::CheckListStates(m_list.m_hWnd), (std::vector<int> { 0, 1, 0, 0, 0, 0, 0, 1 }));
    EXPECT_EQ(TakeChanges(), 2u);

    // A click on the text selects without toggling; Space toggles the caret item.
    m_list.SetTopIndex(0);
    RECT rect {};
    m_list.GetItemRect(2, &rect);
    m_driver.Click(m_list.m_hWnd, rect.left + 60, (rect.top + rect.bottom) / 2);
    EXPECT_EQ(m_list.GetCurSel(), 2);
    EXPECT_EQ(m_list.GetCheck(2), 0);
    m_driver.PressKey(VK_SPACE);
    m_driver.PressKey(VK_SPACE);
    m_driver.PressKey(VK_SPACE);
    EXPECT_EQ(m_list.GetCheck(2), 1);
    HandlerLog::Take();

    m_list.SetCheck(3, 1);
    m_list.Enable(4, FALSE);
    EXPECT_TRUE(m_driver.ClickCheckListBox(m_list.m_hWnd, 4));
    EXPECT_EQ(m_list.GetCheck(4), 0);
    EXPECT_EQ(CTestDriver::CheckListEnabled(m_list.m_hWnd),
        (std::vector<BOOL> { TRUE, TRUE, TRUE, TRUE, FALSE, TRUE, TRUE, TRUE }));
    EXPECT_EQ(TakeChanges(), 0u);
    EXPECT_FALSE(m_driver.ClickCheckListBox(m_list.m_hWnd, 8));
}

TEST_F(CheckListBoxTest, ThreeStateCyclesAndManualStyleLeavesStatesToTheProgram)
{
    ASSERT_TRUE(m_list.SetCheckStyle(BS_AUTO3STATE));
    for (int nClick = 0; nClick < 3; ++nClick) {
        m_driver.ClickCheckListBox(m_list.m_hWnd, 0);
        EXPECT_EQ(m_list.GetCheck(0), (nClick + 1) % 3);
    }
    EXPECT_EQ(TakeChanges(), 3u);

    ASSERT_TRUE(m_list.SetCheckStyle(BS_CHECKBOX));
    m_driver.ClickCheckListBox(m_list.m_hWnd, 0);
    EXPECT_EQ(m_list.GetCheck(0), 0);
    EXPECT_EQ(TakeChanges(), 0u);
    EXPECT_FALSE(m_list.SetCheckStyle(BS_PUSHBUTTON));
    EXPECT_EQ(m_list.GetCheckStyle(), static_cast<UINT>(BS_CHECKBOX));
}

TEST_F(CheckListBoxTest, ItemValuesStayApartFromStatesThroughInsertAndDelete)
{
    m_list.SetItemData(0, 100);
    m_list.SetCheck(0, 2);
    EXPECT_EQ(m_list.InsertString(0, "zero"), 0);
    EXPECT_EQ(m_list.GetItemData(0), 0u);
    EXPECT_EQ(m_list.GetItemData(1), 100u);
    EXPECT_EQ(m_list.GetCheck(1), 2);
    m_list.SetCheck(1, 3); // no such state: ignored
    EXPECT_EQ(m_list.GetCheck(1), 2);

    m_list.DeleteString(0);
    EXPECT_EQ(m_list.GetItemData(0), 100u);
    EXPECT_EQ(m_list.GetCheck(0), 2);
    EXPECT_EQ(m_list.GetCheck(42), LB_ERR);
    EXPECT_EQ(m_list.SetItemData(42, 1), LB_ERR);

    // The subclass draws right of the box, with the caller's value.
    HandlerLog::Take();
    m_list.SetTopIndex(0);
    m_list.Invalidate();
    m_driver.Pump();
    const std::vector<std::string> log = HandlerLog::Take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "draw " + std::to_string(CCheckListBox::CHECK_COLUMN) + " 100");

    m_list.ResetContent();
    EXPECT_TRUE(CTestDriver::CheckListStates(m_list.m_hWnd).empty());
    EXPECT_TRUE(CTestDriver::CheckListStates(m_parent.m_hWnd).empty());
}

} // namespace
