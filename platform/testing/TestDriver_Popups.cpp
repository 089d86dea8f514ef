// CTestDriver: popup chains.

#include "platform/testing/TestDriver.h"

#include "platform/controls/ListBoxControl.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

constexpr int ID_POPUP_LIST = 101;
constexpr int ID_POPUP_UP = 102;
constexpr int ID_POPUP_DOWN = 103;

BOOL CALLBACK CollectPopup(HWND hWnd, LPARAM lParam)
{
    if (IsWindowVisible(hWnd) && CTestDriver::PopupList(hWnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

BOOL IsChildVisible(HWND hPopup, int nId)
{
    HWND hChild = GetDlgItem(hPopup, nId);
    return hChild && IsWindowVisible(hChild);
}

} // namespace

std::vector<HWND> CTestDriver::PopupWindows()
{
    // A popup opens above the one that opened it: the z-order, bottom up.
    std::vector<HWND> popups;
    EnumWindows(&CollectPopup, reinterpret_cast<LPARAM>(&popups));
    std::reverse(popups.begin(), popups.end());
    return popups;
}

HWND CTestDriver::PopupList(HWND hPopup)
{
    HWND hList = GetDlgItem(hPopup, ID_POPUP_LIST);
    if (!hList || !GetDlgItem(hPopup, ID_POPUP_UP) || !GetDlgItem(hPopup, ID_POPUP_DOWN))
        return nullptr;
    return hList;
}

BOOL CTestDriver::IsPopupUpArrowVisible(HWND hPopup)
{
    return IsChildVisible(hPopup, ID_POPUP_UP);
}

BOOL CTestDriver::IsPopupDownArrowVisible(HWND hPopup)
{
    return IsChildVisible(hPopup, ID_POPUP_DOWN);
}

BOOL CTestDriver::PopupRowPoint(HWND hPopup, int nRow, HWND* phList, POINT* pPoint)
{
    HWND hList = PopupList(hPopup);
    if (!hList || nRow < 0 || nRow >= static_cast<int>(SendMessage(hList, LB_GETCOUNT, 0, 0)))
        return FALSE;
    RECT client {};
    GetClientRect(hList, &client);
    RECT row {};
    SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&row));
    if (row.top < client.top || row.bottom > client.bottom) {
        SendMessage(hList, LB_SETTOPINDEX, static_cast<WPARAM>(nRow), 0);
        SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&row));
    }
    *phList = hList;
    *pPoint = POINT { (row.left + row.right) / 2, (row.top + row.bottom) / 2 };
    return TRUE;
}

BOOL CTestDriver::HoverPopupRow(HWND hPopup, int nRow)
{
    HWND hList = nullptr;
    POINT point {};
    return PopupRowPoint(hPopup, nRow, &hList, &point) && Hover(hList, point.x, point.y);
}

BOOL CTestDriver::ClickPopupRow(HWND hPopup, int nRow, BOOL bRight)
{
    HWND hList = nullptr;
    POINT point {};
    if (!PopupRowPoint(hPopup, nRow, &hList, &point))
        return FALSE;
    return bRight ? RightClick(hList, point.x, point.y) : Click(hList, point.x, point.y);
}
