#include "tests/mail/MailerFixtures.h"

#include "tests/mail/MailFixtures.h"

void MailerTest::SetUp()
{
    ProgramFolderTest::SetUp();
    m_pHome = std::make_unique<ScopedVariable>("HOME", m_userHome.Path().string());
}

void MailerTest::TearDown()
{
    m_pHome.reset();
    ProgramFolderTest::TearDown();
}

void MailerTest::AddNetscapeUser(const std::string& strName, const std::string& strProfile)
{
    std::filesystem::create_directories(m_stores / strProfile);
    SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator\\Users\\" + strName, "DirRoot",
        StorePath(strProfile));
}

void MailerTest::SetOe4StoreRoot(const std::string& strFolder)
{
    std::filesystem::create_directories(m_stores / strFolder);
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Microsoft\\Outlook Express", "Store Root", StorePath(strFolder));
}

void MailerTest::AddOe5Identity(const std::string& strKey, const std::string& strUser, const std::string& strFolder)
{
    std::filesystem::create_directories(m_stores / strFolder);
    std::string strIdentity = "Identities\\" + strKey;
    SetRegistryString(HKEY_CURRENT_USER, strIdentity, "Username", strUser);
    SetRegistryString(HKEY_CURRENT_USER, strIdentity + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root",
        StorePath(strFolder));
}

std::filesystem::path MailerTest::WriteMbox(const std::string& strRelative) const
{
    return m_stores.WriteFile(strRelative, BuildMbox(FixtureMessages("m", 2)));
}

std::filesystem::path MailerTest::WriteOe4Store(const std::string& strRelativeMbx) const
{
    COe4Fixture store = BuildOe4Store(FixtureMessages("m", 2));
    std::string strIdx = strRelativeMbx.substr(0, strRelativeMbx.size() - 4) + ".idx";
    m_stores.WriteFile(strIdx, store.strIdx);
    return m_stores.WriteFile(strRelativeMbx, store.strMbx);
}

std::filesystem::path MailerTest::WriteDbx(const std::string& strRelative) const
{
    return m_stores.WriteFile(strRelative, BuildDbx(FixtureMessages("m", 2)).strDbx);
}

std::string MailerTest::StorePath(const std::string& strRelative) const
{
    return ProgramPath(m_stores / strRelative);
}

void SetRegistryString(
    HKEY hRoot, const std::string& strKey, const char* pszValue, const std::string& strData, DWORD dwType)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(hRoot, strKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(hKey, pszValue, 0, dwType, reinterpret_cast<const BYTE*>(strData.c_str()),
                  static_cast<DWORD>(strData.size() + 1)),
        ERROR_SUCCESS);
    RegCloseKey(hKey);
}
