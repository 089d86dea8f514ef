#pragma once

// A preference page run alone in a preference sheet under the test driver:
// the test's step runs on the shown page, then the sheet ends with a button.
// A message box shown on the way is noted (its text), answered, and the
// sheet is then cancelled, as the page refused the button.

#include "dialogs/preferences/CKadPreferencesPropSheet.h"
#include "platform/framework/CPropertyPage.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class PreferencePageTest : public UiTest {
protected:
    // DoModal's result; m_messages holds the texts of the boxes shown, and
    // m_nFocusAfterRefusal the control ID of the focus after the page refused.
    int RunPage(CPropertyPage& page, const std::function<void(HWND hSheet, HWND hPage)>& step, int nButton = IDOK)
    {
        CKadPreferencesPropSheet sheet(IDS_PREFERENCES, &Host());
        sheet.AddPage(&page);
        m_messages.clear();
        m_nFocusAfterRefusal = 0;
        Driver().OnNextDialog([&](HWND hSheet) {
            step(hSheet, page.GetSafeHwnd());
            bool bAnswered = false;
            Driver().OnNextDialog([this, &bAnswered](HWND hBox) {
                if (!std::exchange(bAnswered, true))
                    m_messages.emplace_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
                ::EndDialog(hBox, IDOK);
            });
            ::SendMessage(hSheet, WM_COMMAND, nButton, 0);
            if (!m_messages.empty()) {
                m_nFocusAfterRefusal = ::GetDlgCtrlID(CTestDriver::Focus());
                ::SendMessage(hSheet, WM_COMMAND, IDCANCEL, 0);
            } else if (!bAnswered) {
                // No box was shown: a box of our own takes the answer left queued.
                bAnswered = true;
                ::MessageBox(hSheet, "", "", MB_OK);
            }
        });
        return sheet.DoModal();
    }

    void ClickButton(HWND hPage, int nID)
    {
        HWND hButton = ::GetDlgItem(hPage, nID);
        RECT rect {};
        ::GetClientRect(hButton, &rect);
        Driver().Click(hButton, rect.right / 2, rect.bottom / 2);
    }
    static BOOL Checked(HWND hPage, int nID) { return CTestDriver::IsChecked(::GetDlgItem(hPage, nID)); }
    static BOOL Enabled(HWND hPage, int nID) { return CTestDriver::IsEnabled(::GetDlgItem(hPage, nID)); }
    static std::string Text(HWND hPage, int nID) { return std::string(CTestDriver::Text(::GetDlgItem(hPage, nID))); }

    std::vector<std::string> m_messages;
    int m_nFocusAfterRefusal { 0 };
};
