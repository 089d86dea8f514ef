#include "platform/framework/CWinApp.h"

#include "tests/support/TempFolder.h"

#include "platform/base/Registry.h"
#include "platform/base/WinError.h"
#include "platform/framework/CWnd.h"

#include <filesystem>

namespace {

class CWinAppTest : public ProgramFolderTest {
protected:
    // Reads a DWORD straight from the registry, bypassing the application object.
    static bool ReadRegistryDword(LPCTSTR lpszPath, LPCTSTR lpszValue, DWORD* pdwValue)
    {
        HKEY hKey = nullptr;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, lpszPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return false;
        DWORD dwType = 0;
        DWORD cbData = sizeof(*pdwValue);
        LSTATUS nStatus
            = RegQueryValueEx(hKey, lpszValue, nullptr, &dwType, reinterpret_cast<LPBYTE>(pdwValue), &cbData);
        RegCloseKey(hKey);
        return nStatus == ERROR_SUCCESS && dwType == REG_DWORD;
    }
};

} // namespace

TEST_F(CWinAppTest, TheApplicationIsTheThreadsObject)
{
    {
        CWinApp app("Organizer");
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(AfxGetThread(), &app);
        EXPECT_STREQ(app.m_pszAppName, "Organizer");
        CWnd main;
        ASSERT_TRUE(main.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        app.m_pMainWnd = &main;
        EXPECT_EQ(AfxGetMainWnd(), &main);
        app.m_pMainWnd = nullptr;
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetThread(), nullptr);
}

TEST_F(CWinAppTest, RegistrySettingsLiveUnderTheKeyAndApplicationName)
{
    CWinApp app("Organizer");
    app.SetRegistryKey("Test Company");
    EXPECT_EQ(app.GetProfileInt("Settings", "Width", -1), static_cast<UINT>(-1));
    EXPECT_TRUE(app.WriteProfileInt("Settings", "Width", 640));
    EXPECT_EQ(app.GetProfileInt("Settings", "Width", -1), 640U);
    DWORD dwValue = 0;
    ASSERT_TRUE(ReadRegistryDword("Software\\Test Company\\Organizer\\Settings", "Width", &dwValue));
    EXPECT_EQ(dwValue, 640U);

    EXPECT_TRUE(app.WriteProfileString("Settings", "Folder", "C:\\Documentos"));
    EXPECT_EQ(app.GetProfileString("Settings", "Folder"), "C:\\Documentos");
    // A string is not read as a number, nor a number as a string.
    EXPECT_EQ(app.GetProfileInt("Settings", "Folder", 9), 9U);
    EXPECT_EQ(app.GetProfileString("Settings", "Width", "none"), "none");
}

TEST_F(CWinAppTest, NullValuesAndEntriesRemoveSettings)
{
    CWinApp app("Organizer");
    app.SetRegistryKey("Test Company");
    ASSERT_TRUE(app.WriteProfileString("Layout", "First", "1"));
    ASSERT_TRUE(app.WriteProfileString("Layout", "Second", "2"));
    EXPECT_TRUE(app.WriteProfileString("Layout", "First", nullptr));
    EXPECT_EQ(app.GetProfileString("Layout", "First", "gone"), "gone");
    EXPECT_EQ(app.GetProfileString("Layout", "Second"), "2");

    EXPECT_TRUE(app.WriteProfileString("Layout", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileString("Layout", "Second", "gone"), "gone");
    HKEY hKey = nullptr;
    EXPECT_NE(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Test Company\\Organizer\\Layout", 0, KEY_READ, &hKey),
        ERROR_SUCCESS);
    EXPECT_FALSE(app.WriteProfileInt(nullptr, "x", 1));
}

TEST_F(CWinAppTest, WithoutARegistryKeySettingsGoToTheProfileFile)
{
    CWinApp app("Organizer");
    EXPECT_TRUE(app.WriteProfileInt("Settings", "Height", 480));
    EXPECT_TRUE(app.WriteProfileString("Settings", "Name", "Ana"));
    EXPECT_EQ(app.GetProfileInt("Settings", "Height", 0), 480U);
    EXPECT_EQ(app.GetProfileString("Settings", "Name"), "Ana");
    EXPECT_TRUE(std::filesystem::exists(Home() / "Organizer.INI"));
    DWORD dwValue = 0;
    EXPECT_FALSE(ReadRegistryDword("Software\\Organizer\\Settings", "Height", &dwValue));
}
