#include "store/CRegistryKey.h"

#include "platform/base/CArchive.h"
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

// A window placement as the frame keeps it, stored through its Serialize.
class CTestPlacement : public CObject {
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_nShow << m_strFrame << m_rect.left << m_rect.top << m_rect.right << m_rect.bottom;
        else
            ar >> m_nShow >> m_strFrame >> m_rect.left >> m_rect.top >> m_rect.right >> m_rect.bottom;
    }

    int m_nShow { 0 };
    CString m_strFrame;
    RECT m_rect { 0, 0, 0, 0 };
};

std::vector<BYTE> RawValue(HKEY hKey, LPCTSTR pszName)
{
    std::vector<BYTE> data(4096);
    DWORD cbData = static_cast<DWORD>(data.size());
    DWORD dwType = REG_NONE;
    EXPECT_EQ(RegQueryValueEx(hKey, pszName, nullptr, &dwType, data.data(), &cbData), ERROR_SUCCESS);
    EXPECT_EQ(dwType, REG_BINARY);
    data.resize(cbData);
    return data;
}

void SetRawValue(HKEY hKey, LPCTSTR pszName, const std::vector<BYTE>& data)
{
    ASSERT_EQ(RegSetValueEx(hKey, pszName, 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
}

TEST_F(CRegistryKeyTest, DwordArraysRoundTripAsCountAndElements)
{
    CDWordArray position;
    for (DWORD dw : { 1u, 0xFFFFFFFFu, 640u })
        position.Add(dw);
    ASSERT_TRUE(m_key.SetDWordArray("Position", position));
    EXPECT_EQ(
        RawValue(m_key, "Position"), (std::vector<BYTE> { 3, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 2, 0, 0 }));
    CDWordArray loaded;
    loaded.Add(99);
    ASSERT_TRUE(m_key.GetDWordArray("Position", loaded));
    ASSERT_EQ(loaded.GetSize(), 3);
    EXPECT_EQ(loaded[1], 0xFFFFFFFFu);
    EXPECT_EQ(loaded[2], 640u);

    CDWordArray large;
    for (DWORD i = 0; i < 5000; ++i)
        large.Add(i * 7);
    ASSERT_TRUE(m_key.SetDWordArray("Large", large));
    ASSERT_TRUE(m_key.GetDWordArray("Large", loaded));
    ASSERT_EQ(loaded.GetSize(), 5000);
    EXPECT_EQ(loaded[4999], 4999u * 7);
    ASSERT_TRUE(m_key.SetDWordArray("Empty", CDWordArray()));
    EXPECT_TRUE(m_key.GetDWordArray("Empty", loaded));
    EXPECT_EQ(loaded.GetSize(), 0);
}

TEST_F(CRegistryKeyTest, StringArraysRoundTrip)
{
    CStringArray folders;
    folders.Add("C:\\Documents\\Relatórios\\");
    folders.Add("");
    folders.Add(CString(std::string(3000, 'x').c_str()));
    ASSERT_TRUE(m_key.SetStringArray("FastUpdateDir", folders));
    std::vector<BYTE> raw = RawValue(m_key, "FastUpdateDir");
    EXPECT_EQ(std::vector<BYTE>(raw.begin(), raw.begin() + 4), (std::vector<BYTE> { 3, 0, 25, 'C' }));
    CStringArray loaded;
    ASSERT_TRUE(m_key.GetStringArray("FastUpdateDir", loaded));
    ASSERT_EQ(loaded.GetSize(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(loaded[i], folders[i]);
}

TEST_F(CRegistryKeyTest, ObjectsRoundTripThroughTheirSerialize)
{
    CTestPlacement placement;
    placement.m_nShow = 3;
    placement.m_strFrame = "Sistemas";
    placement.m_rect = { 10, 20, 630, 470 };
    ASSERT_TRUE(m_key.SetObject("Placement", placement));
    CTestPlacement loaded;
    ASSERT_TRUE(m_key.GetObject("Placement", loaded));
    EXPECT_EQ(loaded.m_nShow, 3);
    EXPECT_EQ(std::string(loaded.m_strFrame), "Sistemas");
    EXPECT_EQ(loaded.m_rect.right, 630);
    EXPECT_EQ(loaded.m_rect.bottom, 470);
}

TEST_F(CRegistryKeyTest, DamagedArchivedValuesLoadNothing)
{
    CDWordArray numbers;
    CStringArray texts;
    CTestPlacement placement;
    // Missing, of another type, too short, counts beyond the data.
    EXPECT_FALSE(m_key.GetDWordArray("Missing", numbers));
    EXPECT_EQ(m_key.GetLastError(), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    ASSERT_TRUE(m_key.SetDWORD("Number", 4));
    EXPECT_FALSE(m_key.GetDWordArray("Number", numbers));
    EXPECT_EQ(m_key.GetLastError(), static_cast<LONG>(ERROR_INVALID_DATA));
    const std::vector<std::vector<BYTE>> damaged = {
        {}, { 1 },                                 // Cut inside the count
        { 2, 0, 1, 0, 0, 0 },                      // Two elements counted, one there
        { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1 }, // A huge count
        { 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a' }, { 1, 0, 5, 'a', 'b' }, { 0, 0, 0 }, // A byte left over
    };
    for (const std::vector<BYTE>& data : damaged) {
        SetRawValue(m_key, "Damaged", data);
        numbers.Add(1);
        texts.Add("left over");
        EXPECT_FALSE(m_key.GetDWordArray("Damaged", numbers)) << data.size();
        EXPECT_EQ(numbers.GetSize(), 0);
        EXPECT_EQ(m_key.GetLastError(), static_cast<LONG>(ERROR_INVALID_DATA));
        EXPECT_FALSE(m_key.GetStringArray("Damaged", texts)) << data.size();
        EXPECT_EQ(texts.GetSize(), 0);
        EXPECT_FALSE(m_key.GetObject("Damaged", placement)) << data.size();
    }
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
