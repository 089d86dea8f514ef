// CTestDriver: reading rich edits and following the links of HTML views.

#include "platform/testing/TestDriver.h"

#include "platform/framework/CHtmlView.h"
#include "platform/window/Window.h"

#include <string>

CString CTestDriver::RichEditText(HWND hRichEdit)
{
    // The length counts characters; four bytes hold any character, and a line break's two.
    const auto nLength = static_cast<size_t>(SendMessage(hRichEdit, WM_GETTEXTLENGTH, 0, 0));
    std::string strText(nLength * 4 + 1, '\0');
    const LRESULT nBytes = SendMessage(hRichEdit, WM_GETTEXT, strText.size(), reinterpret_cast<LPARAM>(strText.data()));
    return CString(strText.data(), static_cast<int>(nBytes));
}

CHARRANGE CTestDriver::RichEditSelection(HWND hRichEdit)
{
    CHARRANGE cr { -1, -1 };
    SendMessage(hRichEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    return cr;
}

std::vector<RICHEDITRUN> CTestDriver::RichEditRuns(HWND hRichEdit)
{
    return GetRichEditRuns(hRichEdit);
}

BOOL CTestDriver::ClickHtmlLink(HWND hHtmlView, LPCTSTR lpszText)
{
    auto* pView = dynamic_cast<CHtmlView*>(CWnd::FromHandlePermanent(hHtmlView));
    RECT rcLink {};
    if (!pView || !pView->GetLinkRect(lpszText, &rcLink))
        return FALSE;
    return Click(hHtmlView, (rcLink.left + rcLink.right) / 2, (rcLink.top + rcLink.bottom) / 2);
}
