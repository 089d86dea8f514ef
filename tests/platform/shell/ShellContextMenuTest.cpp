#include "platform/shell/ShellContextMenu.h"

#include "platform/base/TextFunctions.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/Menu.h"
#include "tests/platform/shell/LauncherFixture.h"
#include "tests/support/WaitUntil.h"

#include <chrono>
#include <thread>

#include <sys/stat.h>

namespace {

class ShellContextMenuTest : public LauncherTest {
protected:
    void TearDown() override
    {
        if (m_hMenu)
            DestroyMenu(m_hMenu);
        LauncherTest::TearDown();
    }

    // The menu of an item as a caller asks for it: from its folder, ids 1 to 89.
    IContextMenu* MenuOf(const std::string& strPath, UINT uFlags, int* pnCount)
    {
        IShellFolder* pDesktop = nullptr;
        SHGetDesktopFolder(&pDesktop);
        std::u16string wide = Utf16FromUtf8(strPath);
        LPITEMIDLIST pidl = nullptr;
        EXPECT_EQ(pDesktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &pidl, nullptr), S_OK);
        IContextMenu* pMenu = nullptr;
        LPCITEMIDLIST apidl[] = { pidl };
        EXPECT_EQ(
            pDesktop->GetUIObjectOf(nullptr, 1, apidl, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&pMenu)),
            S_OK);
        CoTaskMemFree(pidl);
        pDesktop->Release();
        if (!pMenu)
            return nullptr;
        m_hMenu = CreatePopupMenu();
        HRESULT hr = pMenu->QueryContextMenu(m_hMenu, 0, 1, 89, uFlags);
        *pnCount = SUCCEEDED(hr) ? HRESULT_CODE(hr) : -1;
        return pMenu;
    }
    std::string Text(int nPos) const
    {
        char szText[128] {};
        GetMenuString(m_hMenu, static_cast<UINT>(nPos), szText, sizeof szText, MF_BYPOSITION);
        return szText;
    }
    static HRESULT Invoke(IContextMenu* pMenu, UINT nOffset)
    {
        CMINVOKECOMMANDINFO info {};
        info.cbSize = 36; // as the 32-bit program writes it
        info.lpVerb = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(nOffset));
        return pMenu->InvokeCommand(&info);
    }

    HMENU m_hMenu { nullptr };
};

} // namespace

TEST_F(ShellContextMenuTest, AFileOffersTheApplicationsOfItsType)
{
    std::string strOut = Host("fixed/opened.txt");
    std::string strHelper = Write("fixed/helper.sh",
        "#!/bin/sh\nprintf '%s' \"$1\" > \"" + strOut + ".tmp\"\nmv \"" + strOut + ".tmp\" \"" + strOut + "\"\n");
    chmod(strHelper.c_str(), 0755);
    WriteLauncher("test-editor.desktop", "Test Editor", "editor %F", "text/plain;");
    WriteLauncher("helper.desktop", "Helper", strHelper + " %f", "text/plain;");
    SetDefault("text/plain", "test-editor.desktop");
    Write("fixed/docs/a b.txt");

    int nCount = 0;
    IContextMenu* pMenu = MenuOf("P:\\docs\\a b.txt", CMF_NODEFAULT | CMF_VERBSONLY, &nCount);
    ASSERT_NE(pMenu, nullptr);
    ASSERT_GE(nCount, 2) << "the default and the helper, with whatever else the machine has for text";
    EXPECT_EQ(Text(0), "&Open");
    int nHelper = 1;
    while (nHelper < nCount && Text(nHelper) != "Open with Helper")
        ++nHelper;
    ASSERT_LT(nHelper, nCount);
    EXPECT_EQ(GetMenuItemID(m_hMenu, nHelper), static_cast<UINT>(nHelper + 1)) << "ids from idCmdFirst";
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, FALSE, 0), static_cast<UINT>(-1)) << "no default with CMF_NODEFAULT";

    {
        CLaunchOverride launches;
        ASSERT_EQ(Invoke(pMenu, 0), S_OK);
        EXPECT_EQ(launches.GetLaunches().back(), (std::vector<std::string> { "editor", Host("fixed/docs/a b.txt") }));
    }
    // "Open with" really starts the other application with the file.
    ASSERT_EQ(Invoke(pMenu, static_cast<UINT>(nHelper)), S_OK);
    WaitUntil([&] { return std::filesystem::exists(strOut); });
    std::ifstream file(strOut);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), Host("fixed/docs/a b.txt"));
    EXPECT_EQ(Invoke(pMenu, static_cast<UINT>(nCount)), E_INVALIDARG);
    pMenu->Release();
}

TEST_F(ShellContextMenuTest, FoldersOpenAndUnknownFilesOfferNothing)
{
    MakeFolder("fixed/docs");
    Write("fixed/data.zzqq");
    int nCount = 0;
    IContextMenu* pMenu = MenuOf("P:\\docs", CMF_NORMAL, &nCount);
    ASSERT_EQ(nCount, 1);
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, FALSE, 0), 1u) << "bold without CMF_NODEFAULT";
    CLaunchOverride launches;
    CMINVOKECOMMANDINFO info {};
    info.cbSize = sizeof info;
    info.lpVerb = "open";
    ASSERT_EQ(pMenu->InvokeCommand(&info), S_OK);
    EXPECT_EQ(launches.GetLaunches().back(), (std::vector<std::string> { "xdg-open", Host("fixed/docs") }));
    pMenu->Release();
    DestroyMenu(m_hMenu);

    pMenu = MenuOf("P:\\data.zzqq", CMF_NORMAL, &nCount);
    EXPECT_EQ(nCount, 0);
    pMenu->Release();
}
