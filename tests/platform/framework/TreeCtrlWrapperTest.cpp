#include "platform/framework/CTreeCtrl.h"

#include "platform/framework/CDialog.h"
#include "tests/platform/framework/FrameworkTestSupport.h"
#include "tests/platform/window/DialogTestSupport.h"

#include <string>

namespace {

constexpr int ID_TREE = 210;

// A tree that fills a folder when it first opens, from its own reflected
// notification, and refuses to open items marked as excluded.
class CFolderTree : public CTreeCtrl {
    DECLARE_MESSAGE_MAP()

protected:
    void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
    {
        auto* pTree = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
        const HTREEITEM hItem = pTree->itemNew.hItem;
        *pResult = GetItemData(hItem) == 99;
        if (*pResult || !(pTree->action & TVE_EXPAND) || !GetChildItem(hItem))
            return;
        if (GetItemText(GetChildItem(hItem)) == CString("DUMMY")) {
            DeleteItem(GetChildItem(hItem));
            InsertItem("zeta", hItem, TVI_SORT);
            InsertItem("Alpha", hItem, TVI_SORT);
            HandlerLog::Add("filled " + std::string(GetItemText(hItem)));
        }
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CFolderTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CFolderTree::OnItemExpanding)
END_MESSAGE_MAP()
// clang-format on

DialogTemplate TreeTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    dialog.cx = 200;
    dialog.cy = 120;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.controls = { { static_cast<DWORD>(ID_TREE), WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS,
        0, 5, 5, 180, 100, "SysTreeView32", "" } };
    return dialog;
}

using TreeCtrlWrapperTest = FrameworkTest;

TEST_F(TreeCtrlWrapperTest, TemplateTreeFillsLazilyThroughItsOwnObjectAndFailsStaleItems)
{
    const DialogTemplate tmpl = TreeTemplate();
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&tmpl));
    CFolderTree tree;
    ASSERT_TRUE(tree.SubclassDlgItem(ID_TREE, &dialog));
    HTREEITEM hFolder = tree.InsertItem("folder");
    tree.InsertItem("DUMMY", hFolder);
    HTREEITEM hExcluded = tree.InsertItem("excluded");
    tree.SetItemData(hExcluded, 99);
    tree.InsertItem("DUMMY", hExcluded);
    const std::string strLong(600, 'l');
    HTREEITEM hLong = tree.InsertItem(strLong.c_str(), 2, 3);

    HandlerLog::Take();
    EXPECT_FALSE(tree.EnsureVisible(tree.GetChildItem(hFolder))); // the dummy goes while its folder opens
    EXPECT_EQ(HandlerLog::Take(), std::vector<std::string> { "filled folder" });
    EXPECT_EQ(tree.GetItemText(tree.GetChildItem(hFolder)), CString("Alpha"));
    EXPECT_EQ(tree.GetItemText(tree.GetNextSiblingItem(tree.GetChildItem(hFolder))), CString("zeta"));
    EXPECT_TRUE(tree.GetItemState(hFolder, TVIS_EXPANDEDONCE));
    EXPECT_FALSE(tree.Expand(hExcluded, TVE_EXPAND));
    EXPECT_FALSE(tree.GetItemState(hExcluded, TVIS_EXPANDED));
    EXPECT_EQ(tree.GetCount(), 6U);

    EXPECT_EQ(tree.GetItemText(hLong).GetLength(), 600); // the buffer grows
    CEdit* pEdit = tree.EditLabel(hLong);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(tree.GetEditControl(), pEdit); // the same temporary object for the editor

    // A deleted item's handle fails every call without effect.
    ASSERT_TRUE(tree.DeleteItem(hExcluded));
    EXPECT_FALSE(tree.SetItemText(hExcluded, "again"));
    EXPECT_EQ(tree.GetItemText(hExcluded), CString(""));
    RECT rc {};
    EXPECT_FALSE(tree.GetItemRect(hExcluded, &rc, FALSE));
    EXPECT_EQ(tree.EditLabel(hExcluded), nullptr);
    tree.UnsubclassWindow();
    dialog.DestroyWindow();
}

} // namespace
