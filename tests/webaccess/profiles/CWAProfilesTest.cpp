#include "webaccess/profiles/CWAProfiles.h"

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CPreferences.h"
#include "tests/support/TempFolder.h"
#include "webaccess/profiles/CWASettings.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CWAGroupRightsMap> Rights(std::initializer_list<WA_GROUP_KEY> keys)
{
    auto pMap = std::make_unique<CWAGroupRightsMap>();
    for (const WA_GROUP_KEY& key : keys)
        pMap->SetAt(key, WA_GROUP_WHOLE);
    return pMap;
}

std::unique_ptr<CWAProfiles> Profile(std::unique_ptr<CWAGroupRightsMap> pRights, BOOL bDownload, BOOL bUpload)
{
    auto pProfile = std::make_unique<CWAProfiles>();
    pProfile->SetPermissions(bDownload, bUpload, 1);
    pProfile->SetGroupRights(*pRights);
    return pProfile;
}

class CWAProfilesCatalogTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_pCatalog = std::make_unique<CCatalog>(ProgramPathFromHostPath((Home() / "archiv.cat").string()).c_str(), 1);
    }
    void TearDown() override
    {
        m_pCatalog.reset();
        ProgramFolderTest::TearDown();
    }

    std::unique_ptr<CCatalog> m_pCatalog;
};

} // namespace

TEST(CWAProfilesTest, ExplorerNeedsExactlyAllGroups)
{
    const auto pAll = Profile(Rights({ WA_ALL_GROUPS }), FALSE, FALSE);
    EXPECT_TRUE(pAll->IsCommandAllowed(3));
    EXPECT_TRUE(pAll->IsCommandAllowed(4));
    for (auto* pRights :
        { Rights({}).release(), Rights({ { 5, 1 } }).release(), Rights({ WA_ALL_GROUPS, { 5, 1 } }).release() }) {
        const auto pSome = Profile(std::unique_ptr<CWAGroupRightsMap>(pRights), TRUE, TRUE);
        EXPECT_FALSE(pSome->IsCommandAllowed(3));
        EXPECT_FALSE(pSome->IsCommandAllowed(4));
    }
}

TEST(CWAProfilesTest, TransfersNeedTheirPermissions)
{
    const auto pNone = Profile(Rights({}), FALSE, FALSE);
    const CWAProfiles& none = *pNone;
    EXPECT_FALSE(none.IsCommandAllowed(2));
    EXPECT_FALSE(none.IsCommandAllowed(9));
    EXPECT_TRUE(none.IsCommandAllowed(10)); // VUPL only lists what came
    EXPECT_FALSE(none.IsCommandAllowed(0));
    EXPECT_FALSE(none.IsCommandAllowed(-1));
    for (int nId : { 1, 5, 6, 7, 8, 11, 12, 13 })
        EXPECT_TRUE(none.IsCommandAllowed(nId)) << nId;
    const auto pBoth = Profile(Rights({}), TRUE, TRUE);
    EXPECT_TRUE(pBoth->IsCommandAllowed(2));
    EXPECT_TRUE(pBoth->IsCommandAllowed(9));
}

TEST(CWAProfilesTest, CopyIsIndependentOfTheOriginal)
{
    CWAProfiles original;
    original.InitDefault("secret", "C:\\up");
    CWAProfiles copy;
    copy.SetGroupRights(*Rights({ { 7, 7 } }));
    copy.Copy(original);
    original.SetGroupRights(*Rights({ { 5, 1 } }));
    EXPECT_TRUE(copy.GetGroupRights().IsAllGroups());
    EXPECT_STREQ(copy.GetPassword(), "secret");
    EXPECT_TRUE(copy.IsCommandAllowed(2));
}

TEST(CWAProfilesTest, GroupMapWalksInBucketOrder)
{
    // (1,0) hashes to 1, (0,1) to 65536 % 17 = 1 as well, (16,0) to 16.
    const auto pMap = Rights({ { 16, 0 }, { 1, 0 }, { 0, 1 } });
    const CWAGroupRightsMap& map = *pMap;
    POSITION pos = map.GetStartPosition();
    WA_GROUP_KEY key {};
    WORD nValue = 0;
    map.GetNextAssoc(pos, key, nValue);
    EXPECT_EQ(key, (WA_GROUP_KEY { 0, 1 })); // Later in its bucket, so first
    map.GetNextAssoc(pos, key, nValue);
    EXPECT_EQ(key, (WA_GROUP_KEY { 1, 0 }));
    map.GetNextAssoc(pos, key, nValue);
    EXPECT_EQ(key, (WA_GROUP_KEY { 16, 0 }));
}

TEST_F(CWAProfilesCatalogTest, MissingGroupsAndAllGroupsBesideRealOnesAreDropped)
{
    const auto pProfile = Profile(Rights({ WA_ALL_GROUPS, { 1, 0 }, { 900, 3 } }), FALSE, FALSE);
    CWAProfiles& profile = *pProfile;
    EXPECT_TRUE(profile.RemoveMissingGroups(*m_pCatalog));
    const CWAGroupRightsMap& rights = profile.GetGroupRights();
    WORD nValue = 0;
    EXPECT_EQ(rights.GetCount(), 1);
    EXPECT_TRUE(rights.Lookup({ 1, 0 }, nValue)); // A fixed node of the catalog
    EXPECT_FALSE(profile.RemoveMissingGroups(*m_pCatalog));
}

TEST_F(CWAProfilesCatalogTest, AllGroupsAloneIsLeftAlone)
{
    const auto pProfile = Profile(Rights({ WA_ALL_GROUPS }), FALSE, FALSE);
    CWAProfiles& profile = *pProfile;
    EXPECT_FALSE(profile.RemoveMissingGroups(*m_pCatalog));
    EXPECT_TRUE(profile.GetGroupRights().IsAllGroups());
}

TEST_F(CWAProfilesCatalogTest, LookupFindsTheLastEnabledProfileWithThePassword)
{
    CWASettings settings;
    for (auto [pszName, pszPassword, nEnabled] : { std::tuple { "first", "pw", 1u }, { "second", "pw", 1u },
             { "off", "other", 0u }, { "wrongcase", "PW", 1u } }) {
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity(pszName, pszPassword, "");
        pProfile->SetPermissions(FALSE, FALSE, nEnabled);
        pProfile->SetGroupRights(*Rights({ WA_ALL_GROUPS, { 1, 0 } }));
        settings.m_profiles.push_back(std::move(pProfile));
    }
    const auto pFound = settings.FindWAProfile("pw", *m_pCatalog);
    ASSERT_NE(pFound, nullptr);
    EXPECT_STREQ(pFound->GetName(), "second");
    EXPECT_EQ(settings.m_profiles[1]->GetGroupRights().GetCount(), 1); // The stored one was cleaned
    EXPECT_EQ(settings.FindWAProfile("other", *m_pCatalog), nullptr);
    EXPECT_EQ(settings.FindWAProfile("", *m_pCatalog), nullptr);
}

TEST_F(CWAProfilesCatalogTest, LookupSavesTheSettingsWhenItDroppedGroups)
{
    CWASettings settings;
    auto pProfile = Profile(Rights({ { 1, 0 }, { 900, 3 } }), FALSE, FALSE);
    pProfile->SetIdentity("guest", "pw", "");
    settings.m_profiles.push_back(std::move(pProfile));
    thePreferences.AttachWebSettings(&settings);
    ASSERT_TRUE(thePreferences.SaveWebSettings());
    const auto stored = [] {
        CWASettings loaded;
        thePreferences.AttachWebSettings(&loaded);
        thePreferences.Load();
        return loaded.m_profiles.empty() ? -1 : loaded.m_profiles[0]->GetGroupRights().GetCount();
    };
    ASSERT_EQ(stored(), 2);
    thePreferences.AttachWebSettings(&settings);
    ASSERT_NE(settings.FindWAProfile("pw", *m_pCatalog), nullptr);
    EXPECT_EQ(stored(), 1);
    thePreferences.AttachWebSettings(nullptr);
}

TEST(BuildCommFolderPathTest, PutsADotBeforeTheLastThreeCharacters)
{
    EXPECT_STREQ(BuildCommFolderPath("C:\\Srv", "ABCDEFG"), "C:\\Srv\\ABCD.EFG\\");
    EXPECT_STREQ(BuildCommFolderPath("C:\\Srv\\", "ABCD"), "C:\\Srv\\A.BCD\\");
    EXPECT_STREQ(BuildCommFolderPath("C:\\Srv", "ABC"), "");
    EXPECT_STREQ(BuildCommFolderPath("", "ABCDEFG"), "");
}

TEST(CWASettingsDefaultsTest, DropProfilesButKeepTheAccount)
{
    CWASettings settings;
    settings.m_strLogin = "ana";
    settings.m_nConnType = 2;
    settings.m_profiles.push_back(std::make_unique<CWAProfiles>());
    settings.SetDefaults();
    EXPECT_TRUE(settings.m_profiles.empty());
    EXPECT_EQ(settings.m_nConnType, 1);
    EXPECT_STREQ(settings.m_strLogin, "ana");
}
