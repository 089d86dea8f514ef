// CTestDriver: reading the state of list boxes, combo boxes and the focus.

#include "platform/testing/TestDriver.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <string>

HWND CTestDriver::Focus()
{
    return GetFocus();
}

BOOL CTestDriver::IsComboBox(HWND hWnd)
{
    char szClass[32] {};
    GetClassName(hWnd, szClass, sizeof(szClass));
    return lstrcmpi(szClass, "ComboBox") == 0;
}

std::vector<CString> CTestDriver::Items(HWND hWnd)
{
    const bool bCombo = IsComboBox(hWnd);
    const UINT uGetCount = bCombo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT uGetTextLen = bCombo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT uGetText = bCombo ? CB_GETLBTEXT : LB_GETTEXT;
    std::vector<CString> items;
    const LRESULT nCount = SendMessage(hWnd, uGetCount, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i) {
        LRESULT nLength = SendMessage(hWnd, uGetTextLen, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<size_t>(std::max<LRESULT>(nLength, 0)) + 1, '\0');
        if (nLength >= 0)
            nLength = SendMessage(hWnd, uGetText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        items.emplace_back(text.data(), static_cast<int>(std::max<LRESULT>(nLength, 0)));
    }
    return items;
}

int CTestDriver::Selection(HWND hWnd)
{
    return static_cast<int>(SendMessage(hWnd, IsComboBox(hWnd) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

std::vector<int> CTestDriver::SelectedItems(HWND hList)
{
    const LRESULT nCount = SendMessage(hList, LB_GETSELCOUNT, 0, 0);
    if (nCount <= 0)
        return {};
    std::vector<int> items(static_cast<size_t>(nCount));
    LRESULT nStored
        = SendMessage(hList, LB_GETSELITEMS, static_cast<WPARAM>(nCount), reinterpret_cast<LPARAM>(items.data()));
    items.resize(static_cast<size_t>(std::max<LRESULT>(nStored, 0)));
    return items;
}
