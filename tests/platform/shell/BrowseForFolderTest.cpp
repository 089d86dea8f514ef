#include "platform/shell/BrowseForFolder.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/shell/ShellFolder.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Window.h"
#include "tests/platform/shell/ShellTreeFixture.h"

#include <algorithm>

namespace {

class BrowseForFolderTest : public ShellTreeTest {
protected:
    void SetUp() override
    {
        ShellTreeTest::SetUp();
        MakeFolder("fixed/pics/2023");
        MakeFolder("fixed/pics/2024/jan");
        Write("fixed/pics/readme.txt");
        IShellFolder* pDesktop = nullptr;
        SHGetDesktopFolder(&pDesktop);
        std::u16string wide = u"P:\\pics";
        pDesktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &m_pidlRoot, nullptr);
        pDesktop->Release();
        m_info.pidlRoot = m_pidlRoot;
        m_info.pszDisplayName = m_szName;
        m_info.lpszTitle = "Choose a folder";
    }
    void TearDown() override
    {
        CoTaskMemFree(m_pidlRoot);
        ShellTreeTest::TearDown();
    }

    // Double-clicks or clicks the list's item of that text.
    void ActOnItem(HWND hDlg, const char* pszText, bool bDouble)
    {
        HWND hList = GetDlgItem(hDlg, IDC_BROWSE_LIST);
        std::vector<CString> items = CTestDriver::Items(hList);
        auto it = std::find(items.begin(), items.end(), CString(pszText));
        ASSERT_NE(it, items.end()) << pszText;
        RECT rc {};
        SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(it - items.begin()), reinterpret_cast<LPARAM>(&rc));
        if (bDouble)
            m_driver.DoubleClick(hList, rc.left + 4, (rc.top + rc.bottom) / 2);
        else
            m_driver.Click(hList, rc.left + 4, (rc.top + rc.bottom) / 2);
    }
    void Press(HWND hDlg, int nId)
    {
        HWND hButton = GetDlgItem(hDlg, nId);
        RECT rc {};
        GetClientRect(hButton, &rc);
        m_driver.Click(hButton, rc.right / 2, rc.bottom / 2);
    }

    CTestDriver m_driver;
    LPITEMIDLIST m_pidlRoot { nullptr };
    char m_szName[MAX_PATH] {};
    BROWSEINFO m_info {};
};

std::vector<std::string> Sorted(const std::vector<CString>& items)
{
    std::vector<std::string> names(items.begin(), items.end());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST_F(BrowseForFolderTest, EnteringAFolderAndChoosingAnItem)
{
    std::vector<std::string> shown;
    bool bUpAtRoot = true;
    m_driver.OnNextDialog([&](HWND hDlg) {
        shown = Sorted(CTestDriver::Items(GetDlgItem(hDlg, IDC_BROWSE_LIST)));
        bUpAtRoot = CTestDriver::IsEnabled(GetDlgItem(hDlg, IDC_BROWSE_UP));
        ActOnItem(hDlg, "2024", true);
        ActOnItem(hDlg, "jan", false);
        Press(hDlg, IDOK);
    });
    LPITEMIDLIST pidl = SHBrowseForFolder(&m_info);
    EXPECT_EQ(shown, (std::vector<std::string> { "2023", "2024" })) << "folders only";
    EXPECT_FALSE(bUpAtRoot) << "never above the root";
    ASSERT_NE(pidl, nullptr);
    char szPath[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDList(pidl, szPath));
    EXPECT_STREQ(szPath, "P:\\pics\\2024\\jan");
    EXPECT_STREQ(m_szName, "jan");
    CoTaskMemFree(pidl);
}

TEST_F(BrowseForFolderTest, OkWithoutASelectionGivesTheCurrentFolderAndCancelNothing)
{
    m_info.ulFlags = BIF_BROWSEINCLUDEFILES;
    std::vector<std::string> shown;
    m_driver.OnNextDialog([&](HWND hDlg) {
        shown = Sorted(CTestDriver::Items(GetDlgItem(hDlg, IDC_BROWSE_LIST)));
        ActOnItem(hDlg, "2023", true);
        Press(hDlg, IDC_BROWSE_UP);
        Press(hDlg, IDOK);
    });
    LPITEMIDLIST pidl = SHBrowseForFolder(&m_info);
    EXPECT_EQ(shown, (std::vector<std::string> { "2023", "2024", "readme.txt" }));
    ASSERT_NE(pidl, nullptr);
    char szPath[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDList(pidl, szPath));
    EXPECT_STREQ(szPath, "P:\\pics");
    CoTaskMemFree(pidl);

    m_driver.OnNextDialog([&](HWND hDlg) { Press(hDlg, IDCANCEL); });
    EXPECT_EQ(SHBrowseForFolder(&m_info), nullptr);
}
