#include "platform/controls/TreeViewControl.h"

#include "platform/controls/EditControl.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/TreeViewTestSupport.h"

namespace {

class TreeViewLabelEditTest : public TreeViewTest {
protected:
    static HWND Editor(HWND hTree) { return reinterpret_cast<HWND>(SendMessage(hTree, TVM_GETEDITCONTROL, 0, 0)); }
};

TEST_F(TreeViewLabelEditTest, EndHandlerMayDeleteTheItemOrEditAgain)
{
    HWND hTree = CreateTree(TVS_EDITLABELS);
    HTREEITEM hNamed = Insert(hTree, TVI_ROOT, "named");
    HTREEITEM hFresh = Insert(hTree, TVI_ROOT, "");
    std::vector<std::string> ends;
    int nAgain = 1;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        auto* pInfo = reinterpret_cast<NMTVDISPINFO*>(pHdr);
        if (pHdr->code == TVN_BEGINLABELEDIT) {
            SendMessage(Editor(hTree), EM_LIMITTEXT, 30, 0);
            return 0;
        }
        if (pHdr->code != TVN_ENDLABELEDIT)
            return 0;
        ends.push_back(pInfo->item.pszText ? pInfo->item.pszText : "(null)");
        if (!pInfo->item.pszText && pInfo->item.hItem == hFresh) {
            SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hFresh)); // a never-named item goes
            return FALSE;
        }
        if (pInfo->item.pszText && std::string(pInfo->item.pszText) == "named" && nAgain-- > 0) {
            SendMessage(hTree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(pInfo->item.hItem)); // a duplicate
            return FALSE;
        }
        return TRUE;
    };
    HWND hEdit = reinterpret_cast<HWND>(SendMessage(hTree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(hFresh)));
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(GetFocus(), hEdit);
    Key(VK_ESCAPE, TRUE);
    Key(VK_ESCAPE, FALSE);
    EXPECT_EQ(Text(hTree, hFresh), "(failed)");
    EXPECT_EQ(SendMessage(hTree, TVM_GETCOUNT, 0, 0), 1);

    hEdit = reinterpret_cast<HWND>(SendMessage(hTree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(hNamed)));
    Key(VK_RETURN, TRUE); // unchanged "named": the handler opens the editor again
    Key(VK_RETURN, FALSE);
    HWND hAgain = Editor(hTree);
    ASSERT_NE(hAgain, nullptr);
    EXPECT_TRUE(IsWindowVisible(hAgain));
    SetWindowText(hAgain, std::string(40, 'n').c_str());
    EXPECT_EQ(GetWindowTextLength(hAgain), 40); // the limit binds typing, not SetWindowText
    SetWindowText(hAgain, "renamed");
    SetFocus(m_hParent); // losing the focus commits
    EXPECT_EQ(Text(hTree, hNamed), "renamed");
    EXPECT_EQ(ends, (std::vector<std::string> { "(null)", "named", "renamed" }));
    EXPECT_EQ(Editor(hTree), nullptr);
}

TEST_F(TreeViewLabelEditTest, ASlowSecondClickOnTheCaretEditsItsLabel)
{
    HWND hTree = CreateTree(TVS_EDITLABELS);
    HTREEITEM hFirst = Insert(hTree, TVI_ROOT, "first");
    HTREEITEM hSecond = Insert(hTree, TVI_ROOT, "second");
    auto waitPastDoubleClick = [&] {
        m_clock.Advance(GetDoubleClickTime() + 1);
        PumpUntilIdle();
    };
    ClickItem(hTree, hFirst);
    waitPastDoubleClick();
    EXPECT_EQ(Editor(hTree), nullptr);
    ClickItem(hTree, hFirst);
    waitPastDoubleClick();
    ASSERT_NE(Editor(hTree), nullptr);
    SendMessage(hTree, TVM_ENDEDITLABELNOW, TRUE, 0);

    ClickItem(hTree, hSecond); // a click that moves the caret edits nothing
    waitPastDoubleClick();
    EXPECT_EQ(Editor(hTree), nullptr);
}

} // namespace
