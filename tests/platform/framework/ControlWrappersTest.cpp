#include "platform/framework/CButton.h"
#include "platform/framework/CComboBox.h"
#include "platform/framework/CEdit.h"
#include "platform/framework/CListBox.h"
#include "platform/framework/CScrollBar.h"
#include "platform/framework/CStatic.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "tests/platform/framework/FrameworkTestSupport.h"

#include <memory>

namespace {

constexpr UINT ID_BUTTON = 300;
constexpr UINT ID_LABEL = 301;
constexpr COLORREF RED = RGB(255, 0, 0);

// A button that draws itself and logs what it was asked to draw.
class COwnerDrawnButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        HandlerLog::Add("draw " + std::to_string(lpDrawItemStruct->CtlType) + " state "
            + std::to_string(lpDrawItemStruct->itemState));
        FillRect(lpDrawItemStruct->hDC, &lpDrawItemStruct->rcItem, m_hBrush.get());
    }

private:
    std::unique_ptr<std::remove_pointer_t<HBRUSH>, decltype(&DeleteObject)> m_hBrush { CreateSolidBrush(RED),
        &DeleteObject };
};

// A label that colours itself through the reflected WM_CTLCOLOR.
class CRedLabel : public CStatic {
    DECLARE_MESSAGE_MAP()

public:
    ~CRedLabel() override { DeleteObject(m_hBrush); }

protected:
    HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        HandlerLog::Add("label colour " + std::to_string(nCtlColor));
        return m_hBrush;
    }

private:
    HBRUSH m_hBrush { CreateSolidBrush(RED) };
};

// clang-format off
BEGIN_MESSAGE_MAP(CRedLabel, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()
// clang-format on

// A parent that handles its button's click.
class CButtonParent : public CWnd {
    DECLARE_MESSAGE_MAP()

protected:
    void OnButtonClicked() { HandlerLog::Add("clicked"); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CButtonParent, CWnd)
    ON_BN_CLICKED(ID_BUTTON, &CButtonParent::OnButtonClicked)
END_MESSAGE_MAP()
// clang-format on

// A list of values that draws, measures, sorts and forgets them itself.
class CValueList : public CListBox {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        HandlerLog::Add("draw " + std::to_string(lpDrawItemStruct->itemData));
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override
    {
        lpMeasureItemStruct->itemHeight = 10 + static_cast<UINT>(lpMeasureItemStruct->itemData);
    }
    int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override
    {
        return static_cast<int>(lpCompareItemStruct->itemData1) - static_cast<int>(lpCompareItemStruct->itemData2);
    }
    void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override
    {
        HandlerLog::Add("delete " + std::to_string(lpDeleteItemStruct->itemData));
    }
    int VKeyToItem(UINT nKey, UINT) override { return nKey == VK_DOWN ? 2 : -2; }
};

// A combo box of values that draws and measures them itself.
class CValueCombo : public CComboBox {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        HandlerLog::Add("combo draw " + std::to_string(static_cast<int>(lpDrawItemStruct->itemID)));
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override { lpMeasureItemStruct->itemHeight = 21; }
};

// A parent that moves its scroll bar as the bar asks.
class CScrollingParent : public CWnd {
    DECLARE_MESSAGE_MAP()

protected:
    void OnVScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
    {
        HandlerLog::Add("scroll " + std::to_string(nSBCode));
        if (nSBCode == SB_LINEDOWN && pScrollBar)
            pScrollBar->SetScrollPos(pScrollBar->GetScrollPos() + 1);
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CScrollingParent, CWnd)
    ON_WM_VSCROLL()
END_MESSAGE_MAP()
// clang-format on

class ControlWrappersTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    }

    COLORREF PixelAt(int x, int y)
    {
        PumpUntilIdle();
        HBITMAP hbm = CaptureWindowImage(m_parent.m_hWnd);
        HDC hdc = CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        COLORREF color = GetPixel(hdc, x, y);
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hbm);
        return color;
    }

    CButtonParent m_parent;
};

TEST_F(ControlWrappersTest, OwnerDrawnButtonDrawsThroughReflectionAndItsParentSeesTheClick)
{
    COwnerDrawnButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_OWNERDRAW, Rect(10, 10, 40, 20), &m_parent, ID_BUTTON));
    EXPECT_EQ(PixelAt(20, 20), RED);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "draw 4 state 0" }));

    button.SetState(TRUE);
    EXPECT_TRUE(button.GetState() & BST_PUSHED);
    PumpUntilIdle();
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "draw 4 state 1" }));
    button.SetState(FALSE);
    PumpUntilIdle();
    HandlerLog::Take();

    button.SendMessage(BM_CLICK);
    PumpUntilIdle();
    std::vector<std::string> log = HandlerLog::Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "clicked"), log.end());
}

TEST_F(ControlWrappersTest, LabelPaintsWithTheBrushItsReflectedColourHandlerGives)
{
    CRedLabel label;
    ASSERT_TRUE(label.Create("", WS_VISIBLE | SS_LEFT, Rect(10, 10, 40, 20), &m_parent, ID_LABEL));
    EXPECT_EQ(PixelAt(20, 20), RED);
    std::vector<std::string> log = HandlerLog::Take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "label colour " + std::to_string(CTLCOLOR_STATIC));
}

TEST_F(ControlWrappersTest, PlainWindowObjectsCreateStandardControlsByName)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.Create("STATIC", "text", WS_VISIBLE | SS_BITMAP, Rect(0, 0, 30, 30), &m_parent, ID_LABEL));
    char name[16] {};
    GetClassName(wnd.m_hWnd, name, sizeof(name));
    EXPECT_STREQ(name, "Static");
    EXPECT_EQ(wnd.SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_STATIC));
}

TEST_F(ControlWrappersTest, CheckBoxStateFollowsClicksAndStyleChangesTheKind)
{
    CButton button;
    ASSERT_TRUE(button.Create("Check", WS_VISIBLE | BS_AUTO3STATE, Rect(10, 10, 80, 20), &m_parent, ID_BUTTON));
    button.SendMessage(BM_CLICK);
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.GetCheck(), BST_INDETERMINATE);

    button.SetButtonStyle(BS_DEFPUSHBUTTON);
    EXPECT_EQ(button.GetButtonStyle(), BS_DEFPUSHBUTTON);
    EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_BUTTON | DLGC_DEFPUSHBUTTON));
    EXPECT_EQ(button.GetCheck(), BST_UNCHECKED);
}

TEST_F(ControlWrappersTest, ScrollBarObjectReachesItsParentsScrollHandler)
{
    CScrollingParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 300, nullptr, nullptr));
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE | SBS_VERT, Rect(10, 10, 16, 200), &parent, 400));
    SCROLLINFO si { 0, SIF_RANGE | SIF_PAGE, 0, 100, 10, 0, 0 };
    ASSERT_TRUE(bar.SetScrollInfo(&si));
    EXPECT_EQ(bar.GetScrollLimit(), 91);
    HandlerLog::Take();

    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(8, 195));
    bar.SendMessage(WM_LBUTTONUP, 0, MAKELONG(8, 195));
    EXPECT_EQ(HandlerLog::Take(),
        (std::vector<std::string> {
            "scroll " + std::to_string(SB_LINEDOWN), "scroll " + std::to_string(SB_ENDSCROLL) }));
    EXPECT_EQ(bar.GetScrollPos(), 1);
    EXPECT_EQ(bar.SetScrollPos(500), 1);
    EXPECT_EQ(bar.GetScrollPos(), 91);
}

TEST_F(ControlWrappersTest, EditWrapperLimitsSelectsAndReadsLines)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL, Rect(10, 10, 150, 60), &m_parent, 500));
    edit.SetWindowText("first\r\nsecond");
    EXPECT_EQ(edit.GetLineCount(), 2);
    EXPECT_EQ(edit.LineIndex(1), 7);
    char line[16] {};
    EXPECT_EQ(edit.GetLine(1, line, sizeof(line)), 6);
    EXPECT_STREQ(line, "second");
    EXPECT_EQ(edit.GetLine(0, line, 1), 1);

    edit.SetSel(0, -1);
    int nStart = -1;
    int nEnd = -1;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 13);
    edit.LimitText(3);
    edit.ReplaceSel("abcdef", TRUE);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, CString("abc"));
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(edit.LineIndex(1), 7);
}

TEST_F(ControlWrappersTest, ListBoxHooksAnswerTheQuestionsTheListAsksItsParent)
{
    CValueList list;
    ASSERT_TRUE(list.Create(
        WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_SORT | LBS_WANTKEYBOARDINPUT, Rect(10, 10, 100, 80), &m_parent, 600));
    for (DWORD_PTR nValue : { 5, 1, 3 })
        list.AddString(reinterpret_cast<LPCTSTR>(nValue));
    EXPECT_EQ(list.GetItemData(0), 1u);
    EXPECT_EQ(list.GetItemData(2), 5u);
    EXPECT_EQ(list.GetItemHeight(2), 15);
    HandlerLog::Take();
    PumpUntilIdle();
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "draw 1", "draw 3", "draw 5" }));

    list.SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(list.GetCurSel(), 2);
    list.SendMessage(WM_KEYDOWN, VK_HOME);
    EXPECT_EQ(list.GetCurSel(), 2);

    list.DeleteString(0);
    std::vector<std::string> log = HandlerLog::Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "delete 1"), log.end());
    CString text;
    list.GetText(5, text);
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(ControlWrappersTest, ComboBoxHooksDrawItsFieldAndItems)
{
    CValueCombo combo;
    ASSERT_TRUE(combo.Create(
        WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, Rect(10, 10, 100, 120), &m_parent, 700));
    EXPECT_EQ(combo.GetItemHeight(0), 21);
    combo.AddString("one");
    combo.AddString("two");
    combo.SetCurSel(1);
    HandlerLog::Take();
    PumpUntilIdle();
    std::vector<std::string> log = HandlerLog::Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "combo draw 1"), log.end());
    CString text;
    combo.GetLBText(0, text);
    EXPECT_EQ(text, CString("one"));
    combo.ShowDropDown();
    EXPECT_TRUE(combo.GetDroppedState());
    combo.ShowDropDown(FALSE);
}

} // namespace

TEST_F(ControlWrappersTest, ItemDataPointersSurviveSortingAndBadIndexesGiveMinusOne)
{
    struct Record {
        int nValue;
    } first { 1 }, second { 2 };
    CListBox list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LBS_SORT, Rect(10, 10, 100, 80), &m_parent, 800));
    list.SetItemDataPtr(list.AddString("zeta"), &first);
    list.SetItemDataPtr(list.AddString("alpha"), &second);
    EXPECT_EQ(static_cast<Record*>(list.GetItemDataPtr(0))->nValue, 2);
    EXPECT_EQ(static_cast<Record*>(list.GetItemDataPtr(1))->nValue, 1);
    EXPECT_EQ(list.GetItemDataPtr(7), reinterpret_cast<void*>(-1));
    EXPECT_EQ(list.SetItemDataPtr(7, &first), LB_ERR);

    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, Rect(110, 10, 80, 80), &m_parent, 801));
    combo.SetItemDataPtr(combo.AddString("b"), &first);
    combo.SetItemDataPtr(combo.AddString("a"), &second);
    EXPECT_EQ(combo.GetItemDataPtr(1), &first);
    EXPECT_EQ(combo.GetItemDataPtr(-1), reinterpret_cast<void*>(-1));
    EXPECT_EQ(combo.SetExtendedUI(), CB_OKAY);
    EXPECT_TRUE(combo.GetExtendedUI());
}
