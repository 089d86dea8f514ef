#pragma once

// CCheckListBox: an owner-drawn list box with a check box before every item.
//
// The owner creates (or subclasses) a list box with LBS_OWNERDRAWFIXED or
// LBS_OWNERDRAWVARIABLE and LBS_HASSTRINGS. Each item keeps a check state
// (0 clear, 1 checked, 2 indeterminate), an enabled flag and the caller's
// value (GetItemData/SetItemData), apart from one another.
//
// With BS_AUTOCHECKBOX (0 -> 1 -> 0) or BS_AUTO3STATE (0 -> 1 -> 2 -> 0) a
// click on an enabled item's box, or Space on the caret item, moves its state
// on and sends CLBN_CHKCHANGE to the parent in WM_COMMAND (ON_CLBN_CHKCHANGE).
// With BS_CHECKBOX only SetCheck changes a state; SetCheck never notifies.
//
// The box is drawn here, in a column CHECK_COLUMN pixels wide at the item's
// left; the virtual DrawItem then gets the rectangle right of it and the
// caller's value as itemData. The default DrawItem draws the text.

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CListBox.h"
#include "platform/framework/MessageMap.h"

#include <memory>
#include <unordered_map>

// The notification sent when the user changes an item's check state.
constexpr UINT CLBN_CHKCHANGE = 40;
#define ON_CLBN_CHKCHANGE(id, memberFxn) ON_CONTROL(CLBN_CHKCHANGE, id, memberFxn)

class CCheckListBox : public CListBox {
    DECLARE_DYNAMIC(CCheckListBox)

public:
    /* Layout, in pixels. */
    static constexpr int CHECK_SIZE = 13;
    static constexpr int CHECK_MARGIN = 2;
    static constexpr int CHECK_COLUMN = CHECK_SIZE + 2 * CHECK_MARGIN;
    static constexpr COLORREF DISABLED_TEXT = 0x808080;

    CCheckListBox() = default;

    /* Check style and states. Bad indexes answer LB_ERR (getters) or are ignored. */

    // BS_CHECKBOX, BS_AUTOCHECKBOX or BS_AUTO3STATE; FALSE for another style.
    BOOL SetCheckStyle(UINT nStyle);
    UINT GetCheckStyle() const { return m_nStyle; }
    void SetCheck(int nIndex, int nCheck);
    int GetCheck(int nIndex) const;
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex) const;

    /* Items: the list's calls, keeping each item's state with it. */

    int AddString(LPCTSTR lpszItem);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);

    // The box's rectangle within an item's rectangle.
    static RECT CheckBoxRect(const RECT& rcItem);

    /* What subclasses override. */

    // Draws the item right of its box; itemData is the caller's value.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The text height; the list never makes an item lower than its box.
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Draws the box, then hands the rest to DrawItem and MeasureItem.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    // Draws an item as the default DrawItem does, its text nTextIndent pixels
    // from the rectangle's left: the background, grey text when the item or
    // the list is disabled, highlight colours when selected, the focus frame.
    void DrawTextItem(LPDRAWITEMSTRUCT lpDrawItemStruct, int nTextIndent);

    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

private:
    struct CItemState {
        int nCheck { 0 };
        BOOL bEnabled { TRUE };
        DWORD_PTR dwData { 0 };
    };

    CItemState* State(int nIndex) const;
    int AttachState(int nIndex);
    // Moves an automatic box on and notifies; FALSE when the item takes no toggle.
    BOOL Toggle(int nIndex);
    // The item whose box holds the point; -1 for none.
    int ItemOfBox(CPoint point) const;

    UINT m_nStyle { BS_AUTOCHECKBOX };
    // Every item's state, owned here; each item's list value points at one.
    std::unordered_map<const CItemState*, std::unique_ptr<CItemState>> m_states;
};
