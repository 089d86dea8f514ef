#include "platform/framework/CHtmlView.h"

#include "platform/base/PathMap.h"
#include "platform/controls/HtmlUrl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/SysColors.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "tests/platform/framework/FrameworkTestSupport.h"
#include "tests/support/TempFolder.h"

#include <string>
#include <vector>

namespace {

constexpr COLORREF LOGO_COLOUR = RGB(200, 30, 40);

// A view as a dialog keeps one: a member that cancels "app:" links in any case.
class CTestHtmlView : public CHtmlView {
public:
    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
        LPCTSTR lpszHeaders, BOOL* pbCancel) override
    {
        asked.push_back(lpszURL);
        targets.push_back(lpszTargetFrameName);
        bPostedDataEmpty = bPostedDataEmpty && baPostedData.GetSize() == 0 && lpszHeaders == nullptr;
        if (CString(lpszURL).Left(4).CompareNoCase("app:") == 0)
            *pbCancel = TRUE;
    }
    void PostNcDestroy() override { }

    std::vector<CString> asked;
    std::vector<CString> targets;
    bool bPostedDataEmpty { true };
};

class HtmlViewTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        m_hParent = CreateWindowEx(
            0, PLAIN_CLASS, "", WS_POPUP | WS_VISIBLE, 0, 0, 420, 320, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_view.Create(
            nullptr, nullptr, WS_CHILD | WS_VISIBLE, Rect(0, 0, 400, 300), CWnd::FromHandle(m_hParent), 1570));
    }
    void TearDown() override
    {
        if (m_view.GetSafeHwnd())
            m_view.DestroyWindow();
        DestroyWindow(m_hParent);
    }

    // Writes a page into the temporary folder and returns its program path.
    std::string WritePage(const char* pszName, const std::string& strHtml)
    {
        return ProgramPathFromHostPath(m_folder.WriteFile(pszName, strHtml).string());
    }
    // A small picture file of one colour.
    void WriteLogo(const char* pszName)
    {
        HDC hdc = CreateCompatibleDC(nullptr);
        HBITMAP hbm = CreateBitmap(32, 32, 1, 32, nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        RECT rc { 0, 0, 32, 32 };
        HBRUSH hBrush = CreateSolidBrush(LOGO_COLOUR);
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        ASSERT_TRUE(SaveBitmapAsPng(hbm, ProgramPathFromHostPath((m_folder / pszName).string()).c_str()));
        DeleteObject(hbm);
    }
    COLORREF Pixel(int x, int y)
    {
        UpdateWindow(m_view.GetSafeHwnd());
        HDC hdc = GetDC(m_view.GetSafeHwnd());
        const COLORREF cr = GetPixel(hdc, x, y);
        ReleaseDC(m_view.GetSafeHwnd(), hdc);
        return cr;
    }
    bool AnyPixel(COLORREF cr)
    {
        for (int y = 0; y < 300; y += 2) {
            for (int x = 0; x < 400; x += 2) {
                if (Pixel(x, y) == cr)
                    return true;
            }
        }
        return false;
    }

    CTestDriver m_driver;
    TempFolder m_folder;
    HWND m_hParent { nullptr };
    CTestHtmlView m_view;
};

/***** Addresses *****/

TEST(HtmlUrlTest, AddressesResolveAgainstFilesResourcesAndUrls)
{
    EXPECT_EQ(HtmlUrlKind("C:\\tmp\\page.html"), EHtmlUrlKind::File);
    EXPECT_EQ(HtmlUrlKind("\\\\server\\share\\page.html"), EHtmlUrlKind::File);
    EXPECT_EQ(HtmlUrlKind("FILE:///C:/tmp/a%20b.html"), EHtmlUrlKind::File);
    EXPECT_EQ(HtmlUrlKind("res://C:\\prog\\archivora.exe/WA_LOGO.GIF"), EHtmlUrlKind::Resource);
    EXPECT_EQ(HtmlUrlKind("mailto:ana@example.org"), EHtmlUrlKind::Other);
    EXPECT_EQ(HtmlUrlFilePath("file:///C:/tmp/a%20b.html"), "C:\\tmp\\a b.html");

    EXPECT_EQ(ResolveHtmlUrl("C:\\tmp\\pages\\page.html", "logo.png"), "C:\\tmp\\pages\\logo.png");
    EXPECT_EQ(ResolveHtmlUrl("C:\\tmp\\pages\\page.html", "../img/./logo.png"), "C:\\tmp\\img\\logo.png");
    // A base naming only the module, and one naming a resource in it.
    EXPECT_EQ(
        ResolveHtmlUrl("res://C:\\prog\\archivora.exe", "WA_LOGO.GIF"), "res://C:\\prog\\archivora.exe/WA_LOGO.GIF");
    EXPECT_EQ(ResolveHtmlUrl("res://C:\\prog\\archivora.exe/WATELA1.HTM", "WA_LOGO.GIF"),
        "res://C:\\prog\\archivora.exe/WA_LOGO.GIF");
    EXPECT_EQ(ResolveHtmlUrl("http://example.org/web/index.html", "help.html"), "http://example.org/web/help.html");
    EXPECT_EQ(ResolveHtmlUrl("C:\\tmp\\page.html", "http://example.org/"), "http://example.org/");
    EXPECT_EQ(ResolveHtmlUrl("", "page.html"), "page.html");
}

/***** Navigation *****/

TEST_F(HtmlViewTest, EveryNavigationAsksFirstAndCancelStopsIt)
{
    const std::string strPage = WritePage("page.html", "<html><body><a href='APP:refresh'>Refresh</a></body></html>");
    m_view.Navigate(strPage.c_str());
    ASSERT_EQ(m_view.asked.size(), 1u);
    EXPECT_EQ(m_view.asked[0], strPage.c_str());
    EXPECT_EQ(m_view.targets[0], "");
    EXPECT_EQ(m_view.GetLocationURL(), strPage.c_str());

    CLaunchOverride launches;
    ASSERT_TRUE(m_driver.ClickHtmlLink(m_view.GetSafeHwnd(), "Refresh"));
    ASSERT_EQ(m_view.asked.size(), 2u);
    EXPECT_EQ(m_view.asked[1], "APP:refresh");
    EXPECT_TRUE(m_view.bPostedDataEmpty);
    // Cancelled: the page stays and nothing went to the desktop.
    EXPECT_EQ(m_view.GetLocationURL(), strPage.c_str());
    EXPECT_TRUE(launches.GetLaunches().empty());
}

TEST_F(HtmlViewTest, LinksLoadInTheViewOrGoToTheDesktop)
{
    const std::string strSecond = WritePage("second.html", "<p>Second page</p>");
    const std::string strFirst = WritePage("first.html",
        "<a href='second.html'>Next</a> <a href='https://example.org/web' target='_blank'>Site</a> "
        "<a href='mailto:ana@example.org'>Write</a> <a href='second.html' target='_BLANK'>Outside</a>");
    CLaunchOverride launches;
    m_view.Navigate(strFirst.c_str());
    ASSERT_TRUE(m_driver.ClickHtmlLink(m_view.GetSafeHwnd(), "Site"));
    ASSERT_TRUE(m_driver.ClickHtmlLink(m_view.GetSafeHwnd(), "Write"));
    ASSERT_TRUE(m_driver.ClickHtmlLink(m_view.GetSafeHwnd(), "Outside"));
    const std::vector<std::vector<std::string>> expected {
        { "xdg-open", "https://example.org/web" },
        { "xdg-open", "mailto:ana@example.org" },
        { "xdg-open", (m_folder / "second.html").string() },
    };
    EXPECT_EQ(launches.GetLaunches(), expected);
    EXPECT_EQ(m_view.targets[1], "_blank");
    EXPECT_EQ(m_view.GetLocationURL(), strFirst.c_str());

    // A relative link loads in place.
    ASSERT_TRUE(m_driver.ClickHtmlLink(m_view.GetSafeHwnd(), "Next"));
    EXPECT_EQ(m_view.GetLocationURL(), strSecond.c_str());
    EXPECT_EQ(launches.GetLaunches().size(), 3u);
    EXPECT_FALSE(m_driver.ClickHtmlLink(m_view.GetSafeHwnd(), "Next"));
}

/***** Pages *****/

TEST_F(HtmlViewTest, PicturesBesideThePageAreDrawn)
{
    WriteLogo("logo.png");
    const std::string strPage = WritePage("page.html",
        "<html><body><table width='100%'><tr><td><img src='logo.png' width='32' height='32'></td>"
        "<td>Text</td></tr></table></body></html>");
    m_view.Navigate(strPage.c_str());
    EXPECT_TRUE(AnyPixel(LOGO_COLOUR));
}

TEST_F(HtmlViewTest, MissingDamagedOrHugePagesShowAnEmptyPage)
{
    m_view.Navigate(WritePage("page.html", "<p style='background: #00ff00'>Filled</p>").c_str());
    EXPECT_TRUE(AnyPixel(RGB(0, 255, 0)));

    m_view.Navigate(ProgramPathFromHostPath((m_folder / "missing.html").string()).c_str());
    EXPECT_FALSE(AnyPixel(RGB(0, 255, 0)));
    EXPECT_EQ(Pixel(200, 150), GetSysColor(COLOR_WINDOW));

    std::string strHuge = "<p style='background: #00ff00'>Filled</p>";
    strHuge += std::string(HTML_MAX_BYTES, ' ');
    m_view.Navigate(WritePage("huge.html", strHuge).c_str());
    EXPECT_FALSE(AnyPixel(RGB(0, 255, 0)));

    m_view.Navigate(
        WritePage("broken.html", std::string("<table><tr><td><a href=\"\x01\xFF<<<</td></div></b>", 40)).c_str());
    Pixel(0, 0);
}

TEST_F(HtmlViewTest, BoxesOfAnySizeAreDrawnAsFarAsTheyShow)
{
    // Boxes whose bottom lies near the largest coordinate: a left border runs
    // down the whole view, a bottom border is never reached. A page that asks
    // for more than the coordinates hold is drawn without harm.
    for (const char* pszHeight : { "2147483000px", "3444444442px", "-2147483648px" }) {
        m_view.Navigate(WritePage("tall.html",
            std::string("<body style='margin:0'><div style='margin-top:200px; height:") + pszHeight
                + "; border-left:8px solid #c81e28; border-bottom:8px solid #00ff00'></div>"
                  "<img height=3444444442 width=-3444444442 style='border:3px solid #00ff00'></body>")
                            .c_str());
        EXPECT_EQ(Pixel(4, 150), GetSysColor(COLOR_WINDOW)) << pszHeight;
        if (pszHeight[0] == '2') {
            EXPECT_EQ(Pixel(4, 250), LOGO_COLOUR) << pszHeight;
            EXPECT_EQ(Pixel(4, 299), LOGO_COLOUR) << pszHeight;
        }
    }
}

TEST_F(HtmlViewTest, TallPagesScrollUnlessTheBodySaysNo)
{
    std::string strRows;
    for (int i = 0; i < 60; ++i)
        strRows += "<p>Row</p>";
    m_view.Navigate(WritePage("tall.html", "<html><body>" + strRows + "</body></html>").c_str());
    EXPECT_TRUE(m_view.GetStyle() & WS_VSCROLL);
    m_view.Navigate(WritePage("fixed.html", "<html><body scroll='no'>" + strRows + "</body></html>").c_str());
    EXPECT_FALSE(m_view.GetStyle() & WS_VSCROLL);
}

TEST_F(HtmlViewTest, AReleasedEngineDrawsAndNavigatesNothing)
{
    m_view.Navigate(WritePage("page.html", "<p style='background: #00ff00'>Filled</p>").c_str());
    m_view.m_pBrowserApp->Release();
    m_view.m_pBrowserApp = nullptr;
    m_view.Invalidate();
    EXPECT_FALSE(AnyPixel(RGB(0, 255, 0)));
    m_view.Navigate(WritePage("other.html", "<p>Other</p>").c_str());
    EXPECT_EQ(m_view.asked.size(), 1u);
    EXPECT_EQ(m_view.GetLocationURL(), "");
}

} // namespace
