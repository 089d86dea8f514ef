// A document preview and an HTML message as the program's dialogs show them:
// a template from a compiled resource script with a rich edit, whose text has
// every match of a word coloured, and an HTML view made over a placeholder
// that shows a message page written to the temporary folder, with its logo
// from the resource module through res://. The test driver reads the text and
// its formats and follows the page's link; the picture is compared with a
// reference checked by eye.

#include "platform/framework/CDialog.h"
#include "platform/framework/CHtmlView.h"
#include "platform/framework/CRichEditCtrl.h"

#include "platform/base/PathMap.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/ResourceModule.h"
#include "platform/framework/CRect.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/testing/TestDriver.h"
#include "tests/platform/sample/PreviewIds.h"
#include "tests/platform/sample/SampleSupport.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr COLORREF MATCH_COLOUR = RGB(0, 0, 255);
constexpr const char* SITE = "http://archivora.example/web";

// The view over a dialog's placeholder, as the program's dialogs keep it: a
// member, which gives up its engine when its window goes and keeps "app:"
// links to itself.
class CHtmlCtrl : public CHtmlView {
    DECLARE_MESSAGE_MAP()

public:
    BOOL CreateFromStatic(UINT nID, CWnd* pParent)
    {
        CWnd* pStatic = pParent->GetDlgItem(static_cast<int>(nID));
        if (!pStatic)
            return FALSE;
        CRect rc;
        pStatic->GetWindowRect(&rc);
        pParent->ScreenToClient(&rc);
        pStatic->DestroyWindow();
        return Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, pParent, nID, nullptr);
    }
    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD, LPCTSTR, CByteArray&, LPCTSTR, BOOL* pbCancel) override
    {
        if (CString(lpszURL).Left(4).CompareNoCase("app:") == 0) {
            m_appCommands.push_back(CString(lpszURL).Mid(4));
            *pbCancel = TRUE;
        }
    }
    void PostNcDestroy() override { }

    std::vector<CString> m_appCommands;

protected:
    void OnDestroy()
    {
        if (m_pBrowserApp) {
            m_pBrowserApp->Release();
            m_pBrowserApp = nullptr;
        }
        CWnd::OnDestroy();
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CHtmlCtrl, CHtmlView)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

// Writes the message page: styles in a block, a table, the logo by a relative
// name resolved against the program's module, and a link for a new window.
bool WriteMessagePage(const std::string& strHostPath)
{
    char szModule[MAX_PATH] {};
    GetModuleFileName(nullptr, szModule, MAX_PATH);
    std::ofstream page(strHostPath, std::ios::binary);
    page << "<html><head><BASE href='res://" << szModule
         << "'><style>.titulo  { font-family: Verdana; font-weight: bold; font-style: normal; font-size: 13px; "
            "color: #008000; text-decoration: none; }.mensagem { font-family: Verdana; font-weight: normal; "
            "font-style: normal; font-size: 11px; color: #000000;text-decoration: none; }.link  {font-family: "
            "Verdana; font-weight: normal; font-style: normal; font-size: 11px; color: #0000FF; text-decoration: "
            "underline; }</style></head><body scroll='no'>"
         << "<table width='100%' cellSpacing='1' cellPadding='3'>"
         << "<tr><td>&nbsp;</td><td align='center'><a class='titulo'>Web access is on</a></td></tr>"
         << "<tr><td><img height='32' width='32' src='WA_LOGO.GIF' border='0'></td><td><a class='mensagem'>"
            "Your catalogs can now be read from other computers.</a><br><a class='mensagem'>Read more at </a>"
         << "<a class='link' href='" << SITE << "' target='_blank'>" << SITE << "</a>"
         << "<a class='mensagem'> about the service.</a></td></tr></table></body></html>";
    return static_cast<bool>(page);
}

class CDlgPreview : public CDialog {
public:
    explicit CDlgPreview(std::string strPagePath)
        : CDialog(IDD_PREVIEW)
        , m_strPagePath(std::move(strPagePath))
    {
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_text.SubclassDlgItem(IDC_PREVIEW_TEXT, this);
        ShowText();
        ColourMatches("catalog");
        m_html.CreateFromStatic(IDC_HTML_PLACE, this);
        m_html.Navigate(m_strPagePath.c_str());
        m_html.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
        return TRUE;
    }

    CRichEditCtrl m_text;
    CHtmlCtrl m_html;
    int m_nMatches { 0 };

private:
    // The text in the preview's size, as a document's content is shown.
    void ShowText()
    {
        CHARFORMAT cf { sizeof(CHARFORMAT), CFM_FACE, 0, 0, 0, 0, 0, 0, "Arial" };
        m_text.SetDefaultCharFormat(cf);
        m_text.HideSelection(TRUE, FALSE);
        m_text.SetSel(0, -1);
        CHARFORMAT cfSize { sizeof(CHARFORMAT), CFM_SIZE | CFM_BOLD, 0, 200, 0, 0, 0, 0, "" };
        m_text.SetSelectionCharFormat(cfSize);
        m_text.ReplaceSel("Catalog of the year\r\nEvery document of the catalog has a folder, keywords and a "
                          "description. A catalog is searched by words; the preview colours each word found.\r\n"
                          "Caf\xC3\xA9 receipts \xE2\x80\x93 catalogued in March.");
        m_text.SetSel(0, 0);
        m_text.LineScroll(-m_text.GetFirstVisibleLine());
        m_text.HideSelection(FALSE, FALSE);
    }
    // Every match coloured, the first one selected, as the preview's find does.
    void ColourMatches(const char* pszWord)
    {
        CHARFORMAT cfAuto { sizeof(CHARFORMAT), CFM_COLOR, CFE_AUTOCOLOR, 0, 0, 0, 0, 0, "" };
        m_text.SetSel(0, -1);
        m_text.SetSelectionCharFormat(cfAuto);
        CHARFORMAT cfMatch { sizeof(CHARFORMAT), CFM_COLOR, 0, 0, 0, MATCH_COLOUR, 0, 0, "" };
        FINDTEXTEX find { { 0, -1 }, pszWord, { 0, 0 } };
        CHARRANGE first { -1, -1 };
        while (m_text.FindText(FR_DOWN, &find) >= 0) {
            m_text.SetSel(find.chrgText);
            m_text.SetSelectionCharFormat(cfMatch);
            if (first.cpMin < 0)
                first = find.chrgText;
            find.chrg.cpMin = find.chrgText.cpMax;
            ++m_nMatches;
        }
        m_text.SetSel(first);
    }

    std::string m_strPagePath;
};

} // namespace

TEST(SamplePreviewTest, MatchesAreColouredAndTheMessagePageShowsItsLogoAndHandsItsLinkOn)
{
    TempFolder folder;
    HMODULE hModule = LoadSampleModule("preview.rc", folder);
    ASSERT_NE(hModule, nullptr);
    HINSTANCE hPrevious = AfxGetResourceHandle();
    AfxSetResourceHandle(hModule);
    ASSERT_TRUE(AfxInitRichEdit());
    const std::string strPage = (folder / "~arch.html").string();
    ASSERT_TRUE(WriteMessagePage(strPage));

    CTestDriver driver;
    CLaunchOverride launches;
    CDlgPreview dlg(ProgramPathFromHostPath(strPage));
    std::vector<RICHEDITRUN> runs;
    CHARRANGE selection {};
    CString strText;
    bool bLinkClicked = false;
    driver.OnNextDialog([&](HWND hDlg) {
        HWND hText = GetDlgItem(hDlg, IDC_PREVIEW_TEXT);
        strText = CTestDriver::RichEditText(hText);
        selection = CTestDriver::RichEditSelection(hText);
        runs = CTestDriver::RichEditRuns(hText);
        driver.Pump();
        if (std::optional<std::string> mismatch
            = PictureMismatch(CaptureWindowImage(hDlg), "preview_dialog.png", folder))
            ADD_FAILURE() << *mismatch;
        bLinkClicked = driver.ClickHtmlLink(GetDlgItem(hDlg, IDC_HTML_PLACE), SITE) != FALSE;
        EndDialog(hDlg, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    AfxSetResourceHandle(hPrevious);
    FreeLibrary(hModule);

    // Four matches, the first selected; each a blue run between runs of the window's text colour.
    EXPECT_EQ(dlg.m_nMatches, 4);
    EXPECT_EQ(selection.cpMin, 0);
    EXPECT_EQ(selection.cpMax, 7);
    EXPECT_TRUE(strText.Find("catalogued in March") > 0);
    int nBlue = 0;
    for (const RICHEDITRUN& run : runs) {
        EXPECT_EQ(run.cf.yHeight, 200);
        EXPECT_STREQ(run.cf.szFaceName, "Arial");
        if (!(run.cf.dwEffects & CFE_AUTOCOLOR)) {
            EXPECT_EQ(run.cf.crTextColor, MATCH_COLOUR);
            EXPECT_EQ(run.cpMax - run.cpMin, 7);
            ++nBlue;
        }
    }
    EXPECT_EQ(nBlue, 4);
    EXPECT_TRUE(bLinkClicked);
    const std::vector<std::vector<std::string>> expected { { "xdg-open", SITE } };
    EXPECT_EQ(launches.GetLaunches(), expected);
}

TEST(SamplePreviewTest, APageFromTheResourceModuleShowsItsPictureAndKeepsAppLinksIn)
{
    TempFolder folder;
    HMODULE hModule = LoadSampleModule("preview.rc", folder);
    ASSERT_NE(hModule, nullptr);
    HINSTANCE hPrevious = AfxGetResourceHandle();
    AfxSetResourceHandle(hModule);
    CTestDriver driver;
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    CHtmlCtrl view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1204));
    EXPECT_TRUE(view.LoadFromResource("intro.htm"));
    const CString strUrl = view.GetLocationURL();
    EXPECT_EQ(strUrl.Left(6), "res://");
    EXPECT_EQ(strUrl.Right(10), "/intro.htm");
    driver.Pump();
    // The logo's blue shows where the page puts it.
    CCapturedImage picture(CaptureWindowImage(view.GetSafeHwnd()));
    bool bLogo = false;
    for (int y = 0; y < 80 && !bLogo; ++y)
        for (int x = 0; x < 60 && !bLogo; ++x)
            bLogo = picture.At(x, y) == RGB(40, 90, 190);
    EXPECT_TRUE(bLogo);

    ASSERT_TRUE(driver.ClickHtmlLink(view.GetSafeHwnd(), "Go on"));
    EXPECT_EQ(view.m_appCommands, std::vector<CString> { "Next" });
    EXPECT_EQ(view.GetLocationURL(), strUrl);
    view.DestroyWindow();
    EXPECT_EQ(view.m_pBrowserApp, nullptr);
    parent.DestroyWindow();
    AfxSetResourceHandle(hPrevious);
    FreeLibrary(hModule);
}
