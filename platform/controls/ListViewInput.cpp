#include "platform/controls/ListViewInternal.h"

#include "platform/controls/LabelEditor.h"

#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <utility>

namespace {

unsigned SerialOf(const CListViewState& state, int nRow)
{
    return IsRow(state, nRow) ? state.rows[static_cast<size_t>(nRow)].nSerial : 0;
}

// The row's current index after notifications; -1 once it or the list is gone.
int Relocate(HWND hWnd, unsigned nSerial, int nHint)
{
    const CListViewState* pState = ListViewSurvivor(hWnd);
    return pState && nSerial ? RowOfSerial(*pState, nSerial, nHint) : -1;
}

void CancelSlowClick(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    if (pState && pState->nSlowClickSerial) {
        pState->nSlowClickSerial = 0;
        DisarmLabelEditTimer(hWnd);
    }
}

// Deselects every row but nKeep (-1: all of them).
void DeselectOthers(HWND hWnd, int nKeep)
{
    CListViewState* pState = ListViewState(hWnd);
    const unsigned nKeepSerial = SerialOf(*pState, nKeep);
    std::vector<unsigned> selected;
    for (const CListViewRow& row : pState->rows) {
        if ((row.nState & LVIS_SELECTED) && row.nSerial != nKeepSerial)
            selected.push_back(row.nSerial);
    }
    for (unsigned nSerial : selected) {
        const int nRow = Relocate(hWnd, nSerial, 0);
        if (nRow >= 0)
            ChangeRowState(hWnd, nRow, 0, LVIS_SELECTED);
    }
}

// Selects rows nFrom to nTo (either order) and nothing else.
void SelectRange(HWND hWnd, int nFrom, int nTo)
{
    CListViewState* pState = ListViewState(hWnd);
    const unsigned nFromSerial = SerialOf(*pState, nFrom);
    const unsigned nToSerial = SerialOf(*pState, nTo);
    std::vector<unsigned> serials;
    for (const CListViewRow& row : pState->rows)
        serials.push_back(row.nSerial);
    bool bInside = false;
    for (size_t i = 0; i < serials.size(); ++i) {
        const bool bEdge = serials[i] == nFromSerial || serials[i] == nToSerial;
        const bool bSelect = bInside || bEdge;
        if (bEdge && (nFromSerial != nToSerial))
            bInside = !bInside;
        const int nRow = Relocate(hWnd, serials[i], static_cast<int>(i));
        if (nRow >= 0)
            ChangeRowState(hWnd, nRow, bSelect ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
}

// Makes nRow the focused row, selecting it alone, extending from the anchor
// (Shift) or leaving the selection (Ctrl), and scrolls it into sight.
void MoveFocus(HWND hWnd, int nRow, bool bShift, bool bCtrl)
{
    CListViewState* pState = ListViewState(hWnd);
    const unsigned nSerial = SerialOf(*pState, nRow);
    if (bShift && !(ListViewStyle(hWnd) & LVS_SINGLESEL)) {
        const int nAnchor = IsRow(*pState, pState->nAnchor) ? pState->nAnchor : nRow;
        SelectRange(hWnd, nAnchor, nRow);
    } else if (!bCtrl) {
        DeselectOthers(hWnd, nRow);
        if ((nRow = Relocate(hWnd, nSerial, nRow)) >= 0)
            ChangeRowState(hWnd, nRow, LVIS_SELECTED, LVIS_SELECTED);
        if ((pState = ListViewSurvivor(hWnd)))
            pState->nAnchor = Relocate(hWnd, nSerial, nRow);
    }
    if ((nRow = Relocate(hWnd, nSerial, nRow)) < 0)
        return;
    ChangeRowState(hWnd, nRow, LVIS_FOCUSED, LVIS_FOCUSED);
    if ((nRow = Relocate(hWnd, nSerial, nRow)) >= 0)
        EnsureRowVisible(hWnd, nRow);
}

LRESULT NotifyClick(HWND hWnd, UINT nCode, const LVHITTESTINFO& hit)
{
    NMITEMACTIVATE nm {};
    nm.iItem = hit.iItem;
    nm.iSubItem = hit.iSubItem;
    nm.ptAction = hit.pt;
    const CListViewState* pState = ListViewState(hWnd);
    if (IsRow(*pState, hit.iItem))
        nm.lParam = pState->rows[static_cast<size_t>(hit.iItem)].lParam;
    return SendNotify(hWnd, nCode, &nm.hdr);
}

// A press selects at once; the drag-detect loop then tells a drag, which
// sends LVN_BEGINDRAG before this returns, from a click. Pressing a row that
// is already selected keeps the others selected until the release, so a drag
// carries the whole selection.
void OnButtonDown(HWND hWnd, WPARAM wParam, LPARAM lParam, bool bRight, bool bDouble)
{
    CancelSlowClick(hWnd);
    const bool bHadFocus = GetFocus() == hWnd;
    if (!bHadFocus)
        SetFocus(hWnd);
    CListViewState* pState = ListViewSurvivor(hWnd);
    if (!pState)
        return;
    LVHITTESTINFO hit {};
    hit.pt = MousePointOf(lParam);
    int nRow = ListViewHitTest(hWnd, *pState, &hit, false);
    const bool bCtrl = !bRight && (wParam & MK_CONTROL);
    const bool bShift = !bRight && (wParam & MK_SHIFT);
    const unsigned nSerial = SerialOf(*pState, nRow);
    // A second click on the label of the focused, selected row edits it
    // unless a double click follows.
    constexpr UINT FOCUSED_SELECTED = LVIS_FOCUSED | LVIS_SELECTED;
    const bool bSlowClick = bHadFocus && !bRight && !bDouble && !bCtrl && !bShift && nRow >= 0
        && (hit.flags & LVHT_ONITEMLABEL) && (ListViewStyle(hWnd) & LVS_EDITLABELS)
        && (pState->rows[static_cast<size_t>(nRow)].nState & FOCUSED_SELECTED) == FOCUSED_SELECTED;
    bool bDeferred = false;
    if (nRow < 0) {
        if (!bCtrl && !bShift)
            DeselectOthers(hWnd, -1);
    } else if (bCtrl) {
        const bool bSelected = (pState->rows[static_cast<size_t>(nRow)].nState & LVIS_SELECTED) != 0;
        ChangeRowState(hWnd, nRow, bSelected ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        if ((nRow = Relocate(hWnd, nSerial, nRow)) >= 0) {
            ListViewState(hWnd)->nAnchor = nRow;
            MoveFocus(hWnd, nRow, false, true);
        }
    } else if (pState->rows[static_cast<size_t>(nRow)].nState & LVIS_SELECTED) {
        bDeferred = !bShift;
        MoveFocus(hWnd, nRow, bShift, !bShift);
    } else {
        MoveFocus(hWnd, nRow, bShift, false);
    }
    if (!ListViewSurvivor(hWnd))
        return;
    hit.iItem = nRow < 0 ? -1 : Relocate(hWnd, nSerial, nRow);
    if (bDouble) {
        NotifyClick(hWnd, NM_DBLCLK, hit);
        return;
    }
    if (bRight) {
        if (!NotifyClick(hWnd, NM_RCLICK, hit) && IsWindow(hWnd)) {
            POINT ptScreen = hit.pt;
            ClientToScreen(hWnd, &ptScreen);
            SendMessage(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(ptScreen.x, ptScreen.y));
        }
        return;
    }
    POINT ptScreen = hit.pt;
    ClientToScreen(hWnd, &ptScreen);
    const BOOL bDragged = hit.iItem >= 0 && DragDetect(hWnd, ptScreen);
    if (!ListViewSurvivor(hWnd))
        return;
    hit.iItem = hit.iItem < 0 ? -1 : Relocate(hWnd, nSerial, hit.iItem);
    if (bDragged) {
        if (hit.iItem >= 0)
            NotifyListView(hWnd, LVN_BEGINDRAG, hit.iItem, 0, 0, 0, hit.pt);
        return;
    }
    if (bDeferred && hit.iItem >= 0)
        DeselectOthers(hWnd, hit.iItem);
    if (ListViewSurvivor(hWnd))
        NotifyClick(hWnd, NM_CLICK, hit);
    if (bSlowClick && hit.iItem >= 0 && (pState = ListViewSurvivor(hWnd))) {
        pState->nSlowClickSerial = nSerial;
        ArmLabelEditTimer(hWnd);
    }
}

// The double-click time passed after a slow second click: the row's label is edited.
void OnSlowClickTimer(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    const unsigned nSerial = std::exchange(pState->nSlowClickSerial, 0);
    DisarmLabelEditTimer(hWnd);
    const int nRow = nSerial ? RowOfSerial(*pState, nSerial, 0) : -1;
    if (nRow >= 0 && GetFocus() == hWnd)
        EditLabel(hWnd, nRow);
}

// Every key reaches the parent as LVN_KEYDOWN first; then Enter sends
// NM_RETURN, the arrows, Home, End and the page keys move the focus (Shift extends, Ctrl moves only the
// focus), Space selects (Ctrl+Space toggles) and F2 edits the focused
// row's label.
void OnKeyDown(HWND hWnd, WPARAM wParam, LPARAM lParam, bool bSystem)
{
    CancelSlowClick(hWnd);
    NMLVKEYDOWN nm {};
    nm.wVKey = static_cast<WORD>(wParam);
    nm.flags = static_cast<UINT>(HIWORD(lParam));
    SendNotify(hWnd, LVN_KEYDOWN, &nm.hdr);
    CListViewState* pState = ListViewSurvivor(hWnd);
    if (!pState || bSystem)
        return;
    if (wParam == VK_RETURN) {
        NMHDR nmReturn {};
        SendNotify(hWnd, NM_RETURN, &nmReturn);
        return;
    }
    if (RowCount(*pState) == 0)
        return;
    const bool bShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool bCtrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const int nFocus = FocusedRow(*pState);
    const int nPage = RowsPerPage(hWnd, *pState);
    const int nLast = RowCount(*pState) - 1;
    const int nStep = ScrollStep(hWnd);
    int nTarget = -1;
    switch (wParam) {
    case VK_UP:
        nTarget = nFocus < 0 ? 0 : nFocus - nStep;
        break;
    case VK_DOWN:
        nTarget = nFocus < 0 ? 0 : nFocus + nStep;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        // Report rows have no neighbours sideways.
        if (IsReportView(hWnd))
            return;
        nTarget = nFocus < 0 ? 0 : nFocus + (wParam == VK_LEFT ? -1 : 1);
        break;
    case VK_HOME:
        nTarget = 0;
        break;
    case VK_END:
        nTarget = nLast;
        break;
    case VK_PRIOR:
        nTarget = std::max(nFocus, 0) - std::max(nPage - nStep, nStep);
        break;
    case VK_NEXT:
        nTarget = std::max(nFocus, 0) + std::max(nPage - nStep, nStep);
        break;
    case VK_F2:
        if ((ListViewStyle(hWnd) & LVS_EDITLABELS) && nFocus >= 0)
            EditLabel(hWnd, nFocus);
        return;
    case VK_SPACE:
        if (nFocus >= 0) {
            const bool bSelected = (pState->rows[static_cast<size_t>(nFocus)].nState & LVIS_SELECTED) != 0;
            ChangeRowState(hWnd, nFocus, bCtrl && bSelected ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        }
        return;
    default:
        return;
    }
    MoveFocus(hWnd, std::clamp(nTarget, 0, nLast), bShift, bCtrl);
}

// A typed character moves the focus and the selection to the next row whose
// label starts with what was typed.
void OnChar(HWND hWnd, WPARAM nChar)
{
    CListViewState* pState = ListViewState(hWnd);
    if (nChar < 0x20 || nChar > 0xFF || !pState)
        return;
    const int nRow = pState->typeAhead.Type(static_cast<char>(nChar), static_cast<DWORD>(GetMessageTime()),
        RowCount(*pState), FocusedRow(*pState), [&](int i) { return RowText(hWnd, i, 0); });
    if (nRow >= 0 && ListViewSurvivor(hWnd) && IsRow(*ListViewState(hWnd), nRow))
        MoveFocus(hWnd, nRow, false, false);
}

} // namespace

BOOL HandleListViewInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        OnButtonDown(hWnd, wParam, lParam, uMsg == WM_RBUTTONDOWN, uMsg == WM_LBUTTONDBLCLK);
        return TRUE;
    case WM_RBUTTONUP:
        // The press already asked for the context menu.
        return TRUE;
    case WM_TIMER:
        if (wParam != LABEL_EDIT_TIMER)
            return FALSE;
        OnSlowClickTimer(hWnd);
        return TRUE;
    case WM_KEYDOWN:
        OnKeyDown(hWnd, wParam, lParam, false);
        return TRUE;
    case WM_CHAR:
        OnChar(hWnd, wParam);
        return TRUE;
    case WM_SYSKEYDOWN:
        // The parent hears Alt keys too; menu keys then go on as usual.
        OnKeyDown(hWnd, wParam, lParam, true);
        if (IsWindow(hWnd))
            DefWindowProc(hWnd, uMsg, wParam, lParam);
        return TRUE;
    default:
        return FALSE;
    }
}
