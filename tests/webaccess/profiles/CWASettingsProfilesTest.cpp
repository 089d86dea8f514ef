#include "webaccess/profiles/CWASettings.h"

#include "platform/base/Registry.h"
#include "platform/base/WinError.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CWASettingsProfilesTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_EQ(RegCreateKeyEx(
                      HKEY_CURRENT_USER, "Software\\WATest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_hKey, nullptr),
            ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(m_hKey);
        ProgramFolderTest::TearDown();
    }

    std::vector<BYTE> Stored()
    {
        DWORD nSize = 0;
        EXPECT_EQ(RegQueryValueEx(m_hKey, "Profiles", nullptr, nullptr, nullptr, &nSize), ERROR_SUCCESS);
        std::vector<BYTE> data(nSize);
        EXPECT_EQ(RegQueryValueEx(m_hKey, "Profiles", nullptr, nullptr, data.data(), &nSize), ERROR_SUCCESS);
        return data;
    }
    void Store(const std::vector<BYTE>& data)
    {
        ASSERT_EQ(RegSetValueEx(m_hKey, "Profiles", 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
    }
    static void AddProfile(CWASettings& settings, LPCTSTR pszName, std::initializer_list<WA_GROUP_KEY> keys)
    {
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity(pszName, "pw", "C:\\up");
        pProfile->SetPermissions(TRUE, FALSE, 1);
        CWAGroupRightsMap rights;
        for (const WA_GROUP_KEY& key : keys)
            rights.SetAt(key, WA_GROUP_PART);
        pProfile->SetGroupRights(rights);
        settings.m_profiles.push_back(std::move(pProfile));
    }

    HKEY m_hKey { nullptr };
};

} // namespace

TEST_F(CWASettingsProfilesTest, EmptyListIsFourZeroBytes)
{
    CWASettings settings;
    ASSERT_TRUE(settings.WriteProfiles(m_hKey, "Profiles"));
    EXPECT_EQ(Stored(), (std::vector<BYTE> { 0, 0, 0, 0 }));
}

TEST_F(CWASettingsProfilesTest, RecordLayoutIsLinesFlagsAndEntries)
{
    CWASettings settings;
    AddProfile(settings, "ana", { { 5, 2 } });
    ASSERT_TRUE(settings.WriteProfiles(m_hKey, "Profiles"));
    const std::vector<BYTE> expected = { 1, 0, 0, 0, 'a', 'n', 'a', '\n', 'p', 'w', '\n', 'C', ':', '\\', 'u', 'p',
        '\n', 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 0, 0, 0, 2, 0, 0, 0, 1, 0 };
    EXPECT_EQ(Stored(), expected);
}

TEST_F(CWASettingsProfilesTest, ProfilesReadBackInOrderWithLongNames)
{
    CWASettings settings;
    const std::string strLong(300, 'n');
    AddProfile(settings, strLong.c_str(), { { 1, 0 }, { 3, 0 } });
    AddProfile(settings, "second\nline", {});
    ASSERT_TRUE(settings.WriteProfiles(m_hKey, "Profiles"));
    CWASettings loaded;
    ASSERT_TRUE(loaded.ReadProfiles(m_hKey, "Profiles"));
    ASSERT_EQ(loaded.m_profiles.size(), 2u);
    EXPECT_EQ(std::string(loaded.m_profiles[0]->GetName()), strLong);
    EXPECT_EQ(loaded.m_profiles[0]->GetGroupRights().GetCount(), 2);
    EXPECT_STREQ(loaded.m_profiles[1]->GetName(), "second line");
    EXPECT_STREQ(loaded.m_profiles[1]->GetUploadFolder(), "C:\\up");
    EXPECT_TRUE(loaded.m_profiles[1]->IsCommandAllowed(2));
}

TEST_F(CWASettingsProfilesTest, LargeGroupCountsUseTheLongCountForm)
{
    CWASettings settings;
    AddProfile(settings, "a", {});
    CWAGroupRightsMap rights;
    for (DWORD i = 0; i < 0xFFFF; ++i)
        rights.SetAt({ i, 1 }, WA_GROUP_WHOLE);
    settings.m_profiles[0]->SetGroupRights(rights);
    ASSERT_TRUE(settings.WriteProfiles(m_hKey, "Profiles"));
    const std::vector<BYTE> data = Stored();
    // Count, "a\n", "pw\n", "C:\up\n", three flags, then the count form.
    const size_t nCountAt = 4 + 2 + 3 + 6 + 12;
    EXPECT_EQ(std::vector<BYTE>(data.begin() + nCountAt, data.begin() + nCountAt + 6),
        (std::vector<BYTE> { 0xFF, 0xFF, 0xFF, 0xFF, 0, 0 }));
    CWASettings loaded;
    ASSERT_TRUE(loaded.ReadProfiles(m_hKey, "Profiles"));
    EXPECT_EQ(loaded.m_profiles[0]->GetGroupRights().GetCount(), 0xFFFF);
}

TEST_F(CWASettingsProfilesTest, MissingOrTinyValueKeepsTheList)
{
    CWASettings settings;
    AddProfile(settings, "kept", {});
    settings.ReadProfiles(m_hKey, "Profiles");
    EXPECT_EQ(settings.m_profiles.size(), 1u);
    Store({ 0 });
    EXPECT_TRUE(settings.ReadProfiles(m_hKey, "Profiles"));
    EXPECT_EQ(settings.m_profiles.size(), 1u);
}

TEST_F(CWASettingsProfilesTest, DamagedValueKeepsTheListAndFails)
{
    CWASettings written;
    AddProfile(written, "ana", { { 5, 2 } });
    ASSERT_TRUE(written.WriteProfiles(m_hKey, "Profiles"));
    std::vector<BYTE> data = Stored();
    CWASettings settings;
    AddProfile(settings, "kept", {});
    for (size_t nCut = data.size() - 1; nCut >= 2; nCut -= 3) {
        Store(std::vector<BYTE>(data.begin(), data.begin() + static_cast<long>(nCut)));
        EXPECT_FALSE(settings.ReadProfiles(m_hKey, "Profiles")) << nCut;
        ASSERT_EQ(settings.m_profiles.size(), 1u);
        EXPECT_STREQ(settings.m_profiles[0]->GetName(), "kept");
    }
    // A count far beyond the data ends at the data's end.
    Store({ 0xFF, 0xFF, 0xFF, 0xFF, '\n', '\n', '\n' });
    EXPECT_FALSE(settings.ReadProfiles(m_hKey, "Profiles"));
    EXPECT_EQ(settings.m_profiles.size(), 1u);
}
