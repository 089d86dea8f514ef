#pragma once

// A report list in the recording parent: 200 by 160 at (10, 10), three
// columns of 100, 80 and 120 pixels, rows "Row 0".. with lParam = the row.

#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

#include <string>

class ListViewTest : public CommonControlTest {
protected:
    HWND CreateList(DWORD dwStyle, int nRows, bool bCallback = false)
    {
        HWND hList = CreateControl(WC_LISTVIEW, "", LVS_REPORT | dwStyle, 10, 10, 200, 160, 5);
        InsertColumns(hList);
        for (int i = 0; i < nRows; ++i)
            InsertRow(hList, i, bCallback ? std::string() : "Row " + std::to_string(i), i, bCallback);
        PumpUntilIdle();
        TakeNotifications();
        return hList;
    }
    // The three columns, one by one.
    static void InsertColumns(HWND hList)
    {
        const int widths[] = { 100, 80, 120 };
        for (int i = 0; i < 3; ++i) {
            LVCOLUMN column {};
            column.mask = LVCF_WIDTH | LVCF_TEXT;
            column.cx = widths[i];
            column.pszText = const_cast<LPSTR>("Col");
            SendMessage(hList, LVM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
    }
    static int InsertRow(HWND hList, int nRow, const std::string& strText, LPARAM lParam, bool bCallback = false)
    {
        LVITEM item {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = nRow;
        item.pszText = bCallback ? LPSTR_TEXTCALLBACK : const_cast<LPSTR>(strText.c_str());
        item.lParam = lParam;
        return static_cast<int>(SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
    }
    static std::string Text(HWND hList, int nRow, int iSubItem = 0)
    {
        char szText[64] {};
        LVITEM item {};
        item.iSubItem = iSubItem;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        SendMessage(hList, LVM_GETITEMTEXT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
        return szText;
    }
    static UINT State(HWND hList, int nRow, UINT nMask = 0xFFFF)
    {
        return static_cast<UINT>(SendMessage(hList, LVM_GETITEMSTATE, static_cast<WPARAM>(nRow), nMask));
    }
    static BOOL SetState(HWND hList, int nRow, UINT nState, UINT nMask)
    {
        LVITEM item {};
        item.state = nState;
        item.stateMask = nMask;
        return static_cast<BOOL>(
            SendMessage(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item)));
    }
    static RECT ItemRect(HWND hList, int nRow, int nKind)
    {
        RECT rc { nKind, 0, 0, 0 };
        SendMessage(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    static std::vector<int> Selected(HWND hList)
    {
        std::vector<int> rows;
        for (int nRow = -1;
             (nRow = static_cast<int>(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(nRow), LVNI_SELECTED)))
             >= 0;)
            rows.push_back(nRow);
        return rows;
    }
    // A client point in the middle of a row's first column.
    static POINT RowPoint(HWND hList, int nRow)
    {
        RECT rc = ItemRect(hList, nRow, LVIR_LABEL);
        return POINT { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    }
    void ClickRow(HWND hList, int nRow)
    {
        const POINT pt = RowPoint(hList, nRow);
        m_clock.Advance(GetDoubleClickTime() + 1);
        QueuedClick(hList, pt.x, pt.y);
    }
    // Answers LVN_GETDISPINFO with "cb <row>.<sub-item>", counting the rows asked.
    void AnswerCallbacks(std::vector<int>* pAsked = nullptr)
    {
        onNotify = [this, pAsked](NMHDR* pHdr) -> LRESULT {
            if (pHdr->code != LVN_GETDISPINFO)
                return 0;
            auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pHdr);
            if (pAsked)
                pAsked->push_back(pInfo->item.iItem);
            m_strCallback = "cb " + std::to_string(pInfo->item.iItem) + "." + std::to_string(pInfo->item.iSubItem);
            pInfo->item.pszText = m_strCallback.data(); // a buffer of the handler's own
            return 0;
        };
    }

    std::string m_strCallback;
};
