#include "platform/base/Registry.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class RegistryTest : public ProgramFolderTest {
protected:
    void TearDown() override
    {
        for (HKEY hKey : m_opened)
            RegCloseKey(hKey);
        ProgramFolderTest::TearDown();
    }

    // Creates (or opens) a key below HKEY_CURRENT_USER; closed at the end of the test.
    HKEY Create(LPCTSTR pszPath, REGSAM sam = KEY_ALL_ACCESS, DWORD* pdwDisposition = nullptr)
    {
        HKEY hKey = nullptr;
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, pszPath, 0, nullptr, REG_OPTION_NON_VOLATILE, sam, nullptr, &hKey,
                      pdwDisposition),
            ERROR_SUCCESS);
        m_opened.push_back(hKey);
        return hKey;
    }

    HKEY Open(LPCTSTR pszPath, REGSAM sam = KEY_READ)
    {
        HKEY hKey = nullptr;
        EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, pszPath, 0, sam, &hKey), ERROR_SUCCESS);
        m_opened.push_back(hKey);
        return hKey;
    }

    static void SetString(HKEY hKey, LPCTSTR pszName, const std::string& strValue, DWORD dwType = REG_SZ)
    {
        ASSERT_EQ(RegSetValueEx(hKey, pszName, 0, dwType, reinterpret_cast<const BYTE*>(strValue.c_str()),
                      static_cast<DWORD>(strValue.size() + 1)),
            ERROR_SUCCESS);
    }

    static void SetDword(HKEY hKey, LPCTSTR pszName, DWORD dwValue)
    {
        ASSERT_EQ(RegSetValueEx(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue),
            ERROR_SUCCESS);
    }

    static std::string QueryString(HKEY hKey, LPCTSTR pszName)
    {
        char szBuffer[256] = {};
        DWORD cbData = sizeof szBuffer;
        DWORD dwType = 0;
        if (RegQueryValueEx(hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(szBuffer), &cbData)
            != ERROR_SUCCESS)
            return "<missing>";
        return szBuffer;
    }

    static std::vector<std::string> SubkeyNames(HKEY hKey)
    {
        std::vector<std::string> names;
        char szName[256];
        for (DWORD i = 0;; ++i) {
            DWORD cchName = sizeof szName;
            LSTATUS nStatus = RegEnumKeyEx(hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
            if (nStatus == ERROR_NO_MORE_ITEMS)
                break;
            EXPECT_EQ(nStatus, ERROR_SUCCESS);
            if (nStatus != ERROR_SUCCESS)
                break;
            EXPECT_EQ(cchName, std::strlen(szName));
            names.emplace_back(szName);
        }
        return names;
    }

    static std::vector<std::string> ValueNames(HKEY hKey)
    {
        std::vector<std::string> names;
        char szName[256];
        for (DWORD i = 0;; ++i) {
            DWORD cchName = sizeof szName;
            LSTATUS nStatus = RegEnumValue(hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
            if (nStatus != ERROR_SUCCESS) {
                EXPECT_EQ(nStatus, ERROR_NO_MORE_ITEMS);
                break;
            }
            names.emplace_back(szName);
        }
        return names;
    }

private:
    std::vector<HKEY> m_opened;
};

using Names = std::vector<std::string>;

}

/* Creating and opening keys. */

TEST_F(RegistryTest, CreateReportsWhetherTheKeyIsNewAndMakesMissingParents)
{
    DWORD dwDisposition = 0;
    Create("Software\\Vendor\\App", KEY_ALL_ACCESS, &dwDisposition);
    EXPECT_EQ(dwDisposition, REG_CREATED_NEW_KEY);
    Create("Software\\Vendor\\App", KEY_ALL_ACCESS, &dwDisposition);
    EXPECT_EQ(dwDisposition, REG_OPENED_EXISTING_KEY);
    Create("Software\\Vendor", KEY_ALL_ACCESS, &dwDisposition);
    EXPECT_EQ(dwDisposition, REG_OPENED_EXISTING_KEY);
}

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndKeepTheirCase)
{
    HKEY hKey = Create("Software\\MixedCase");
    SetString(hKey, "ValueName", "one");
    SetString(hKey, "VALUENAME", "two");
    EXPECT_EQ(QueryString(hKey, "valuename"), "two");
    EXPECT_EQ(ValueNames(hKey), Names({ "ValueName" }));

    Open("SOFTWARE\\mixedcase");
    EXPECT_EQ(SubkeyNames(Open("software")), Names({ "MixedCase" }));
}

TEST_F(RegistryTest, NonAsciiNamesCompareWithoutCase)
{
    HKEY hKey = Create("Software\\Éditions Ωmega");
    SetString(hKey, "Größe", "x");
    Open("SOFTWARE\\éDITIONS ωMEGA");
    EXPECT_EQ(QueryString(hKey, "GRößE"), "x");
}

TEST_F(RegistryTest, OpeningAMissingKeyFailsWithFileNotFound)
{
    Create("Software\\Present");
    HKEY hKey = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Absent", 0, KEY_READ, &hKey), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Present", 0, KEY_READ, &hKey), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, BadArgumentsAndHandlesGetTheirErrorCodes)
{
    HKEY hKey = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &hKey), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, nullptr, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);

    HKEY hForged = reinterpret_cast<HKEY>(static_cast<UINT_PTR>(0x4321));
    EXPECT_EQ(RegOpenKeyEx(hForged, "Software", 0, KEY_READ, &hKey), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(hForged), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueEx(hForged, "x", 0, REG_DWORD, nullptr, 0), ERROR_INVALID_HANDLE);

    HKEY hClosed = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hClosed, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(hClosed), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(hClosed), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryInfoKey(hClosed, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  nullptr, nullptr),
        ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryTest, AnEmptySubkeyOpensTheSameKeyAgain)
{
    HKEY hKey = Create("Software\\Same");
    HKEY hAgain = nullptr;
    ASSERT_EQ(RegOpenKeyEx(hKey, "", 0, KEY_ALL_ACCESS, &hAgain), ERROR_SUCCESS);
    SetString(hAgain, "v", "through the second handle");
    EXPECT_EQ(QueryString(hKey, "v"), "through the second handle");
    EXPECT_EQ(RegCloseKey(hAgain), ERROR_SUCCESS);
}

TEST_F(RegistryTest, RootsAreSeparate)
{
    HKEY hMachine = nullptr;
    ASSERT_EQ(RegCreateKeyEx(
                  HKEY_LOCAL_MACHINE, "Software\\Shared", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hMachine, nullptr),
        ERROR_SUCCESS);
    SetString(hMachine, "Where", "machine");
    HKEY hUser = Create("Software\\Shared");
    EXPECT_EQ(QueryString(hUser, "Where"), "<missing>");
    RegCloseKey(hMachine);
    EXPECT_TRUE(std::filesystem::exists(Home() / "settings" / "LocalMachine.reg"));
}

/* Values. */

TEST_F(RegistryTest, QueryReportsSizesAndMoreDataWithTheNeededSize)
{
    HKEY hKey = Create("Software\\Sizes");
    SetString(hKey, "Name", "hello");

    DWORD cbData = 0;
    DWORD dwType = 0;
    ASSERT_EQ(RegQueryValueEx(hKey, "Name", nullptr, &dwType, nullptr, &cbData), ERROR_SUCCESS);
    EXPECT_EQ(cbData, 6u); // the terminating NUL counts
    EXPECT_EQ(dwType, REG_SZ);

    char szSmall[4] = { 'x', 'x', 'x', 'x' };
    cbData = sizeof szSmall;
    EXPECT_EQ(
        RegQueryValueEx(hKey, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(szSmall), &cbData), ERROR_MORE_DATA);
    EXPECT_EQ(cbData, 6u);

    char szExact[6];
    cbData = sizeof szExact;
    ASSERT_EQ(
        RegQueryValueEx(hKey, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(szExact), &cbData), ERROR_SUCCESS);
    EXPECT_STREQ(szExact, "hello");

    EXPECT_EQ(RegQueryValueEx(hKey, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(szExact), nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueEx(hKey, "Missing", nullptr, nullptr, nullptr, &cbData), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, AStringSetWithoutItsTerminatorIsStoredWithOne)
{
    HKEY hKey = Create("Software\\Strings");
    ASSERT_EQ(RegSetValueEx(hKey, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
    DWORD cbData = 0;
    ASSERT_EQ(RegQueryValueEx(hKey, "Bare", nullptr, nullptr, nullptr, &cbData), ERROR_SUCCESS);
    EXPECT_EQ(cbData, 4u);
    EXPECT_EQ(QueryString(hKey, "Bare"), "abc");
}

TEST_F(RegistryTest, EveryValueTypeSurvivesAFreshProcessView)
{
    HKEY hKey = Create("Software\\Types");
    SetString(hKey, "Text", "line one\nline \"two\"\t\\end");
    SetString(hKey, "Expand", "%HOME%\\docs", REG_EXPAND_SZ);
    SetDword(hKey, "Number", 0xDEADBEEF);
    const BYTE binary[] = { 0x00, 0xFF, 0x0A, 0x5C, 0x22 };
    ASSERT_EQ(RegSetValueEx(hKey, "Binary", 0, REG_BINARY, binary, sizeof binary), ERROR_SUCCESS);
    const char multi[] = "first\0\0third\0"; // three strings, the middle one empty, then the final NUL
    ASSERT_EQ(RegSetValueEx(hKey, "Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi),
        ERROR_SUCCESS);
    const BYTE quad[] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    ASSERT_EQ(RegSetValueEx(hKey, "Quad", 0, REG_QWORD, quad, sizeof quad), ERROR_SUCCESS);
    const char embedded[] = "a\0b"; // a NUL inside a string has no readable form
    ASSERT_EQ(RegSetValueEx(hKey, "Embedded", 0, REG_SZ, reinterpret_cast<const BYTE*>(embedded), sizeof embedded),
        ERROR_SUCCESS);

    // Another process rewrites the file with the same contents: every value is read back from the text.
    auto file = Home() / "settings" / "CurrentUser.reg";
    std::filesystem::copy_file(file, Home() / "copy.reg");
    std::filesystem::rename(Home() / "copy.reg", file);

    auto expect = [&](LPCTSTR pszName, DWORD dwExpectedType, const void* pExpected, size_t cbExpected) {
        BYTE buffer[64];
        DWORD cbData = sizeof buffer;
        DWORD dwType = 0;
        ASSERT_EQ(RegQueryValueEx(hKey, pszName, nullptr, &dwType, buffer, &cbData), ERROR_SUCCESS) << pszName;
        EXPECT_EQ(dwType, dwExpectedType) << pszName;
        ASSERT_EQ(cbData, cbExpected) << pszName;
        EXPECT_EQ(std::memcmp(buffer, pExpected, cbExpected), 0) << pszName;
    };
    const char text[] = "line one\nline \"two\"\t\\end";
    expect("Text", REG_SZ, text, sizeof text);
    expect("Expand", REG_EXPAND_SZ, "%HOME%\\docs", sizeof "%HOME%\\docs");
    const DWORD dwNumber = 0xDEADBEEF;
    expect("Number", REG_DWORD, &dwNumber, sizeof dwNumber);
    expect("Binary", REG_BINARY, binary, sizeof binary);
    expect("Multi", REG_MULTI_SZ, multi, sizeof multi);
    expect("Quad", REG_QWORD, quad, sizeof quad);
    expect("Embedded", REG_SZ, embedded, sizeof embedded);
}

TEST_F(RegistryTest, TheDefaultValueHasTheEmptyName)
{
    HKEY hKey = Create("Software\\Default");
    SetString(hKey, nullptr, "by null");
    EXPECT_EQ(QueryString(hKey, ""), "by null");
    SetString(hKey, "", "by empty");
    EXPECT_EQ(QueryString(hKey, nullptr), "by empty");
    EXPECT_EQ(ValueNames(hKey), Names({ "" }));
    EXPECT_EQ(RegDeleteValue(hKey, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(hKey, ""), "<missing>");
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue)
{
    HKEY hKey = Create("Software\\Delete");
    SetDword(hKey, "Keep", 1);
    SetDword(hKey, "Drop", 2);
    EXPECT_EQ(RegDeleteValue(hKey, "DROP"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(hKey, "Drop"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ValueNames(hKey), Names({ "Keep" }));
}

/* Enumeration and information. */

TEST_F(RegistryTest, SubkeysEnumerateByNameAndValuesInCreationOrder)
{
    HKEY hKey = Create("Software\\Order");
    for (LPCTSTR pszName : { "beta", "Alpha", "GAMMA", "delta" }) {
        Create((std::string("Software\\Order\\") + pszName).c_str());
        SetDword(hKey, pszName, 0);
    }
    SetDword(hKey, "Alpha", 7); // setting again keeps the place
    EXPECT_EQ(SubkeyNames(hKey), Names({ "Alpha", "beta", "delta", "GAMMA" }));
    EXPECT_EQ(ValueNames(hKey), Names({ "beta", "Alpha", "GAMMA", "delta" }));
}

TEST_F(RegistryTest, EnumerationByIndexFollowsKeysAddedAndDeletedBetweenCalls)
{
    HKEY hKey = Create("Software\\Walk");
    for (const char* pszName : { "b", "d", "f" })
        Create((std::string("Software\\Walk\\") + pszName).c_str());
    auto nameAt = [hKey](DWORD dwIndex) {
        char szName[16] = "";
        DWORD cchName = sizeof szName;
        return RegEnumKeyEx(hKey, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS
            ? std::string(szName)
            : std::string("<none>");
    };
    EXPECT_EQ(nameAt(0), "b");
    EXPECT_EQ(nameAt(1), "d");
    // A key added before the place asked last moves the later ones along.
    Create("Software\\Walk\\a");
    EXPECT_EQ(nameAt(2), "d");
    EXPECT_EQ(RegDeleteKey(hKey, "d"), ERROR_SUCCESS);
    EXPECT_EQ(nameAt(2), "f");
    EXPECT_EQ(nameAt(3), "<none>");
    // Going back starts over.
    EXPECT_EQ(nameAt(0), "a");
    EXPECT_EQ(SubkeyNames(hKey), Names({ "a", "b", "f" }));
}

TEST_F(RegistryTest, EnumerationReportsShortBuffers)
{
    HKEY hKey = Create("Software\\Short");
    Create("Software\\Short\\LongerName");
    SetString(hKey, "ValueName", "data that is long");

    char szName[4];
    DWORD cchName = sizeof szName;
    EXPECT_EQ(RegEnumKeyEx(hKey, 0, szName, &cchName, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    cchName = sizeof szName;
    EXPECT_EQ(RegEnumValue(hKey, 0, szName, &cchName, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

    char szValueName[16];
    BYTE data[4];
    DWORD cchValueName = sizeof szValueName;
    DWORD cbData = sizeof data;
    DWORD dwType = 0;
    EXPECT_EQ(RegEnumValue(hKey, 0, szValueName, &cchValueName, nullptr, &dwType, data, &cbData), ERROR_MORE_DATA);
    EXPECT_EQ(cbData, sizeof "data that is long");
    EXPECT_EQ(dwType, REG_SZ);
    cchName = sizeof szName;
    EXPECT_EQ(RegEnumKeyEx(hKey, 1, szName, &cchName, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryTest, QueryInfoCountsAndMeasures)
{
    HKEY hKey = Create("Software\\Info");
    Create("Software\\Info\\Sub");
    Create("Software\\Info\\LongestSub");
    SetString(hKey, "LongestValueName", "x");
    SetString(hKey, "v", "twelve bytes");

    DWORD cSubKeys = 0, cchMaxSubKey = 0, cValues = 0, cchMaxValueName = 0, cbMaxValue = 0;
    FILETIME ftWritten {};
    ASSERT_EQ(RegQueryInfoKey(hKey, nullptr, nullptr, nullptr, &cSubKeys, &cchMaxSubKey, nullptr, &cValues,
                  &cchMaxValueName, &cbMaxValue, nullptr, &ftWritten),
        ERROR_SUCCESS);
    EXPECT_EQ(cSubKeys, 2u);
    EXPECT_EQ(cchMaxSubKey, std::strlen("LongestSub"));
    EXPECT_EQ(cValues, 2u);
    EXPECT_EQ(cchMaxValueName, std::strlen("LongestValueName"));
    EXPECT_EQ(cbMaxValue, sizeof "twelve bytes");
    EXPECT_NE(ftWritten.dwHighDateTime, 0u);
}

/* Access rights. */

TEST_F(RegistryTest, AReadOnlyHandleRefusesWrites)
{
    Create("Software\\ReadOnly");
    HKEY hKey = Open("Software\\ReadOnly", KEY_READ);
    DWORD dwValue = 1;
    EXPECT_EQ(
        RegSetValueEx(hKey, "v", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dwValue), sizeof dwValue), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValue(hKey, "v"), ERROR_ACCESS_DENIED);
    HKEY hSub = nullptr;
    EXPECT_EQ(RegCreateKeyEx(hKey, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSub, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(SubkeyNames(hKey).empty());
}

TEST_F(RegistryTest, AWriteOnlyHandleRefusesReads)
{
    HKEY hKey = Create("Software\\WriteOnly", KEY_WRITE);
    SetDword(hKey, "v", 1);
    DWORD cbData = 0;
    EXPECT_EQ(RegQueryValueEx(hKey, "v", nullptr, nullptr, nullptr, &cbData), ERROR_ACCESS_DENIED);
    char szName[8];
    DWORD cchName = sizeof szName;
    EXPECT_EQ(RegEnumKeyEx(hKey, 0, szName, &cchName, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    DWORD dwValue = 0;
    cbData = sizeof dwValue;
    EXPECT_EQ(
        RegQueryValueEx(Open("Software\\WriteOnly"), "v", nullptr, nullptr, reinterpret_cast<BYTE*>(&dwValue), &cbData),
        ERROR_SUCCESS);
    EXPECT_EQ(dwValue, 1u);
}

/* Deleting keys. */

TEST_F(RegistryTest, DeleteKeyRefusesAKeyWithSubkeys)
{
    Create("Software\\Parent\\Child");
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Parent"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Parent\\Child"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Parent\\Child"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Parent"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, HandlesToADeletedKeyFailWithKeyDeleted)
{
    HKEY hKey = Create("Software\\Doomed");
    HKEY hChild = Create("Software\\Doomed\\Child");
    ASSERT_EQ(SHDeleteKey(HKEY_CURRENT_USER, "Software\\Doomed"), ERROR_SUCCESS);
    DWORD dwValue = 1;
    EXPECT_EQ(
        RegSetValueEx(hKey, "v", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dwValue), sizeof dwValue), ERROR_KEY_DELETED);
    DWORD cbData = 0;
    EXPECT_EQ(RegQueryValueEx(hChild, "v", nullptr, nullptr, nullptr, &cbData), ERROR_KEY_DELETED);

    // A new key of the same name is a different key.
    Create("Software\\Doomed");
    EXPECT_EQ(RegFlushKey(hKey), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(hKey), ERROR_SUCCESS);
}

TEST_F(RegistryTest, DeleteKeyWithAnEmptyNameDeletesTheOpenKey)
{
    HKEY hKey = Create("Software\\Self");
    EXPECT_EQ(RegDeleteKey(hKey, ""), ERROR_SUCCESS);
    HKEY hMissing = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Self", 0, KEY_READ, &hMissing), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DeleteTreeRemovesEverythingBelow)
{
    HKEY hKey = Create("Software\\Tree");
    Create("Software\\Tree\\A\\B\\C");
    Create("Software\\Tree\\D");
    SetDword(hKey, "v", 1);

    EXPECT_EQ(RegDeleteTree(hKey, "A"), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(hKey), Names({ "D" }));
    EXPECT_EQ(RegDeleteTree(hKey, "A"), ERROR_FILE_NOT_FOUND);

    // Without a subkey, the key's contents go and the key stays.
    EXPECT_EQ(RegDeleteTree(hKey, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(SubkeyNames(hKey).empty());
    EXPECT_TRUE(ValueNames(hKey).empty());
    EXPECT_EQ(RegFlushKey(hKey), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteTree(Open("Software\\Tree", KEY_WRITE), nullptr), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, ShDeleteKeyRemovesAKeyWithSubkeys)
{
    Create("Software\\Shell\\A\\B");
    EXPECT_EQ(SHDeleteKey(HKEY_CURRENT_USER, "Software\\Shell"), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(Open("Software")), Names {});
    EXPECT_EQ(SHDeleteKey(HKEY_CURRENT_USER, "Software\\Shell"), ERROR_FILE_NOT_FOUND);
}
