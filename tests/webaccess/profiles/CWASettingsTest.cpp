#include "webaccess/profiles/CWASettings.h"

#include "platform/base/PathMap.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/Registry.h"
#include "platform/base/WinError.h"
#include "store/CRegistryKey.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class CWASettingsTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(m_preferences.Create(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\Preferences"));
    }
    void TearDown() override
    {
        m_preferences.Close();
        ProgramFolderTest::TearDown();
    }

    static void AddProfile(CWASettings& settings, LPCTSTR pszName)
    {
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->InitDefault("pw", "C:\\up");
        pProfile->SetIdentity(pszName, "pw", "C:\\up");
        settings.m_profiles.push_back(std::move(pProfile));
    }

    CRegistryKey m_preferences;
};

} // namespace

TEST_F(CWASettingsTest, LanSettingsKeepTheServerFolderAndBuildTheCommFolder)
{
    CWASettings saved;
    saved.m_nConnType = 2;
    saved.m_strDirServer = "C:\\Srv";
    saved.m_strCatCode = "ABCDEFG";
    saved.m_strPassword = "secret";
    saved.m_nReqTime = 20;
    AddProfile(saved, "ana");
    ASSERT_TRUE(saved.Save(m_preferences));

    CWASettings loaded;
    loaded.Load(m_preferences);
    EXPECT_STREQ(loaded.m_strDirServer, "C:\\Srv");
    EXPECT_STREQ(loaded.m_strCommFolder, "C:\\Srv\\ABCD.EFG\\");
    EXPECT_STREQ(loaded.m_strPassword, "secret");
    EXPECT_EQ(loaded.m_nReqTime, 20);
    EXPECT_EQ(loaded.m_nPingTime, 180000);
    ASSERT_EQ(loaded.m_profiles.size(), 1u);
    EXPECT_STREQ(loaded.m_profiles[0]->GetName(), "ana");
}

TEST_F(CWASettingsTest, OtherConnectionsUseTheProgramFolder)
{
    CWASettings saved;
    saved.m_nConnType = 1;
    saved.m_strDirServer = "C:\\Elsewhere";
    saved.m_strCatCode = "ABCDEFG";
    ASSERT_TRUE(saved.Save(m_preferences));

    CWASettings loaded;
    loaded.Load(m_preferences);
    const CString strProgramFolder = ProgramPathFromHostPath(GetProgramFolderHostPath()).c_str();
    EXPECT_EQ(CString(loaded.m_strDirServer).Find(strProgramFolder), 0);
    EXPECT_STREQ(loaded.m_strCommFolder, loaded.m_strDirServer + "ABCD.EFG\\");
}

TEST_F(CWASettingsTest, MissingSubkeyGivesDefaults)
{
    CWASettings settings;
    settings.m_nConnType = 2;
    settings.m_strLogin = "ana";
    AddProfile(settings, "gone");
    settings.Load(m_preferences);
    EXPECT_EQ(settings.m_nConnType, 1);
    EXPECT_TRUE(settings.m_profiles.empty());
    EXPECT_STREQ(settings.m_strLogin, "ana");
}

TEST_F(CWASettingsTest, MissingValuesTakeTheirDefaultsAndKeepTheProfiles)
{
    CRegistryKey wa;
    ASSERT_TRUE(wa.Create(m_preferences, "WA"));
    ASSERT_TRUE(wa.SetDWORD("SocketPort", 4321));
    CWASettings settings;
    settings.m_nReqTime = 5;
    AddProfile(settings, "kept");
    settings.Load(m_preferences);
    EXPECT_EQ(settings.m_nSocketPort, 4321);
    EXPECT_EQ(settings.m_nReqTime, 1000);
    EXPECT_EQ(settings.m_nWarnConn, 1);
    EXPECT_EQ(settings.m_profiles.size(), 1u);
}
