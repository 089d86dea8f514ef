#include "platform/shell/ShellLink.h"

#include "platform/shell/LnkFile.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/ShellFolder.h"
#include "tests/platform/shell/LnkBuilder.h"
#include "tests/platform/shell/ShellTreeFixture.h"

#include <fstream>

namespace {

class ShellLinkTest : public ShellTreeTest {
protected:
    void SetUp() override
    {
        ShellTreeTest::SetUp();
        RegisterComClass(CLSID_ShellLink, CreateShellLink);
    }

    void WriteBytes(const std::string& strRelative, const std::vector<BYTE>& data) const
    {
        MakeFolder(std::filesystem::path(strRelative).parent_path().string());
        std::ofstream(Host(strRelative), std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }

    // Loads a shortcut as a caller does: CoCreateInstance, then IPersistFile::Load.
    HRESULT Load(const std::string& strProgramPath)
    {
        Release();
        HRESULT hr = CoCreateInstance(
            CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&m_pLink));
        if (FAILED(hr))
            return hr;
        IPersistFile* pFile = nullptr;
        hr = m_pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile));
        if (FAILED(hr))
            return hr;
        std::u16string wide = Utf16FromUtf8(strProgramPath);
        hr = pFile->Load(wide.c_str(), STGM_SHARE_DENY_WRITE);
        pFile->Release();
        return hr;
    }
    std::string Path(DWORD fFlags, WIN32_FIND_DATA* pData = nullptr, HRESULT* phr = nullptr) const
    {
        char szPath[MAX_PATH] {};
        HRESULT hr = m_pLink->GetPath(szPath, MAX_PATH, pData, fFlags);
        if (phr)
            *phr = hr;
        return szPath;
    }
    std::string Arguments() const
    {
        char szArgs[MAX_PATH] {};
        EXPECT_EQ(m_pLink->GetArguments(szArgs, MAX_PATH), S_OK);
        return szArgs;
    }
    void Release()
    {
        if (m_pLink)
            m_pLink->Release();
        m_pLink = nullptr;
    }
    void TearDown() override
    {
        Release();
        ShellTreeTest::TearDown();
    }

    IShellLinkA* m_pLink { nullptr };
};

} // namespace

TEST_F(ShellLinkTest, LnkTargetsByTheRulesOfPreference)
{
    Write("fixed/docs/plan.txt", "twelve bytes");
    WriteBytes("fixed/links/plan.lnk",
        LnkBuilder()
            .LocalPath("P:\\docs\\", "plan.txt")
            .Arguments("-x  ")
            .Target(0x20, 12, 0x01D9000000000000)
            .Build());
    WriteBytes("fixed/links/relative.lnk", LnkBuilder().RelativePath("..\\docs\\plan.txt").Build());
    WriteBytes("fixed/links/raw.lnk",
        LnkBuilder().RelativePath(".\\x.exe").Environment("%windir%\\x.exe").Flags(LNK_FORCE_NO_LINK_INFO).Build());
    WriteBytes("fixed/links/share.lnk", LnkBuilder().Share("\\\\server\\docs", "q1.txt").Build());
    WriteBytes("fixed/links/items.lnk", LnkBuilder().IdList({ 4, 0, 1, 2, 0, 0 }).Build());

    ASSERT_EQ(Load("P:\\links\\PLAN.LNK"), S_OK);
    WIN32_FIND_DATA data {};
    EXPECT_EQ(Path(SLGP_RAWPATH, &data), "P:\\docs\\plan.txt");
    EXPECT_EQ(data.nFileSizeLow, 12u) << "find data from the link's header";
    EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, 0x01D90000u);
    EXPECT_STREQ(data.cFileName, "plan.txt");
    EXPECT_EQ(Arguments(), "-x  ");
    EXPECT_EQ(m_pLink->Resolve(nullptr, 0xA0001), S_OK);
    LPITEMIDLIST pidl = nullptr;
    ASSERT_EQ(m_pLink->GetIDList(&pidl), S_OK);
    char szPath[MAX_PATH];
    EXPECT_TRUE(SHGetPathFromIDList(pidl, szPath));
    EXPECT_STREQ(szPath, "P:\\docs\\plan.txt");
    CoTaskMemFree(pidl);

    ASSERT_EQ(Load("P:\\links\\relative.lnk"), S_OK);
    EXPECT_EQ(Path(0), "P:\\docs\\plan.txt") << "relative to the link's folder";
    ASSERT_EQ(Load("P:\\links\\raw.lnk"), S_OK);
    EXPECT_EQ(Path(SLGP_RAWPATH), "%windir%\\x.exe") << "as written";
    EXPECT_EQ(Path(0), "P:\\links\\x.exe");
    EXPECT_EQ(m_pLink->Resolve(nullptr, SLR_NO_UI), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    ASSERT_EQ(Load("P:\\links\\share.lnk"), S_OK);
    EXPECT_EQ(Path(0), "\\\\server\\docs\\q1.txt");
    ASSERT_EQ(Load("P:\\links\\items.lnk"), S_OK);
    HRESULT hr = S_OK;
    EXPECT_EQ(Path(0, nullptr, &hr), "");
    EXPECT_EQ(hr, E_FAIL) << "an item list alone is no target we can read";
}

TEST_F(ShellLinkTest, DesktopLaunchersStandForTheirTargets)
{
    Write("fixed/docs/plan.txt");
    std::ofstream(Write("fixed/links/plan.desktop", ""))
        << "[Desktop Entry]\nType=Link\nName=Plan\nURL=file://" << Host("fixed/docs/plan.txt") << "\n";
    std::ofstream(Write("fixed/links/site.desktop", ""))
        << "[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org/\n";
    std::ofstream(Write("fixed/links/editor.desktop", ""))
        << "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %F\n";

    ASSERT_EQ(Load("P:\\links\\plan.desktop"), S_OK);
    EXPECT_EQ(Path(0), "P:\\docs\\plan.txt");
    EXPECT_EQ(Arguments(), "");
    ASSERT_EQ(Load("P:\\links\\site.desktop"), S_OK);
    EXPECT_EQ(Path(0), "https://example.org/");
    ASSERT_EQ(Load("P:\\links\\editor.desktop"), S_OK);
    EXPECT_EQ(Path(0), "P:\\links\\editor.desktop") << "an application launcher is its own program";
}

TEST_F(ShellLinkTest, WhatIsNoShortcutFailsCleanly)
{
    Write("fixed/notes.txt");
    WriteBytes("fixed/damaged.lnk", { 0x4C, 0, 0, 0, 1, 2, 3 });
    Write("fixed/damaged.desktop", "[Desktop Entry]\nType=Directory\n");
    EXPECT_EQ(Load("P:\\notes.txt"), E_FAIL);
    EXPECT_EQ(Load("P:\\damaged.lnk"), HRESULT_FROM_WIN32(ERROR_BAD_FORMAT));
    EXPECT_EQ(Load("P:\\damaged.desktop"), HRESULT_FROM_WIN32(ERROR_BAD_FORMAT));
    EXPECT_EQ(Load("P:\\missing.lnk"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(m_pLink->SetPath("x"), E_NOTIMPL) << "nothing writes a shortcut";
    EXPECT_EQ(Path(0), "") << "nothing was loaded";
}
