#pragma once

// Drives a folder picker: clicks its button and, in the popup chain it opens,
// opens each named row but the last (by resting on it) and clicks the last.
// Rows are found ignoring case (a drive shows its folder's name capitalised).

#include "ui/CPopupCtrl.h"

#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline void PickInPopupChain(CTestDriver& driver, HWND hButton, const std::vector<std::string>& rows)
{
    driver.OnNextWait([&driver, rows] {
        for (size_t nLevel = 0; nLevel < rows.size(); ++nLevel) {
            const std::vector<HWND> popups = CTestDriver::PopupWindows();
            ASSERT_GT(popups.size(), nLevel) << rows[nLevel];
            HWND hPopup = popups[nLevel];
            const std::vector<CString> items = CTestDriver::Items(CTestDriver::PopupList(hPopup));
            int nRow = -1;
            for (size_t n = 0; n < items.size(); ++n) {
                if (items[n].CompareNoCase(rows[nLevel].c_str()) == 0)
                    nRow = static_cast<int>(n);
            }
            std::string strShown;
            for (const CString& strItem : items)
                strShown += std::string(strItem) + "|";
            ASSERT_GE(nRow, 0) << rows[nLevel] << " among " << strShown;
            if (nLevel + 1 < rows.size()) {
                ASSERT_TRUE(driver.HoverPopupRow(hPopup, nRow));
                driver.Advance(CPopupCtrl::HOVER_DELAY_MS);
            } else {
                ASSERT_TRUE(driver.ClickPopupRow(hPopup, nRow));
            }
        }
    });
    RECT rect {};
    ::GetClientRect(hButton, &rect);
    driver.Click(hButton, rect.right / 2, rect.bottom / 2);
}
