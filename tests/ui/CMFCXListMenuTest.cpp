#include "ui/CMFCXListMenu.h"

#include "platform/controls/ListBoxControl.h"
#include "tests/ui/UiTestSupport.h"

#include <vector>

namespace {

constexpr UINT ID_MENU = 1700;

class CRecordingListMenu : public CMFCXListMenu {
public:
    std::vector<DWORD> m_chosen;
    std::vector<std::pair<int, int>> m_hotChanges;

protected:
    void OnChoose() override { m_chosen.push_back(GetItemValue(GetHotItem())); }
    void OnHotItemChanged(int nOldItem, int nNewItem) override { m_hotChanges.emplace_back(nOldItem, nNewItem); }
};

// A record that counts its deletions.
struct CCountingRecord : CListItemRecord {
    explicit CCountingRecord(int* pDeleted)
        : pDeleted(pDeleted)
    {
    }
    ~CCountingRecord() override { ++*pDeleted; }
    int* pDeleted;
};

class CMFCXListMenuTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_menu.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_MULTIPLESEL
                | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
            RECT { 10, 10, 110, 290 }, &Host(), ID_MENU));
        m_menu.SetFont(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
        m_menu.AddItem("Open", 0, 10, TRUE);
        m_menu.AddItem("Locked", 1, 20, FALSE);
        m_menu.AddItem("Save", 2, 30, TRUE);
    }
    // The centre of an item, in the list's client coordinates.
    CPoint Centre(int nItem)
    {
        RECT rect {};
        m_menu.GetItemRect(nItem, &rect);
        return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    void MoveTo(int nItem)
    {
        const CPoint point = Centre(nItem);
        ASSERT_TRUE(Driver().MoveTo(m_menu.GetSafeHwnd(), point.x, point.y));
    }

    CRecordingListMenu m_menu;
};

TEST_F(CMFCXListMenuTest, HoverMakesEnabledItemsHotAndDisabledOnesNot)
{
    MoveTo(0);
    EXPECT_EQ(m_menu.GetHotItem(), 0);
    MoveTo(1);
    EXPECT_EQ(m_menu.GetHotItem(), -1) << "a disabled item is never hot";
    const CPoint locked = Centre(1);
    ASSERT_TRUE(Driver().Click(m_menu.GetSafeHwnd(), locked.x, locked.y));
    EXPECT_TRUE(m_menu.m_chosen.empty());
    EXPECT_EQ(m_menu.m_hotChanges, (std::vector<std::pair<int, int>> { { -1, 0 }, { 0, -1 } }));
}

TEST_F(CMFCXListMenuTest, ReleasingOverAnotherEnabledItemChoosesIt)
{
    const CPoint open = Centre(0);
    const CPoint save = Centre(2);
    ASSERT_TRUE(Driver().Drag(m_menu.GetSafeHwnd(), open, save));
    EXPECT_EQ(m_menu.m_chosen, (std::vector<DWORD> { 30 }));
    EXPECT_EQ(m_menu.GetHotItem(), -1) << "chosen, then no longer hot";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CMFCXListMenuTest, LeavingTheListClearsTheHotItemAtTheNextCheck)
{
    MoveTo(2);
    ASSERT_EQ(m_menu.GetHotItem(), 2);
    ASSERT_TRUE(Driver().MoveTo(Host().GetSafeHwnd(), 300, 150));
    Driver().Advance(CMFCXListMenu::HOVER_CHECK_MS);
    EXPECT_EQ(m_menu.GetHotItem(), -1);
}

TEST_F(CMFCXListMenuTest, ChoosingByProgramAndTheRecordsGoWithTheirItems)
{
    m_menu.ChooseItem(-1);
    EXPECT_TRUE(m_menu.m_chosen.empty());
    m_menu.ChooseItem(0);
    EXPECT_EQ(m_menu.m_chosen, (std::vector<DWORD> { 10 }));
    EXPECT_EQ(m_menu.GetHotItem(), -1);

    int nDeleted = 0;
    CListBoxNT list;
    ASSERT_TRUE(
        list.Create(WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, RECT { 200, 10, 300, 100 }, &Host(), ID_MENU + 1));
    for (const char* pszText : { "a", "b", "c" })
        list.SetItemDataPtr(list.AddString(pszText), static_cast<CListItemRecord*>(new CCountingRecord(&nDeleted)));
    list.DeleteString(1);
    EXPECT_EQ(nDeleted, 1);
    list.DestroyWindow();
    EXPECT_EQ(nDeleted, 3);
}

} // namespace
