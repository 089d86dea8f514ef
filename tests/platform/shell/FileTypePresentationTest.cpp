#include "platform/shell/FileTypePresentation.h"

#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/shell/DesktopApps.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/shell/ShellExecute.h"
#include "tests/platform/shell/LauncherFixture.h"

namespace {

class FileTypePresentationTest : public LauncherTest {
protected:
    void SetUp() override
    {
        LauncherTest::SetUp();
        m_strLauncher = WriteLauncher("test-editor.desktop", "Test Editor", "editor %F", "text/plain;");
        SetDefault("text/plain", "test-editor.desktop");
        MakeFolder("fixed/Templates");
        Write("fixed/Templates/Report.ODT", "template");
        SetTemplatesFolder(Host("fixed/Templates"));
    }

    static std::string Value(const std::string& strKey, const char* pszName)
    {
        HKEY hKey = nullptr;
        if (RegOpenKeyEx(HKEY_CLASSES_ROOT, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return "<no key>";
        char szValue[1024] {};
        DWORD cb = sizeof szValue;
        LSTATUS lResult = RegQueryValueEx(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(szValue), &cb);
        RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS ? szValue : "<no value>";
    }

    // A caller's resolution of a type's shell command: the class name from the
    // extension's key, its open command, the quoted program lower-cased.
    static std::string ResolveProgram(const std::string& strExtension)
    {
        std::string strClass = Value(strExtension, "");
        std::string strCommand = Utf8ToLower(Value(strClass + "\\shell\\open\\command", ""));
        if (!strCommand.starts_with('"'))
            return {};
        return strCommand.substr(1, strCommand.find('"', 1) - 1);
    }

    std::string m_strLauncher;
};

} // namespace

TEST_F(FileTypePresentationTest, EveryTypeOfTheMimeDatabaseIsPresentedWithItsDescriptionAndIcon)
{
    // A launcher that makes new spreadsheets (its first type) but also opens old ones.
    WriteLauncher("test-calc.desktop", "Test Calc", "editor %F",
        "application/vnd.oasis.opendocument.spreadsheet;application/vnd.ms-excel;",
        "Actions=new-document;\n\n[Desktop Action new-document]\nName=New Spreadsheet\nExec=editor --new\n");
    ASSERT_EQ(PresentFileTypes(), ERROR_SUCCESS);

    // A type no application opens and no template makes is still named and drawn.
    EXPECT_EQ(Value(".pdf", ""), "application/pdf");
    EXPECT_EQ(Value("application/pdf", ""), ContentTypeDescription("application/pdf"));
    EXPECT_NE(Value("application/pdf", ""), "");
    EXPECT_EQ(Value("application/pdf\\DefaultIcon", ""), ContentTypeIconName("application/pdf"));
    EXPECT_EQ(Value(".pdf\\ShellNew", ""), "<no key>") << "nothing here makes a new PDF";
    EXPECT_EQ(Value(".png", ""), "image/png");

    // What an application declares it makes new is creatable; what it only opens is not.
    EXPECT_EQ(Value(".ods\\ShellNew", "Command"), "editor --new");
    EXPECT_EQ(Value(".xls\\ShellNew", "Command"), "<no key>");

    EXPECT_EQ(Value(".txt", ""), "text/plain");
    EXPECT_EQ(Value(".txt", "Presented"), FILE_TYPES_PRESENTED);
    EXPECT_EQ(Value(".txt\\ShellNew", "NullFile"), "") << "an empty text file is a document";
    EXPECT_EQ(
        Value("text/plain\\shell\\open\\command", ""), "\"" + ProgramPathFromHostPath(m_strLauncher) + "\" \"%1\"");
    EXPECT_NE(Value("text/plain", ""), "<no value>") << "the type's description";

    std::string strOdt = Value(".odt", "");
    EXPECT_EQ(strOdt, "application/vnd.oasis.opendocument.text") << "a template makes its type presented";
    EXPECT_EQ(Value(".odt\\ShellNew", "FileName"), "P:\\Templates\\Report.ODT");
    EXPECT_EQ(Value(strOdt + "\\shell\\open\\command", ""), "<no key>");

    // The chain a caller follows starts the launcher, which starts its program.
    std::string strProgram = ResolveProgram(".txt");
    ASSERT_FALSE(strProgram.empty());
    CLaunchOverride launches;
    Write("fixed/a.txt");
    SHELLEXECUTEINFO info {};
    info.cbSize = 60;
    info.lpFile = strProgram.c_str();
    info.lpParameters = "P:\\a.txt";
    ASSERT_TRUE(ShellExecuteEx(&info));
    EXPECT_EQ(launches.GetLaunches().back(), (std::vector<std::string> { "editor", Host("fixed/a.txt") }));
}

TEST_F(FileTypePresentationTest, OwnKeysSurviveAndPresentedOnesFollowTheDesktop)
{
    // A key made by hand (no Presented value) wins over the desktop's.
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, ".txt", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    const BYTE own[] = "txtfile";
    RegSetValueEx(hKey, "", 0, REG_SZ, own, sizeof own);
    RegCloseKey(hKey);
    ASSERT_EQ(PresentFileTypes(), ERROR_SUCCESS);
    EXPECT_EQ(Value(".txt", ""), "txtfile");
    EXPECT_EQ(Value(".txt", "Presented"), "<no value>");

    // An edit of a presented key is undone.
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "text/plain", 0, KEY_ALL_ACCESS, &hKey), ERROR_SUCCESS);
    RegSetValueEx(hKey, "", 0, REG_SZ, own, sizeof own);
    RegCloseKey(hKey);
    ASSERT_EQ(PresentFileTypes(), ERROR_SUCCESS);
    EXPECT_NE(Value("text/plain", ""), "txtfile");
    // Without its template a type is no longer creatable, but stays named.
    std::filesystem::remove(Host("fixed/Templates/Report.ODT"));
    ASSERT_EQ(PresentFileTypes(), ERROR_SUCCESS);
    EXPECT_EQ(Value(".odt\\ShellNew", "FileName"), "<no key>");
    EXPECT_EQ(Value(".odt", ""), "application/vnd.oasis.opendocument.text");
    EXPECT_EQ(Value(".txt", ""), "txtfile") << "still there";
}

TEST_F(FileTypePresentationTest, TheFirstUseOfTheClassesRootPresents)
{
    SetRegistryKeyHook(HKEY_CLASSES_ROOT, "", &FileTypesHook());
    char szName[MAX_PATH];
    DWORD cch = sizeof szName;
    bool bFound = false;
    for (DWORD i = 0;
         RegEnumKeyEx(HKEY_CLASSES_ROOT, i, szName, &cch, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, cch = sizeof szName)
        bFound |= std::string(szName) == ".txt";
    SetRegistryKeyHook(HKEY_CLASSES_ROOT, "", nullptr);
    EXPECT_TRUE(bFound);
}
