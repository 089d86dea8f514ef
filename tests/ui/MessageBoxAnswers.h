#pragma once

// Texts of the program's resource module and answers to the message boxes a
// dialog under the test driver shows.

#include "platform/base/CString.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"

#include <string>
#include <vector>

// String nId of the current resource module.
inline std::string Loaded(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return static_cast<LPCTSTR>(strText);
}

// Answers the next message box with nResult and appends its text to messages.
inline void AnswerNextMessageBox(CTestDriver& driver, std::vector<std::string>& messages, int nResult)
{
    driver.OnNextDialog([&messages, nResult](HWND hDlg) {
        char szText[512] = "";
        GetDlgItemText(hDlg, MESSAGEBOX_TEXT_ID, szText, sizeof szText);
        messages.emplace_back(szText);
        EndDialog(hDlg, nResult);
    });
}
