#include "platform/shell/StartMenu.h"

#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/shell/FileTypePresentation.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellLink.h"
#include "tests/platform/shell/LauncherFixture.h"

namespace {

class StartMenuTest : public LauncherTest {
protected:
    void SetUp() override
    {
        LauncherTest::SetUp();
        RegisterComClass(CLSID_ShellLink, CreateShellLink);
    }
    std::string Link(const std::string& strName) const
    {
        std::ifstream file(StartMenuHostFolder() + "/" + strName);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    // The target and arguments of each Start menu item a caller reads as a shortcut.
    std::map<std::string, std::string> ReadAsShortcuts() const
    {
        std::map<std::string, std::string> targets;
        IShellFolder* pDesktop = nullptr;
        IShellFolder* pMenu = nullptr;
        LPITEMIDLIST pidlMenu = nullptr;
        EXPECT_EQ(SHGetDesktopFolder(&pDesktop), S_OK);
        EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTMENU, &pidlMenu), S_OK);
        EXPECT_EQ(pDesktop->BindToObject(pidlMenu, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pMenu)), S_OK);
        IEnumIDList* pEnum = nullptr;
        EXPECT_EQ(pMenu->EnumObjects(nullptr, 0xE0, &pEnum), S_OK);
        LPITEMIDLIST pidl = nullptr;
        while (pEnum->Next(1, &pidl, nullptr) == S_OK) {
            SFGAOF sfgao = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_LINK;
            LPCITEMIDLIST apidl[] = { pidl };
            pMenu->GetAttributesOf(1, apidl, &sfgao);
            STRRET name {};
            pMenu->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &name);
            IShellLinkA* pLink = nullptr;
            IPersistFile* pFile = nullptr;
            CoCreateInstance(
                CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&pLink));
            pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile));
            std::u16string wide = Utf16FromUtf8(name.cStr);
            char szTarget[MAX_PATH] {};
            if ((sfgao & SFGAO_LINK) && pFile->Load(wide.c_str(), STGM_READ) == S_OK
                && pLink->Resolve(nullptr, 0xA0001) == S_OK && pLink->GetPath(szTarget, MAX_PATH, nullptr, 0) == S_OK) {
                std::string strFile = name.cStr;
                targets[strFile.substr(strFile.rfind('\\') + 1)] = szTarget;
            }
            pFile->Release();
            pLink->Release();
            CoTaskMemFree(pidl);
        }
        pEnum->Release();
        pMenu->Release();
        pDesktop->Release();
        CoTaskMemFree(pidlMenu);
        return targets;
    }
};

} // namespace

TEST_F(StartMenuTest, OneLinkPerShownLauncherNamedAfterTheApplication)
{
    std::string strEditor = WriteLauncher("org.test.Editor.desktop", "Text Editor", "editor %F", "text/plain;");
    WriteLauncher("org.other.Editor.desktop", "Text Editor", "true %F");
    WriteLauncher("org.test.Slash.desktop", "In/Out: Tool", "true");
    WriteLauncher("org.test.Hidden.desktop", "Hidden Tool", "true", "", "NoDisplay=true\n");
    std::filesystem::create_directories(StartMenuHostFolder());
    std::ofstream(StartMenuHostFolder() + "/Mine.desktop") << "[Desktop Entry]\nType=Link\nURL=file:///x\n";

    ASSERT_EQ(PresentStartMenu(), ERROR_SUCCESS);
    std::string strLink = Link("Text Editor.desktop") + Link("Text Editor (2).desktop");
    EXPECT_NE(strLink.find("URL=file://" + Applications() + "/org.test.Editor.desktop\n"), std::string::npos);
    EXPECT_NE(strLink.find("URL=file://" + Applications() + "/org.other.Editor.desktop\n"), std::string::npos);
    EXPECT_NE(Link("In_Out_ Tool.desktop"), "") << "made a valid file name";
    EXPECT_EQ(Link("Hidden Tool.desktop"), "") << "not shown by the desktop";

    // Read as a caller reads shortcuts, each link gives its launcher's program path,
    // which is the program the presented file types name.
    std::map<std::string, std::string> targets = ReadAsShortcuts();
    std::string strEditorPath = ProgramPathFromHostPath(strEditor);
    EXPECT_TRUE(targets["Text Editor.desktop"] == strEditorPath || targets["Text Editor (2).desktop"] == strEditorPath);
    SetDefault("text/plain", "org.test.Editor.desktop");
    ASSERT_EQ(PresentFileTypes(), ERROR_SUCCESS);
    HKEY hKey = nullptr;
    char szCommand[MAX_PATH] {};
    DWORD cb = sizeof szCommand;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "text/plain\\shell\\open\\command", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    RegQueryValueEx(hKey, "", nullptr, nullptr, reinterpret_cast<BYTE*>(szCommand), &cb);
    RegCloseKey(hKey);
    EXPECT_EQ(std::string(szCommand), "\"" + strEditorPath + "\" \"%1\"");

    // A launcher that went takes its link along; a file that is not ours stays.
    std::filesystem::remove(strEditor);
    std::filesystem::remove(Applications() + "/org.other.Editor.desktop");
    ASSERT_EQ(PresentStartMenu(), ERROR_SUCCESS);
    EXPECT_EQ(Link("Text Editor.desktop"), "");
    EXPECT_NE(Link("Mine.desktop"), "");
}

TEST_F(StartMenuTest, TheUsersSubfoldersStayAndTakeNoLinkName)
{
    WriteLauncher("org.test.Games.desktop", "Games", "true");
    std::filesystem::create_directories(StartMenuHostFolder() + "/Games");
    std::filesystem::create_directories(StartMenuHostFolder() + "/Tools");
    std::ofstream(StartMenuHostFolder() + "/Tools/Mine.desktop") << "[Desktop Entry]\nType=Link\nURL=file:///x\n";

    ASSERT_EQ(PresentStartMenu(), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::is_directory(StartMenuHostFolder() + "/Games"));
    EXPECT_TRUE(std::filesystem::exists(StartMenuHostFolder() + "/Tools/Mine.desktop"));
    EXPECT_NE(Link("Games.desktop"), "");
}
