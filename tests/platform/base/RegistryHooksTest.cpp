#include "platform/base/Registry.h"

#include "platform/base/RegistryTree.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Counts the uses of its key, writes a value of its own when used (which must
// not call it again), and refuses values named "refused".
class CCountingHook : public CRegistryKeyHook {
public:
    void OnKeyUse() override
    {
        ++m_nUses;
        HKEY hKey = nullptr;
        if (RegCreateKeyEx(
                HKEY_CURRENT_USER, "Software\\Hooked", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr)
            == ERROR_SUCCESS) {
            DWORD dwUses = m_nUses;
            RegSetValueEx(hKey, "Uses", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwUses), sizeof dwUses);
            RegCloseKey(hKey);
        }
    }
    DWORD OnValueChange(const std::string& strName, bool bDelete, DWORD, const std::vector<BYTE>&) override
    {
        m_changes.push_back((bDelete ? "-" : "+") + strName);
        return strName == "refused" ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
    }

    int m_nUses { 0 };
    std::vector<std::string> m_changes;
};

class RegistryHooksTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        SetRegistryKeyHook(HKEY_CURRENT_USER, "Software\\Hooked", &m_hook);
    }
    void TearDown() override
    {
        SetRegistryKeyHook(HKEY_CURRENT_USER, "Software\\Hooked", nullptr);
        ProgramFolderTest::TearDown();
    }

    CCountingHook m_hook;
};

} // namespace

TEST_F(RegistryHooksTest, UsesOfTheKeyAndBelowReachItsHook)
{
    HKEY hSoftware = nullptr;
    ASSERT_EQ(RegCreateKeyEx(
                  HKEY_CURRENT_USER, "Software\\Other", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSoftware, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(hSoftware);
    EXPECT_EQ(m_hook.m_nUses, 0) << "a sibling is no use of the key";

    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software\\HOOKED", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    EXPECT_EQ(m_hook.m_nUses, 1);
    DWORD dwUses = 0;
    DWORD cb = sizeof dwUses;
    ASSERT_EQ(RegQueryValueEx(hKey, "Uses", nullptr, nullptr, reinterpret_cast<BYTE*>(&dwUses), &cb), ERROR_SUCCESS);
    EXPECT_EQ(m_hook.m_nUses, 2) << "reading a value uses the key";
    EXPECT_EQ(dwUses, 2u) << "the read sees what the hook wrote just before it, without calling it again";
    char szName[32];
    DWORD cch = sizeof szName;
    RegEnumKeyEx(hKey, 0, szName, &cch, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(m_hook.m_nUses, 3);
    RegCloseKey(hKey);
    HKEY hBelow = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Hooked\\Below", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &hBelow, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(m_hook.m_nUses, 4);
    RegCloseKey(hBelow);
}

TEST_F(RegistryHooksTest, AHookMayRefuseAValueChange)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Hooked", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    const BYTE value[] = "x";
    EXPECT_EQ(RegSetValueEx(hKey, "kept", 0, REG_SZ, value, sizeof value), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueEx(hKey, "refused", 0, REG_SZ, value, sizeof value), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegQueryValueEx(hKey, "refused", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValue(hKey, "kept"), ERROR_SUCCESS);
    EXPECT_EQ(m_hook.m_changes, (std::vector<std::string> { "+kept", "+refused", "-kept" }));
    RegCloseKey(hKey);
}

TEST_F(ProgramFolderTest, EditingASubtreeIsOneChangeOrNone)
{
    auto setString = [](CRegistryNode& key, const char* pszName, const char* pszValue) {
        key.SetValue(pszName, REG_SZ, std::vector<BYTE>(pszValue, pszValue + std::strlen(pszValue) + 1));
    };
    ASSERT_EQ(RegEditKeyTree(HKEY_CURRENT_USER, "Software\\Edited",
                  [&](CRegistryNode& key, bool& bChanged) {
                      bool bCreated = false;
                      setString(*key.AddSubkey("a", bCreated), "", "A");
                      setString(*key.AddSubkey("b", bCreated), "v", "B");
                      bChanged = true;
                      return ERROR_SUCCESS;
                  }),
        ERROR_SUCCESS);
    char szValue[8];
    DWORD cb = sizeof szValue;
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Edited\\b", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    ASSERT_EQ(RegQueryValueEx(hKey, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(szValue), &cb), ERROR_SUCCESS);
    EXPECT_STREQ(szValue, "B");
    RegCloseKey(hKey);

    // A failed edit keeps nothing of what it did.
    EXPECT_EQ(RegEditKeyTree(HKEY_CURRENT_USER, "Software\\Edited",
                  [&](CRegistryNode& key, bool& bChanged) {
                      key.RemoveSubkey("a");
                      bChanged = true;
                      return ERROR_DISK_FULL;
                  }),
        ERROR_DISK_FULL);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Edited\\a", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    RegCloseKey(hKey);
}
