#include "platform/framework/CHeaderCtrl.h"
#include "platform/framework/CListCtrl.h"

#include "platform/framework/CDialog.h"
#include "platform/framework/CImageList.h"
#include "tests/platform/framework/FrameworkTestSupport.h"
#include "tests/platform/window/DialogTestSupport.h"

#include <memory>
#include <string>

namespace {

constexpr int ID_LIST = 200;

// A report list whose rows exist only as callbacks and are drawn by the list
// object itself, at a row height it answers itself.
class CRowList : public CListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        HandlerLog::Add("draw " + std::to_string(lpDrawItemStruct->itemID) + " "
            + std::string(GetItemText(static_cast<int>(lpDrawItemStruct->itemID), 1)));
    }

protected:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { lpMeasureItemStruct->itemHeight = 22; }
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
    {
        auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
        // Longer than the first buffer the CString form offers, to make it grow.
        m_strText = std::to_string(pInfo->item.iItem) + std::string(300, 'x');
        pInfo->item.pszText = m_strText.data();
        *pResult = 0;
    }

private:
    std::string m_strText;
};

// clang-format off
BEGIN_MESSAGE_MAP(CRowList, CListCtrl)
    ON_WM_MEASUREITEM_REFLECT()
    ON_NOTIFY_REFLECT(LVN_GETDISPINFO, &CRowList::OnGetDispInfo)
END_MESSAGE_MAP()
// clang-format on

// The list's header with an owner-drawn first item.
class CArrowHeader : public CHeaderCtrl {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        HandlerLog::Add(
            "header " + std::to_string(lpDrawItemStruct->CtlType) + " " + std::to_string(lpDrawItemStruct->itemID));
    }
};

DialogTemplate ListTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    dialog.cx = 200;
    dialog.cy = 120;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.controls = { { static_cast<DWORD>(ID_LIST), WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, 0, 5, 5, 180, 100,
        "SysListView32", "" } };
    return dialog;
}

using ListCtrlWrappersTest = FrameworkTest;

TEST_F(ListCtrlWrappersTest, TemplateListDrawsCallbackRowsAndHeaderThroughItsObjects)
{
    const DialogTemplate tmpl = ListTemplate();
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&tmpl));
    CRowList list;
    ASSERT_TRUE(list.SubclassDlgItem(ID_LIST, &dialog));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Size", LVCFMT_RIGHT, 60);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.InsertItem(LVIF_TEXT | LVIF_PARAM, i, LPSTR_TEXTCALLBACK, 0, 0, 0, i), i);
    // The row height is asked again when the owner says the frame changed.
    list.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT rc {};
    ASSERT_TRUE(list.GetItemRect(0, &rc, LVIR_BOUNDS));
    EXPECT_EQ(rc.bottom - rc.top, 22);
    EXPECT_EQ(list.GetItemText(2, 0).GetLength(), 301);

    CArrowHeader header;
    ASSERT_TRUE(header.SubclassDlgItem(0, &list));
    HDITEM item {};
    item.mask = HDI_FORMAT;
    ASSERT_TRUE(header.GetItem(0, &item));
    item.fmt |= HDF_OWNERDRAW;
    ASSERT_TRUE(header.SetItem(0, &item));
    EXPECT_EQ(header.OrderToIndex(1), 1);

    HandlerLog::Take();
    list.Invalidate();
    header.Invalidate();
    PumpUntilIdle();
    std::vector<std::string> log = HandlerLog::Take();
    std::sort(log.begin(), log.end());
    const std::string strTail(300, 'x');
    EXPECT_EQ(log,
        (std::vector<std::string> {
            "draw 0 0" + strTail, "draw 1 1" + strTail, "draw 2 2" + strTail, "header 100 0" }));
    header.UnsubclassWindow();
    list.UnsubclassWindow();
    dialog.DestroyWindow();
}

TEST_F(ListCtrlWrappersTest, DragImageIsTheRowsIconAndLabelAndTheEditorIsOneObject)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT, Rect(0, 0, 200, 150), &parent, ID_LIST));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 80);
    list.InsertColumn(1, "Kind", LVCFMT_LEFT, 80);
    EXPECT_EQ(list.InsertItem(0, "beta"), 0);
    EXPECT_EQ(list.InsertItem(0, "Alpha", 3), 0);
    RECT rc {};
    ASSERT_TRUE(list.GetItemRect(1, &rc, LVIR_LABEL));

    // The drag image is the row's icon and label, at their place; the caller owns it.
    POINT pt { -1, -1 };
    std::unique_ptr<CImageList> pDrag(list.CreateDragImage(1, &pt));
    ASSERT_NE(pDrag, nullptr);
    EXPECT_EQ(pDrag->GetImageCount(), 1);
    RECT rcIcon { LVIR_ICON, 0, 0, 0 };
    list.GetItemRect(1, &rcIcon, LVIR_ICON);
    EXPECT_EQ(pt.x, rcIcon.left);
    EXPECT_EQ(pt.y, rc.top);
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(pDrag->GetSafeHandle(), &cx, &cy);
    EXPECT_EQ(cx, rc.right - rcIcon.left);
    EXPECT_EQ(cy, rc.bottom - rc.top);
    EXPECT_EQ(list.CreateDragImage(5, &pt), nullptr);

    EXPECT_EQ(list.GetEditControl(), nullptr);
    EXPECT_EQ(list.EditLabel(5), nullptr);
    CEdit* pEdit = list.EditLabel(1);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(list.GetEditControl(), pEdit);
    parent.DestroyWindow();
}

} // namespace
