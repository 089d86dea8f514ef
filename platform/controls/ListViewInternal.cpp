#include "platform/controls/ListViewInternal.h"

#include "platform/window/Window.h"

CListViewState* ListViewSurvivor(HWND hWnd)
{
    return IsWindow(hWnd) ? ListViewState(hWnd) : nullptr;
}

int RowOfSerial(const CListViewState& state, unsigned nSerial, int nHint)
{
    if (IsRow(state, nHint) && state.rows[static_cast<size_t>(nHint)].nSerial == nSerial)
        return nHint;
    for (size_t i = 0; i < state.rows.size(); ++i) {
        if (state.rows[i].nSerial == nSerial)
            return static_cast<int>(i);
    }
    return -1;
}

DWORD ListViewStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

bool IsReportView(HWND hWnd)
{
    return (ListViewStyle(hWnd) & LVS_TYPEMASK) == LVS_REPORT;
}
