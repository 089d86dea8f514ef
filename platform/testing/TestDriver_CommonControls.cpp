// CTestDriver: reading, clicking and dragging list views, their headers and trees.

#include "platform/testing/TestDriver.h"

#include "platform/base/Threads.h"

#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/controls/StatusBarControl.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/framework/CCheckListBox.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

// The size of the buffer the driver reads texts with.
constexpr int DRIVER_TEXT_BUFFER = 1024;

HWND HeaderOf(HWND hList)
{
    return reinterpret_cast<HWND>(SendMessage(hList, LVM_GETHEADER, 0, 0));
}

// The header itself, or the list's header.
HWND HeaderWindow(HWND hListOrHeader)
{
    char szClass[32] {};
    GetClassName(hListOrHeader, szClass, sizeof(szClass));
    return std::string_view(szClass) == WC_HEADER ? hListOrHeader : HeaderOf(hListOrHeader);
}

BOOL HeaderItemRect(HWND hHeader, int nIndex, RECT* pRect)
{
    return hHeader
        && SendMessage(hHeader, HDM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pRect));
}

int ColumnCount(HWND hList)
{
    HWND hHeader = HeaderOf(hList);
    return hHeader ? static_cast<int>(SendMessage(hHeader, HDM_GETITEMCOUNT, 0, 0)) : 1;
}

CString ListText(HWND hList, int nRow, int nSubItem)
{
    char szText[DRIVER_TEXT_BUFFER] {};
    LVITEM item {};
    item.iSubItem = nSubItem;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    SendMessage(hList, LVM_GETITEMTEXT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    return szText;
}

CString TreeText(HWND hTree, HTREEITEM hItem)
{
    char szText[DRIVER_TEXT_BUFFER] {};
    TVITEM item {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    SendMessage(hTree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    return szText;
}

HTREEITEM NextItem(HWND hTree, UINT nCode, HTREEITEM hItem)
{
    return reinterpret_cast<HTREEITEM>(SendMessage(hTree, TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
}

UINT TreeState(HWND hTree, HTREEITEM hItem, UINT nMask)
{
    TVITEM item {};
    item.mask = TVIF_STATE;
    item.hItem = hItem;
    item.stateMask = nMask;
    return SendMessage(hTree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)) ? item.state & nMask : 0;
}

// The client rectangle of an item's row, after scrolling it into sight; FALSE when it cannot be shown.
BOOL ShownTreeRow(HWND hTree, HTREEITEM hItem, BOOL bLabel, RECT* pRect)
{
    if (!SendMessage(hTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem)))
        return FALSE;
    std::memcpy(pRect, &hItem, sizeof(hItem)); // NOLINT(bugprone-sizeof-expression): the item travels in the rectangle
    return static_cast<BOOL>(
        SendMessage(hTree, TVM_GETITEMRECT, static_cast<WPARAM>(bLabel), reinterpret_cast<LPARAM>(pRect)));
}

} // namespace

std::vector<std::vector<CString>> CTestDriver::ListRows(HWND hList)
{
    std::vector<std::vector<CString>> rows;
    const int nColumns = ColumnCount(hList);
    const auto nRows = static_cast<int>(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int nRow = 0; nRow < nRows; ++nRow) {
        std::vector<CString> texts;
        for (int nColumn = 0; nColumn < std::max(nColumns, 1); ++nColumn)
            texts.push_back(ListText(hList, nRow, nColumn));
        rows.push_back(std::move(texts));
    }
    return rows;
}

std::vector<int> CTestDriver::ListSelection(HWND hList)
{
    std::vector<int> rows;
    for (int nRow = -1;
         (nRow = static_cast<int>(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(nRow), LVNI_SELECTED))) >= 0;)
        rows.push_back(nRow);
    return rows;
}

int CTestDriver::ListFocus(HWND hList)
{
    return static_cast<int>(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

std::vector<int> CTestDriver::ListColumnOrder(HWND hList)
{
    std::vector<int> order(static_cast<size_t>(ColumnCount(hList)));
    if (!order.empty())
        SendMessage(HeaderOf(hList), HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

std::vector<int> CTestDriver::ListColumnWidths(HWND hList)
{
    std::vector<int> widths;
    for (int nColumn = 0; nColumn < ColumnCount(hList); ++nColumn)
        widths.push_back(static_cast<int>(SendMessage(hList, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nColumn), 0)));
    return widths;
}

BOOL CTestDriver::ClickListRow(HWND hList, int nRow, int nSubItem, UINT nModifiers)
{
    if (!SendMessage(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRow), FALSE))
        return FALSE;
    RECT rc { LVIR_LABEL, nSubItem, 0, 0 };
    if (!SendMessage(hList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&rc)))
        return FALSE;
    return Click(hList, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2, nModifiers);
}

BOOL CTestDriver::ClickHeaderItem(HWND hListOrHeader, int nIndex)
{
    HWND hHeader = HeaderWindow(hListOrHeader);
    RECT rc {};
    if (!HeaderItemRect(hHeader, nIndex, &rc))
        return FALSE;
    return Click(hHeader, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

BOOL CTestDriver::DragHeaderDivider(HWND hListOrHeader, int nIndex, int dx)
{
    HWND hHeader = HeaderWindow(hListOrHeader);
    RECT rc {};
    if (!HeaderItemRect(hHeader, nIndex, &rc))
        return FALSE;
    const int y = (rc.top + rc.bottom) / 2;
    return Drag(hHeader, POINT { rc.right, y }, POINT { rc.right + dx, y });
}

BOOL CTestDriver::DragHeaderItem(HWND hListOrHeader, int nIndex, int nToPosition)
{
    HWND hHeader = HeaderWindow(hListOrHeader);
    RECT rcFrom {};
    RECT rcTo {};
    const auto nTarget = static_cast<int>(SendMessage(hHeader, HDM_ORDERTOINDEX, static_cast<WPARAM>(nToPosition), 0));
    if (!HeaderItemRect(hHeader, nIndex, &rcFrom) || !HeaderItemRect(hHeader, nTarget, &rcTo))
        return FALSE;
    // A drop near the target's edge on the far side from where the item comes
    // puts the dragged item at the target's position. The drag-detect loop
    // takes the first move; the ghost follows the next.
    const int y = (rcFrom.top + rcFrom.bottom) / 2;
    POINT from { (rcFrom.left + rcFrom.right) / 2, y };
    POINT to { rcTo.left > rcFrom.left ? rcTo.right - 2 : rcTo.left + 2, y };
    POINT away { from.x + (to.x < from.x ? -1 : 1) * 2 * GetSystemMetrics(SM_CXDRAG), y };
    if (!ClientToScreen(hHeader, &from) || !ClientToScreen(hHeader, &away) || !ClientToScreen(hHeader, &to))
        return FALSE;
    return RunMouseGesture({ CMouseInput { EMouseAction::Move, EMouseButton::None, from, 0 },
        CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, from, 0 },
        CMouseInput { EMouseAction::Move, EMouseButton::None, away, 0 },
        CMouseInput { EMouseAction::Move, EMouseButton::None, to, 0 },
        CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, to, 0 } });
}

HTREEITEM CTestDriver::TreeItem(HWND hTree, const std::vector<CString>& path)
{
    HTREEITEM hParent = TVI_ROOT;
    HTREEITEM hFound = nullptr;
    for (const CString& strStep : path) {
        hFound = nullptr;
        for (HTREEITEM h = NextItem(hTree, TVGN_CHILD, hParent); h && !hFound; h = NextItem(hTree, TVGN_NEXT, h)) {
            if (TreeText(hTree, h) == strStep)
                hFound = h;
        }
        if (!hFound)
            return nullptr;
        hParent = hFound;
    }
    return hFound;
}

std::vector<CString> CTestDriver::TreeChildren(HWND hTree, HTREEITEM hParent)
{
    std::vector<CString> texts;
    for (HTREEITEM h = NextItem(hTree, TVGN_CHILD, hParent ? hParent : TVI_ROOT); h; h = NextItem(hTree, TVGN_NEXT, h))
        texts.push_back(TreeText(hTree, h));
    return texts;
}

BOOL CTestDriver::IsTreeExpanded(HWND hTree, HTREEITEM hItem)
{
    return TreeState(hTree, hItem, TVIS_EXPANDED) != 0;
}

UINT CTestDriver::TreeStateImage(HWND hTree, HTREEITEM hItem)
{
    return TreeState(hTree, hItem, TVIS_STATEIMAGEMASK) >> 12;
}

BOOL CTestDriver::ClickTreeItem(HWND hTree, HTREEITEM hItem)
{
    RECT rc {};
    if (!ShownTreeRow(hTree, hItem, TRUE, &rc))
        return FALSE;
    return Click(hTree, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// The state icon lies left of the label: the driver finds it as a user's eye would, by hit tests along the row.
BOOL CTestDriver::TreeStateIconPoint(HWND hTree, HTREEITEM hItem, POINT* pPoint)
{
    RECT rcLabel {};
    if (!ShownTreeRow(hTree, hItem, TRUE, &rcLabel))
        return FALSE;
    const int y = (rcLabel.top + rcLabel.bottom) / 2;
    auto onStateIcon = [&](int x) {
        TVHITTESTINFO hit { POINT { x, y }, 0, nullptr };
        SendMessage(hTree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        return hit.hItem == hItem && (hit.flags & TVHT_ONITEMSTATEICON);
    };
    int xRight = std::max<int>(rcLabel.left - 1, 0);
    while (xRight >= 0 && !onStateIcon(xRight))
        --xRight;
    if (xRight < 0)
        return FALSE;
    int xLeft = xRight;
    while (xLeft > 0 && onStateIcon(xLeft - 1))
        --xLeft;
    *pPoint = POINT { (xLeft + xRight) / 2, y };
    return TRUE;
}

BOOL CTestDriver::ClickTreeStateIcon(HWND hTree, HTREEITEM hItem)
{
    POINT pt {};
    return TreeStateIconPoint(hTree, hItem, &pt) && Click(hTree, pt.x, pt.y);
}

/***** Check lists *****/

namespace {

CCheckListBox* CheckListOf(HWND hList)
{
    return dynamic_cast<CCheckListBox*>(CWnd::FromHandlePermanent(hList));
}

} // namespace

std::vector<int> CTestDriver::CheckListStates(HWND hList)
{
    std::vector<int> states;
    if (const CCheckListBox* pList = CheckListOf(hList))
        for (int nIndex = 0; nIndex < pList->GetCount(); ++nIndex)
            states.push_back(pList->GetCheck(nIndex));
    return states;
}

std::vector<BOOL> CTestDriver::CheckListEnabled(HWND hList)
{
    std::vector<BOOL> enabled;
    if (const CCheckListBox* pList = CheckListOf(hList))
        for (int nIndex = 0; nIndex < pList->GetCount(); ++nIndex)
            enabled.push_back(pList->IsEnabled(nIndex));
    return enabled;
}

BOOL CTestDriver::CheckListBoxPoint(HWND hList, int nIndex, POINT* pPoint)
{
    CCheckListBox* pList = CheckListOf(hList);
    if (!pList || nIndex < 0 || nIndex >= pList->GetCount())
        return FALSE;
    RECT rcClient {};
    RECT rcItem {};
    GetClientRect(hList, &rcClient);
    if (pList->GetItemRect(nIndex, &rcItem) == LB_ERR || rcItem.top < rcClient.top || rcItem.bottom > rcClient.bottom) {
        pList->SetTopIndex(nIndex);
        Pump();
        pList->GetItemRect(nIndex, &rcItem);
    }
    const RECT box = CCheckListBox::CheckBoxRect(rcItem);
    *pPoint = POINT { (box.left + box.right) / 2, (box.top + box.bottom) / 2 };
    return TRUE;
}

BOOL CTestDriver::ClickCheckListBox(HWND hList, int nIndex)
{
    POINT pt {};
    return CheckListBoxPoint(hList, nIndex, &pt) && Click(hList, pt.x, pt.y);
}

/***** Bars *****/

int CTestDriver::ToolbarButtonState(HWND hToolbar, UINT nCommand)
{
    return static_cast<int>(SendMessage(hToolbar, TB_GETSTATE, nCommand, 0));
}

CString CTestDriver::StatusPaneText(HWND hStatusBar, int nPane)
{
    const LRESULT nInfo = SendMessage(hStatusBar, SB_GETTEXTLENGTH, static_cast<WPARAM>(nPane), 0);
    std::string strText(static_cast<size_t>(LOWORD(nInfo)) + 1, '\0');
    SendMessage(hStatusBar, SB_GETTEXT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(strText.data()));
    return CString(strText.c_str());
}

CString CTestDriver::ShownTipText()
{
    CString strTip;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            char szClass[32] {};
            ::GetClassName(hWnd, szClass, sizeof(szClass));
            if (std::string_view(szClass) != TOOLTIPS_CLASS || !::IsWindowVisible(hWnd))
                return TRUE;
            TOOLINFO info {};
            info.cbSize = sizeof(info);
            char szText[80] {};
            ::SendMessage(hWnd, TTM_GETCURRENTTOOL, 0, reinterpret_cast<LPARAM>(&info));
            info.lpszText = szText;
            ::SendMessage(hWnd, TTM_GETTEXT, 0, reinterpret_cast<LPARAM>(&info));
            *reinterpret_cast<CString*>(lParam) = szText;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&strTip));
    return strTip;
}
