#include "ui/CHtmlCtrl.h"

#include "platform/framework/CStatic.h"
#include "platform/window/Input.h"
#include "tests/ui/UiTestSupport.h"

#include <vector>

namespace {

constexpr UINT ID_PLACEHOLDER = 1500;

class CRecordingHtmlCtrl : public CHtmlCtrl {
public:
    void OnAppCmd(LPCTSTR pszCommand) override { m_commands.emplace_back(pszCommand); }

    std::vector<CString> m_commands;
};

class CHtmlCtrlTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        CStatic placeholder;
        ASSERT_TRUE(placeholder.Create("", WS_VISIBLE, RECT { 20, 30, 320, 230 }, &Host(), ID_PLACEHOLDER));
        placeholder.Detach();
        ASSERT_TRUE(m_html.CreateFromStatic(ID_PLACEHOLDER, &Host()));
    }
    // Shows a page of the temporary folder.
    void ShowPage(const std::string& strHtml)
    {
        const std::string strPath = ProgramPathFromHostPath(m_folder.WriteFile("page.html", strHtml).string());
        m_html.Navigate2(strPath.c_str());
        Driver().Pump();
        m_html.UpdateWindow();
    }
    BOOL ClickLink(const char* pszText)
    {
        RECT link {};
        if (!m_html.GetLinkRect(pszText, &link))
            return FALSE;
        return Driver().Click(m_html.GetSafeHwnd(), (link.left + link.right) / 2, (link.top + link.bottom) / 2);
    }

    TempFolder m_folder;
    CRecordingHtmlCtrl m_html;
};

TEST_F(CHtmlCtrlTest, TakesThePlaceholdersPlaceAndId)
{
    EXPECT_EQ(Host().GetDlgItem(ID_PLACEHOLDER), &m_html);
    RECT rect {};
    m_html.GetWindowRect(&rect);
    Host().ScreenToClient(&rect);
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right, 320);
    EXPECT_EQ(rect.bottom, 230);
    CRecordingHtmlCtrl other;
    EXPECT_FALSE(other.CreateFromStatic(ID_PLACEHOLDER + 1, &Host()));
}

TEST_F(CHtmlCtrlTest, AppLinksInAnyCaseStayInTheProgram)
{
    ShowPage("<html><body><a href=\"APP:open?id=7\">first</a> <a href=\"app:\">second</a></body></html>");
    const CString strPage = m_html.GetLocationURL();
    ASSERT_TRUE(ClickLink("first"));
    ASSERT_TRUE(ClickLink("second"));
    EXPECT_EQ(m_html.m_commands, (std::vector<CString> { "open?id=7", "" }));
    EXPECT_EQ(m_html.GetLocationURL(), strPage) << "the page does not change";
}

TEST_F(CHtmlCtrlTest, RightPressesDoNotActivateAndTheControlOutlivesItsWindow)
{
    EXPECT_EQ(m_html.SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Host().GetSafeHwnd()),
                  MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN)),
        MA_NOACTIVATEANDEAT);
    EXPECT_NE(m_html.SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Host().GetSafeHwnd()),
                  MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
        MA_NOACTIVATEANDEAT);
    ASSERT_TRUE(m_html.DestroyWindow());
    EXPECT_EQ(m_html.m_pBrowserApp, nullptr) << "the engine is released";
    EXPECT_EQ(m_html.GetSafeHwnd(), nullptr);
}

} // namespace
