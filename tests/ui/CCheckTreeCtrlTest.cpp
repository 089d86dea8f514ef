#include "ui/CCheckTreeCtrl.h"

#include "platform/framework/CImageList.h"
#include "platform/gdi/Icons.h"
#include "platform/window/Input.h"
#include "tests/ui/UiTestSupport.h"

#include <map>

namespace {

using T = CCheckTreeCtrl;

// A tree with check boxes over the host:
//
//   root
//   ├── a
//   │   ├── a1
//   │   └── a2
//   └── b
//       └── b1
class CCheckTreeCtrlTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
            RECT { 0, 0, 300, 200 }, &Host(), 1400));
        // Six equal images: only the check state's font tells the rows apart on screen.
        ASSERT_TRUE(m_states.Create(16, 16, ILC_COLOR32, 6, 0));
        for (int i = 0; i < 6; ++i)
            m_states.Add(LoadIcon(nullptr, IDI_APPLICATION));
        m_tree.SetImageList(&m_states, TVSIL_STATE);
        m_items["root"] = Insert("root", TVI_ROOT);
        m_items["a"] = Insert("a", m_items["root"]);
        m_items["a1"] = Insert("a1", m_items["a"]);
        m_items["a2"] = Insert("a2", m_items["a"]);
        m_items["b"] = Insert("b", m_items["root"]);
        m_items["b1"] = Insert("b1", m_items["b"]);
        m_tree.Expand(m_items["root"], TVE_EXPAND);
    }
    HTREEITEM Insert(const char* pszText, HTREEITEM hParent)
    {
        HTREEITEM hItem = m_tree.InsertItem(pszText, hParent);
        m_tree.SetCheckState(hItem, T::STATE_UNCHECKED);
        return hItem;
    }
    // Every item's state, in tree order: "root a a1 a2 b b1".
    std::string States()
    {
        std::string strStates;
        for (const char* pszName : { "root", "a", "a1", "a2", "b", "b1" })
            strStates += std::to_string(m_tree.GetCheckState(m_items[pszName]));
        return strStates;
    }
    HTREEITEM Item(const char* pszName) { return m_items[pszName]; }

    CCheckTreeCtrl m_tree;
    CImageList m_states;
    std::map<std::string, HTREEITEM> m_items;
};

TEST_F(CCheckTreeCtrlTest, CheckingALeafMarksItsAncestorsAsPartlyChecked)
{
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a1"), T::ACTION_CLICK));
    EXPECT_EQ(States(), "445222");
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a"), T::ACTION_CLICK));
    EXPECT_EQ(States(), "455522") << "the state goes down to every child";
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("b"), T::ACTION_CHECK));
    EXPECT_EQ(States(), "455555") << "an unchecked parent stays unchecked with everything below checked";
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("root"), T::ACTION_CHECK));
    EXPECT_EQ(States(), "555555");
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("b1"), T::ACTION_UNCHECK));
    EXPECT_EQ(States(), "355532");
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("b1"), T::ACTION_CHECK));
    EXPECT_EQ(States(), "555555") << "partly checked parents become checked when all below is";
}

TEST_F(CCheckTreeCtrlTest, ExcludingKeepsTheStatesBelowAndCollapses)
{
    m_tree.CheckAll();
    m_tree.Expand(Item("a"), TVE_EXPAND);
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a"), T::ACTION_CLICK));
    EXPECT_EQ(States(), "315555");
    EXPECT_FALSE(m_tree.GetItemState(Item("a"), TVIS_EXPANDED) & TVIS_EXPANDED);
    m_tree.SetFocus();
    m_tree.SelectItem(Item("a"));
    Driver().PressKey(VK_RIGHT);
    EXPECT_FALSE(m_tree.GetItemState(Item("a"), TVIS_EXPANDED) & TVIS_EXPANDED) << "the keyboard cannot expand it";

    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a"), T::ACTION_CLICK));
    EXPECT_EQ(States(), "322255") << "an excluded item's click unchecks its subtree";
    Driver().PressKey(VK_RIGHT);
    EXPECT_TRUE(m_tree.GetItemState(Item("a"), TVIS_EXPANDED) & TVIS_EXPANDED) << "no longer excluded";
}

TEST_F(CCheckTreeCtrlTest, ResetsAndRefusalsWithoutExclusion)
{
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a"), T::ACTION_EXCLUDE));
    m_tree.CheckAll();
    EXPECT_EQ(States(), "555555") << "excluded items are reset too";
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("b1"), T::ACTION_EXCLUDE));
    m_tree.UncheckAll();
    EXPECT_EQ(States(), "222222");

    m_tree.SetExclusionAllowed(FALSE);
    EXPECT_FALSE(m_tree.ApplyCheckAction(Item("a"), T::ACTION_EXCLUDE));
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a"), T::ACTION_CLICK));
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a"), T::ACTION_CLICK));
    EXPECT_EQ(States(), "222222") << "a click on a checked item unchecks it";

    EXPECT_FALSE(m_tree.ApplyCheckAction(nullptr, T::ACTION_CHECK));
    EXPECT_FALSE(m_tree.ApplyCheckAction(Item("a"), 5));
    m_tree.SetCheckState(Item("b1"), T::STATE_NONE);
    EXPECT_FALSE(m_tree.ApplyCheckAction(Item("b1"), T::ACTION_CHECK)) << "no check box";
}

TEST_F(CCheckTreeCtrlTest, ClicksOnTheBoxAndSpaceOnTheCaretAct)
{
    m_tree.Expand(Item("b"), TVE_EXPAND);
    RECT label {};
    ASSERT_TRUE(m_tree.GetItemRect(Item("b1"), &label, TRUE));
    const int y = (label.top + label.bottom) / 2;
    int xBox = -1;
    for (int x = 0; x < label.left && xBox < 0; ++x) {
        UINT nFlags = 0;
        if (m_tree.HitTest(CPoint(x, y), &nFlags) == Item("b1") && (nFlags & TVHT_ONITEMSTATEICON))
            xBox = x + 2;
    }
    ASSERT_GE(xBox, 0);
    ASSERT_TRUE(Driver().Click(m_tree.GetSafeHwnd(), xBox, y));
    EXPECT_EQ(m_tree.GetCheckState(Item("b1")), T::STATE_CHECKED);
    ASSERT_TRUE(Driver().Click(m_tree.GetSafeHwnd(), label.left + 2, y));
    EXPECT_EQ(m_tree.GetCheckState(Item("b1")), T::STATE_CHECKED) << "a click on the label only selects";

    m_tree.SelectItem(Item("a2"));
    Driver().PressKey(VK_SPACE);
    EXPECT_EQ(States(), "442545");
}

TEST_F(CCheckTreeCtrlTest, FindNextInStateSkipsSubtreesThatCannotMatch)
{
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("b1"), T::ACTION_CHECK));
    EXPECT_EQ(States(), "422245");
    EXPECT_EQ(m_tree.FindNextInState(Item("root"), 3), Item("b1")) << "below an unchecked-but-partial parent";
    EXPECT_EQ(m_tree.FindNextInState(Item("root"), 2), Item("root"));
    EXPECT_EQ(m_tree.FindNextInState(Item("a1"), 2), Item("a1"));
    EXPECT_EQ(m_tree.FindNextInState(Item("b1"), 2), nullptr) << "b1 is checked and last";
    EXPECT_EQ(m_tree.FindNextInState(Item("root"), 1), nullptr);

    // Checked items hide excluded ones below them from a search for class 1.
    m_tree.CheckAll();
    m_tree.SetCheckState(Item("a1"), T::STATE_EXCLUDED);
    EXPECT_EQ(m_tree.FindNextInState(Item("root"), 1), nullptr);
    EXPECT_EQ(m_tree.FindNextInState(Item("a1"), 1), Item("a1"));
    EXPECT_EQ(m_tree.FindNextInState(Item("root"), 4), nullptr) << "not a class";
    EXPECT_EQ(m_tree.GetNextItemPreorder(Item("a2")), Item("b"));
    EXPECT_EQ(m_tree.GetNextItemPreorder(Item("b1")), nullptr);
}

TEST_F(CCheckTreeCtrlTest, ExcludedItemsAreDrawnInAnotherFont)
{
    m_tree.Expand(Item("a"), TVE_EXPAND);
    RECT row {};
    ASSERT_TRUE(m_tree.GetItemRect(Item("a2"), &row, TRUE));
    const auto RowPixels = [&] {
        m_tree.RedrawWindow();
        std::vector<COLORREF> pixels;
        for (int x = row.left; x < row.right; ++x)
            for (int y = row.top; y < row.bottom; ++y)
                pixels.push_back(CUiHarness::Pixel(m_tree.GetSafeHwnd(), x, y));
        return pixels;
    };
    const std::vector<COLORREF> upright = RowPixels();
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a2"), T::ACTION_EXCLUDE));
    EXPECT_NE(RowPixels(), upright);
    ASSERT_TRUE(m_tree.ApplyCheckAction(Item("a2"), T::ACTION_UNCHECK));
    EXPECT_EQ(RowPixels(), upright) << "the font is put back";
}

} // namespace
