// The versions page in a preference sheet: the preview follows the typing,
// OK refuses a text the store would not keep and keeps the sheet on the page.

#include "dialogs/preferences/CPrefVersaoPropPage.h"

#include "dialogs/preferences/CKadPreferencesPropSheet.h"
#include "platform/framework/AfxMessages.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

#include <string>
#include <vector>

namespace {

class PrefVersaoPropPageTest : public UiTest {
protected:
    // Runs a sheet of a first page and the versions page; step runs on the
    // shown sheet, then OK is pressed; a message box shown is noted and answered.
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step)
    {
        CKadPreferencesPropSheet sheet(IDS_PREFERENCES, &Host());
        CPrefVersaoPageData other { 0, "_v#" };
        CPrefVersaoPropPage first(other);
        CPrefVersaoPropPage page(m_data);
        sheet.AddPage(&first);
        sheet.AddPage(&page);
        Driver().OnNextDialog([&](HWND hSheet) {
            sheet.SetActivePage(1);
            step(hSheet, page.GetSafeHwnd());
            Driver().OnNextDialog([this](HWND hBox) {
                m_messages.emplace_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
                ::EndDialog(hBox, IDOK);
            });
            ::SendMessage(hSheet, WM_COMMAND, IDOK, 0);
            if (!m_messages.empty()) {
                m_nPageAfterRefusal = sheet.GetActiveIndex();
                m_bFocusOnText = CTestDriver::Focus() == ::GetDlgItem(page.GetSafeHwnd(), IDC_VERSION_TEXT);
                ::SendMessage(hSheet, WM_COMMAND, IDCANCEL, 0);
            }
        });
        return sheet.DoModal();
    }

    static CString Preview(HWND hSheet, HWND hPage)
    {
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        return CTestDriver::Text(::GetDlgItem(hPage, IDC_VERSION_PREVIEW));
    }

    CPrefVersaoPageData m_data { 1, "_v#" };
    std::vector<std::string> m_messages;
    int m_nPageAfterRefusal { -1 };
    bool m_bFocusOnText { false };
};

TEST_F(PrefVersaoPropPageTest, PreviewFollowsTheTextAndPlaceAndOkKeepsThem)
{
    std::vector<std::string> previews;
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        previews.emplace_back(Preview(hSheet, hPage));
        ::SetDlgItemText(hPage, IDC_VERSION_TEXT, "v#");
        ::CheckRadioButton(hPage, IDC_VERSION_BEFORE, IDC_VERSION_AFTER, IDC_VERSION_BEFORE);
        previews.emplace_back(Preview(hSheet, hPage));
    }),
        IDOK);
    EXPECT_EQ(previews, (std::vector<std::string> { "report_v1.doc", "v1report.doc" }));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_data.nVersionControlPos, 0);
    EXPECT_EQ(std::string(m_data.strVersionControlText), "v#");
}

TEST_F(PrefVersaoPropPageTest, TextWithTwoMarksOrNoneIsRefusedOnItsPage)
{
    for (const char* pszText : { "a#b#", "" }) {
        m_messages.clear();
        EXPECT_EQ(Run([&](HWND, HWND hPage) { ::SetDlgItemText(hPage, IDC_VERSION_TEXT, pszText); }), IDCANCEL)
            << pszText;
        CString strExpected;
        strExpected.LoadString(IDS_VERSION_TEXT_INVALID);
        EXPECT_EQ(m_messages, (std::vector<std::string> { std::string(strExpected) }));
        EXPECT_EQ(m_nPageAfterRefusal, 1);
        EXPECT_TRUE(m_bFocusOnText);
    }
}

} // namespace
