#include "store/CRegistryKey.h"

#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "store/CLogFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* PRODUCT_KEY = "SOFTWARE\\KD\\Archivora Plus";

class CRegistryKeyTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(m_key.Create(HKEY_CURRENT_USER, (std::string(PRODUCT_KEY) + "\\Desktop").c_str()));
    }

    CRegistryKey m_key;
};

TEST_F(CRegistryKeyTest, MissingDwordGivesTheDefault)
{
    DWORD dwStatus = 0;
    EXPECT_FALSE(m_key.GetDWORD("Status", dwStatus, 3));
    EXPECT_EQ(dwStatus, 3u);
    EXPECT_EQ(m_key.GetLastError(), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    ASSERT_TRUE(m_key.SetDWORD("Status", 0xFFFFFFFE));
    EXPECT_TRUE(m_key.GetDWORD("Status", dwStatus, 3));
    EXPECT_EQ(dwStatus, 0xFFFFFFFEu);
    EXPECT_EQ(m_key.GetValueType(), REG_DWORD);
    EXPECT_EQ(m_key.GetValueSize(), 4u);
}

TEST_F(CRegistryKeyTest, ValuesOfAnotherTypeGiveTheDefault)
{
    ASSERT_TRUE(m_key.SetString("Status", "2"));
    DWORD dwStatus = 0;
    EXPECT_FALSE(m_key.GetDWORD("Status", dwStatus, 7));
    EXPECT_EQ(dwStatus, 7u);
    EXPECT_EQ(m_key.GetLastError(), static_cast<LONG>(ERROR_INVALID_DATA));
    EXPECT_EQ(m_key.GetValueType(), REG_SZ);
    ASSERT_TRUE(m_key.SetDWORD("Count", 5));
    CString strText;
    EXPECT_FALSE(m_key.GetString("Count", strText, "none"));
    EXPECT_EQ(std::string(strText), "none");
}

TEST_F(CRegistryKeyTest, StringsUpToTwoHundredBytes)
{
    std::string strFits(199, 'a');
    ASSERT_TRUE(m_key.SetString("Fits", strFits.c_str()));
    CString strValue;
    EXPECT_TRUE(m_key.GetString("Fits", strValue, "default"));
    EXPECT_EQ(std::string(strValue), strFits);
    EXPECT_EQ(m_key.GetValueSize(), 200u) << "the size counts the terminating NUL";

    std::string strLong(200, 'b');
    ASSERT_TRUE(m_key.SetString("Long", strLong.c_str()));
    EXPECT_FALSE(m_key.GetString("Long", strValue, "default"));
    EXPECT_EQ(std::string(strValue), "default");
    EXPECT_EQ(m_key.GetLastError(), static_cast<LONG>(ERROR_MORE_DATA));

    EXPECT_FALSE(m_key.GetString("Missing", strValue));
    EXPECT_EQ(std::string(strValue), "");
    ASSERT_TRUE(m_key.SetString("Empty", nullptr));
    EXPECT_TRUE(m_key.GetString("Empty", strValue, "default"));
    EXPECT_EQ(std::string(strValue), "");
}

TEST_F(CRegistryKeyTest, IndexedNamesCarryThreeDigits)
{
    EXPECT_EQ(std::string(CRegistryKey::IndexedName("Child", 0)), "Child000");
    EXPECT_EQ(std::string(CRegistryKey::IndexedName("Path", 7)), "Path007");
    EXPECT_EQ(std::string(CRegistryKey::IndexedName("Path", 123)), "Path123");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(m_key.SetDWORD(CRegistryKey::IndexedName("Path", i), static_cast<DWORD>(10 + i)));
    DWORD dwValue = 0;
    EXPECT_TRUE(m_key.GetDWORD("Path002", dwValue));
    EXPECT_EQ(dwValue, 12u);
}

TEST_F(CRegistryKeyTest, OpenNeedsAnExistingKeyAndReplacesTheHeldOne)
{
    CRegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\Settings"));
    EXPECT_EQ(key.GetLastError(), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(key.IsOpen());
    ASSERT_TRUE(key.Create(m_key, "Child000"));
    EXPECT_EQ(std::string(key.GetPath()), "Child000");
    ASSERT_TRUE(key.SetDWORD("Splitter", 120));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, PRODUCT_KEY, KEY_READ));
    EXPECT_EQ(std::string(key.GetPath()), PRODUCT_KEY);
    EXPECT_TRUE(key.KeyExists("Desktop\\Child000"));
    EXPECT_FALSE(key.KeyExists("Desktop\\Child001"));
    EXPECT_FALSE(key.SetDWORD("ReadOnly", 1)) << "opened for reading only";
    key.Close();
    DWORD dwValue = 0;
    EXPECT_FALSE(key.GetDWORD("Splitter", dwValue, 9));
    EXPECT_EQ(dwValue, 9u);
}

TEST_F(CRegistryKeyTest, ValuesCanBeTestedAndDeleted)
{
    ASSERT_TRUE(m_key.SetDWORD("ActiveFrame", 1));
    EXPECT_TRUE(m_key.ValueExists("ActiveFrame"));
    EXPECT_TRUE(m_key.DeleteValue("ActiveFrame"));
    EXPECT_FALSE(m_key.ValueExists("ActiveFrame"));
    EXPECT_FALSE(m_key.DeleteValue("ActiveFrame"));
    EXPECT_EQ(m_key.GetLastError(), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}

TEST_F(CRegistryKeyTest, DeleteTreeRemovesAKeyWithEverythingBelow)
{
    CRegistryKey child;
    ASSERT_TRUE(child.Create(m_key, "Child000\\ListView\\Filter"));
    ASSERT_TRUE(child.SetDWORD("Active", 1));
    ASSERT_TRUE(child.Create(m_key, "Child001"));
    ASSERT_TRUE(child.SetDWORD("Splitter", 1));
    ASSERT_TRUE(child.SetDWORD("Other", 2));
    child.Close();

    EXPECT_TRUE(m_key.DeleteTree("Child000"));
    EXPECT_FALSE(m_key.KeyExists("Child000"));
    EXPECT_FALSE(m_key.KeyExists("Child000\\ListView\\Filter"));
    EXPECT_TRUE(m_key.KeyExists("Child001"));
    EXPECT_FALSE(m_key.DeleteTree("Child000"));

    // A value alone, and a tree below another parent.
    EXPECT_TRUE(m_key.DeleteTree("Child001", "Splitter"));
    ASSERT_TRUE(child.Open(m_key, "Child001"));
    EXPECT_FALSE(child.ValueExists("Splitter"));
    EXPECT_TRUE(child.ValueExists("Other"));
    child.Close();
    CRegistryKey product;
    ASSERT_TRUE(product.Open(HKEY_CURRENT_USER, PRODUCT_KEY));
    m_key.Close();
    EXPECT_FALSE(product.DeleteTree("Desktop", nullptr, HKEY_CURRENT_USER)) << "the subkey counts from the parent";
    EXPECT_TRUE(CRegistryKey().DeleteTree("SOFTWARE\\KD\\Archivora Plus\\Desktop", nullptr, HKEY_CURRENT_USER));
    EXPECT_FALSE(product.KeyExists("Desktop"));
}

TEST_F(CRegistryKeyTest, ClosedWrapperFailsSoftly)
{
    CRegistryKey key;
    DWORD dwValue = 1;
    CString strValue;
    EXPECT_FALSE(key.GetDWORD("x", dwValue, 4));
    EXPECT_EQ(dwValue, 4u);
    EXPECT_FALSE(key.SetDWORD("x", 1));
    EXPECT_FALSE(key.GetString("x", strValue, "d"));
    EXPECT_FALSE(key.SetString("x", "y"));
    EXPECT_FALSE(key.ValueExists("x"));
    EXPECT_FALSE(key.DeleteValue("x"));
    EXPECT_NE(key.GetLastError(), static_cast<LONG>(ERROR_SUCCESS));
}

TEST_F(CRegistryKeyTest, ValuesSurviveTheProcess)
{
    // Another process writes; this one, which has the settings loaded already, reads.
    DWORD dwValue = 0;
    EXPECT_FALSE(m_key.GetDWORD("Windows", dwValue));
    pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        CRegistryKey key;
        bool bWritten = key.Create(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\Desktop")
            && key.SetDWORD("Windows", 4) && key.SetString("Title", "written elsewhere");
        _exit(bWritten ? 0 : 1);
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    EXPECT_TRUE(m_key.GetDWORD("Windows", dwValue));
    EXPECT_EQ(dwValue, 4u);
    CString strTitle;
    EXPECT_TRUE(m_key.GetString("Title", strTitle));
    EXPECT_EQ(std::string(strTitle), "written elsewhere");
}

class CRegistryKeyCorruptTest : public ProgramFolderTest { };

TEST_F(CRegistryKeyCorruptTest, DamagedSettingsLoadEmptyAndAreLogged)
{
    std::filesystem::create_directories(Home() / "settings");
    std::ofstream(Home() / "settings" / "CurrentUser.reg", std::ios::binary) << "\x01\x02 not a settings file {{{";
    TempFolder logFolder;
    g_log.Begin(ProgramPathFromHostPath((logFolder / "archiv.log").string()).c_str(), LOG_ALL);

    testing::internal::CaptureStderr();
    CRegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, PRODUCT_KEY));
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, PRODUCT_KEY));
    DWORD dwValue = 0;
    EXPECT_FALSE(key.GetDWORD("Status", dwValue, 3));
    EXPECT_EQ(dwValue, 3u);
    g_log.End();

    std::ifstream log(logFolder / "archiv.log");
    std::stringstream text;
    text << log.rdbuf();
    std::string strLog = text.str();
    EXPECT_NE(strLog.find("Registry: "), std::string::npos) << strLog;
    EXPECT_EQ(strLog.find("Registry: "), strLog.rfind("Registry: ")) << "each problem is logged once";
}

} // namespace
