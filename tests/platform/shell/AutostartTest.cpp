#include "platform/shell/Autostart.h"

#include "platform/base/ProgramFolder.h"
#include "platform/base/WinError.h"
#include "tests/platform/shell/ShellTreeFixture.h"

#include <fstream>

#include <unistd.h>

namespace {

class AutostartTest : public ShellTreeTest {
protected:
    void SetUp() override
    {
        ShellTreeTest::SetUp();
        SetRegistryKeyHook(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, &AutostartHook());
        char szProgram[MAX_PATH];
        GetModuleFileName(nullptr, szProgram, MAX_PATH);
        m_strCommand = std::string(szProgram) + " -ds";
    }
    void TearDown() override
    {
        SetRegistryKeyHook(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, nullptr);
        ShellTreeTest::TearDown();
    }

    LSTATUS Set(const char* pszName, const std::string& strValue)
    {
        HKEY hKey = nullptr;
        LSTATUS lResult = RegCreateKeyEx(
            HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        if (lResult == ERROR_SUCCESS)
            lResult = RegSetValueEx(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
                static_cast<DWORD>(strValue.size() + 1));
        RegCloseKey(hKey);
        return lResult;
    }
    // The value as the program reads it: opening the key first.
    std::string Get(const char* pszName)
    {
        HKEY hKey = nullptr;
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
            return "<no key>";
        char szValue[MAX_PATH] {};
        DWORD cb = sizeof szValue;
        LSTATUS lResult = RegQueryValueEx(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(szValue), &cb);
        RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS ? szValue : "<no value>";
    }
    static std::string ReadFile(const std::string& strPath)
    {
        std::ifstream file(strPath);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::string m_strCommand;
};

} // namespace

TEST_F(AutostartTest, TheRunValueIsKeptAsALauncher)
{
    ASSERT_EQ(Set("DocSentinel", m_strCommand), ERROR_SUCCESS);
    std::string strLauncher = AutostartLauncherPath("DocSentinel");
    EXPECT_EQ(strLauncher, Host("home/.config/autostart/archivora-DocSentinel.desktop"));
    std::string strText = ReadFile(strLauncher);
    char szExe[4096] {};
    ASSERT_GT(readlink("/proc/self/exe", szExe, sizeof szExe - 1), 0);
    EXPECT_NE(strText.find("Exec=\"" + std::string(szExe) + "\" \"-ds\"\n"), std::string::npos) << strText;
    EXPECT_NE(strText.find("X-Archivora-Run=DocSentinel\n"), std::string::npos);
    EXPECT_EQ(Get("DocSentinel"), m_strCommand);

    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, 0, KEY_ALL_ACCESS, &hKey), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(hKey, "DocSentinel"), ERROR_SUCCESS);
    RegCloseKey(hKey);
    EXPECT_FALSE(std::filesystem::exists(strLauncher));
}

TEST_F(AutostartTest, ValuesFollowWhatTheDesktopDidToTheLaunchers)
{
    ASSERT_EQ(Set("DocSentinel", m_strCommand), ERROR_SUCCESS);
    ASSERT_EQ(Set("Other", m_strCommand + " -x"), ERROR_SUCCESS);
    std::filesystem::remove(AutostartLauncherPath("DocSentinel"));
    std::ofstream(AutostartLauncherPath("Other"), std::ios::app) << "Hidden=true\n";
    EXPECT_EQ(Get("DocSentinel"), "<no value>") << "removed in the desktop's settings";
    EXPECT_EQ(Get("Other"), "<no value>") << "hidden in the desktop's settings";

    // A launcher without its value gives it back.
    ASSERT_EQ(Set("DocSentinel", m_strCommand), ERROR_SUCCESS);
    SetRegistryKeyHook(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, nullptr);
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, 0, KEY_ALL_ACCESS, &hKey), ERROR_SUCCESS);
    RegDeleteValue(hKey, "DocSentinel");
    RegCloseKey(hKey);
    SetRegistryKeyHook(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, &AutostartHook());
    EXPECT_EQ(Get("DocSentinel"), m_strCommand);
}

TEST_F(AutostartTest, AValueWhoseLauncherCannotBeWrittenStaysAsItWas)
{
    Write("home/.config/autostart", "a file where the folder must be");
    EXPECT_NE(Set("DocSentinel", m_strCommand), ERROR_SUCCESS);
    SetRegistryKeyHook(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, nullptr);
    EXPECT_EQ(Get("DocSentinel"), "<no value>");
}
