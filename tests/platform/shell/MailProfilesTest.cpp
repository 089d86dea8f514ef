#include "platform/shell/MailProfiles.h"

#include "platform/base/PathMap.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <map>
#include <set>

namespace {

std::vector<CMailClientProfile> Parse(std::string_view text, bool* pbOk = nullptr)
{
    std::vector<CMailClientProfile> profiles;
    bool bOk = ReadMailClientProfiles(text, "/home/ana/.thunderbird", profiles);
    if (pbOk)
        *pbOk = bOk;
    return profiles;
}

// The presented users: name -> DirRoot, for the keys that carry the Presented value;
// users without it map to "(not presented)".
std::map<std::string, std::string> ReadUsers()
{
    std::map<std::string, std::string> users;
    HKEY hUsers = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, MAIL_NETSCAPE_USERS_KEY, 0, KEY_READ, &hUsers) != ERROR_SUCCESS)
        return users;
    for (DWORD i = 0;; ++i) {
        char szName[256];
        DWORD cch = sizeof szName;
        if (RegEnumKeyEx(hUsers, i, szName, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY hUser = nullptr;
        EXPECT_EQ(RegOpenKeyEx(hUsers, szName, 0, KEY_READ, &hUser), ERROR_SUCCESS);
        char szValue[1024] = {};
        DWORD cb = sizeof szValue;
        bool bPresented
            = RegQueryValueEx(hUser, MAIL_PRESENTED_VALUE, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegQueryValueEx(hUser, MAIL_NETSCAPE_DIR_ROOT, nullptr, nullptr, reinterpret_cast<LPBYTE>(szValue), &cb);
        users[szName] = bPresented ? szValue : "(not presented)";
        RegCloseKey(hUser);
    }
    RegCloseKey(hUsers);
    return users;
}

void AddUser(const char* pszName, const std::string& strDirRoot)
{
    HKEY hUser = nullptr;
    std::string strKey = std::string(MAIL_NETSCAPE_USERS_KEY) + "\\" + pszName;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hUser, nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(hUser, MAIL_NETSCAPE_DIR_ROOT, 0, REG_SZ, reinterpret_cast<const BYTE*>(strDirRoot.c_str()),
                  static_cast<DWORD>(strDirRoot.size() + 1)),
        ERROR_SUCCESS);
    RegCloseKey(hUser);
}

// A fake home folder (HOME points at it) with mail-client profiles.
class MailProfilesTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_pHome = std::make_unique<ScopedVariable>("HOME", m_userHome.Path().string());
    }
    void TearDown() override
    {
        m_pHome.reset();
        ProgramFolderTest::TearDown();
    }

    // A profile folder below the home folder.
    std::filesystem::path MakeProfile(const std::string& strRelative)
    {
        std::filesystem::path path = m_userHome / strRelative;
        std::filesystem::create_directories(path / "Mail");
        return path;
    }
    std::string DirRoot(const std::filesystem::path& path) const { return ProgramPathFromHostPath(path.string()); }

    TempFolder m_userHome;

private:
    std::unique_ptr<ScopedVariable> m_pHome;
};

} // namespace

/* Reading profiles.ini. */

TEST(MailProfilesParseTest, ReadsRelativeAndAbsoluteProfiles)
{
    auto profiles = Parse("[General]\nStartWithLastProfile=1\n\n"
                          "[Profile1]\nName=work\nIsRelative=0\nPath=/srv/mail/work\n\n"
                          "[Profile0]\nName=default\nIsRelative=1\nPath=abc.default\nDefault=1\n\n"
                          "[InstallFA12]\nDefault=abc.default\n");
    ASSERT_EQ(profiles.size(), 2u);
    std::map<std::string, std::string> byName;
    for (const auto& profile : profiles)
        byName[profile.strName] = profile.strHostPath;
    EXPECT_EQ(byName["default"], "/home/ana/.thunderbird/abc.default");
    EXPECT_EQ(byName["work"], "/srv/mail/work");
}

TEST(MailProfilesParseTest, NamesComeFromThePathWhenMissingAndHoldNoBackslash)
{
    auto profiles = Parse("[Profile0]\nPath=Profiles/xyz.home/\n"
                          "[Profile1]\nName=\"a\\b\"\nPath=p1\n"
                          "[Profile2]\nName=c\td\nPath=p2\n");
    ASSERT_EQ(profiles.size(), 3u);
    EXPECT_EQ(profiles[0].strName, "xyz.home");
    EXPECT_EQ(profiles[1].strName, "a_b");
    EXPECT_EQ(profiles[2].strName, "c_d");
}

TEST(MailProfilesParseTest, SkipsSectionsThatAreNoUsableProfiles)
{
    auto profiles = Parse("[Profile0]\nName=nopath\n"
                          "[Profile1]\nName=empty\nPath=\n"
                          "[Profile2]\nName=relative-absolute\nIsRelative=0\nPath=not/absolute\n"
                          "[ProfileX]\nName=odd\nPath=odd\n"
                          "[Profiles3]\nName=odd2\nPath=odd2\n"
                          "[profile4]\nName=ok\nPath=ok\n");
    ASSERT_EQ(profiles.size(), 1u);
    EXPECT_EQ(profiles[0].strName, "ok");
}

TEST(MailProfilesParseTest, RefusesTooManyProfilesAndOverlongPaths)
{
    std::string strMany;
    for (size_t i = 0; i <= MAIL_MAX_PROFILES_PER_FILE; ++i)
        strMany += "[Profile" + std::to_string(i) + "]\nPath=p" + std::to_string(i) + "\n";
    bool bOk = true;
    EXPECT_TRUE(Parse(strMany, &bOk).empty());
    EXPECT_FALSE(bOk);

    std::string strLong = "[Profile0]\nPath=" + std::string(MAIL_MAX_PROFILE_PATH + 1, 'x') + "\n";
    EXPECT_TRUE(Parse(strLong, &bOk).empty());
    EXPECT_FALSE(bOk);
}

TEST(MailProfilesParseTest, GarbageGivesNoProfiles)
{
    std::string strGarbage("\0\xff\xfe[Profile0\n=Path\n\x01\x02]]]\n[", 20);
    bool bOk = false;
    EXPECT_TRUE(Parse(strGarbage, &bOk).empty());
    EXPECT_TRUE(bOk);
    EXPECT_TRUE(Parse("", &bOk).empty());
}

/* Presenting the profiles in the registry. */

TEST_F(MailProfilesTest, PresentsTheProfilesOfEveryKnownClient)
{
    auto tb = MakeProfile(".thunderbird/abc.default");
    auto sm = MakeProfile(".mozilla/seamonkey/q.main");
    m_userHome.WriteFile(".thunderbird/profiles.ini",
        "[Profile0]\nName=default\nIsRelative=1\nPath=abc.default\n"
        "[Profile1]\nName=gone\nPath=missing.folder\n");
    m_userHome.WriteFile(
        ".mozilla/seamonkey/profiles.ini", "[Profile0]\nName=main\nIsRelative=0\nPath=" + sm.string() + "\n");

    ASSERT_EQ(PresentMailClientProfiles(), ERROR_SUCCESS);
    auto users = ReadUsers();
    EXPECT_EQ(users, (std::map<std::string, std::string> { { "default", DirRoot(tb) }, { "main", DirRoot(sm) } }));
}

TEST_F(MailProfilesTest, ClashingNamesGetNumbersAndOtherUsersAreKept)
{
    auto tb = MakeProfile(".thunderbird/a.default");
    auto ice = MakeProfile(".icedove/b.default");
    m_userHome.WriteFile(".thunderbird/profiles.ini", "[Profile0]\nName=default\nPath=a.default\n");
    m_userHome.WriteFile(".icedove/profiles.ini", "[Profile0]\nName=default\nPath=b.default\n");
    AddUser("Default", "C:\\netscape\\users\\default");

    ASSERT_EQ(PresentMailClientProfiles(), ERROR_SUCCESS);
    auto users = ReadUsers();
    ASSERT_EQ(users.size(), 3u);
    EXPECT_EQ(users["Default"], "(not presented)");
    std::set<std::string> presented { users["default (2)"], users["default (3)"] };
    EXPECT_EQ(presented, (std::set<std::string> { DirRoot(tb), DirRoot(ice) }));
}

TEST_F(MailProfilesTest, FollowsProfilesThatChangeOrGoAndUndoesEdits)
{
    auto one = MakeProfile(".thunderbird/one");
    MakeProfile(".thunderbird/two");
    m_userHome.WriteFile(
        ".thunderbird/profiles.ini", "[Profile0]\nName=one\nPath=one\n[Profile1]\nName=two\nPath=two\n");
    ASSERT_EQ(PresentMailClientProfiles(), ERROR_SUCCESS);
    ASSERT_EQ(ReadUsers().size(), 2u);

    // Someone edits a presented user; a profile moves; another goes.
    HKEY hUser = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, (std::string(MAIL_NETSCAPE_USERS_KEY) + "\\one").c_str(), 0,
                  KEY_ALL_ACCESS, &hUser),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(hUser, MAIL_NETSCAPE_DIR_ROOT, 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\x"), 5),
        ERROR_SUCCESS);
    RegCloseKey(hUser);
    auto moved = MakeProfile(".thunderbird/two-moved");
    m_userHome.WriteFile(
        ".thunderbird/profiles.ini", "[Profile0]\nName=one\nPath=one\n[Profile1]\nName=two\nPath=two-moved\n");
    ASSERT_EQ(PresentMailClientProfiles(), ERROR_SUCCESS);
    EXPECT_EQ(ReadUsers(), (std::map<std::string, std::string> { { "one", DirRoot(one) }, { "two", DirRoot(moved) } }));

    std::filesystem::remove(m_userHome / ".thunderbird/profiles.ini");
    ASSERT_EQ(PresentMailClientProfiles(), ERROR_SUCCESS);
    EXPECT_TRUE(ReadUsers().empty());
}

TEST_F(MailProfilesTest, NothingInstalledWritesNothing)
{
    ASSERT_EQ(PresentMailClientProfiles(), ERROR_SUCCESS);
    HKEY hUsers = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, MAIL_NETSCAPE_USERS_KEY, 0, KEY_READ, &hUsers), ERROR_FILE_NOT_FOUND);
}

TEST_F(MailProfilesTest, BadProfileFilesPresentNothing)
{
    MakeProfile(".thunderbird/a");
    std::string strGarbage(4096, '\0');
    for (size_t i = 0; i < strGarbage.size(); ++i)
        strGarbage[i] = static_cast<char>(i * 131 + 7);
    m_userHome.WriteFile(".thunderbird/profiles.ini", strGarbage);
    // Too large to be a profiles.ini, though its start lists a profile.
    MakeProfile(".icedove/b");
    m_userHome.WriteFile(".icedove/profiles.ini", "[Profile0]\nName=b\nPath=b\n" + std::string(2 * 1024 * 1024, ';'));
    // A profiles.ini that is a folder.
    std::filesystem::create_directories(m_userHome / ".mozilla-thunderbird/profiles.ini");

    ASSERT_EQ(PresentMailClientProfiles(), ERROR_SUCCESS);
    EXPECT_TRUE(ReadUsers().empty());
}

TEST_F(MailProfilesTest, WithoutHomeNothingIsFound)
{
    ScopedVariable home("HOME", "");
    EXPECT_TRUE(FindMailClientProfiles().empty());
}
