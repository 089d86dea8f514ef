#include "webaccess/server/CWASession.h"

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "tests/support/TempFolder.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/WebCommands.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A command that records its runs and fails when told to.
class CRecordingCommand : public CWACommand {
public:
    CRecordingCommand(int nId, std::vector<int>* pRuns, BOOL bSucceed = TRUE)
        : CWACommand(nId)
        , m_pRuns(pRuns)
        , m_bSucceed(bSucceed)
    {
        m_nStatus = WA_STATUS_OK;
    }
    BOOL Execute(CWAOutputFile&, CWASession&, int nArgument) override
    {
        m_pRuns->push_back(nArgument);
        if (!m_bSucceed)
            m_nStatus = 8;
        return m_bSucceed;
    }
    void SetContext(CWASessionPlace& place) override { place.m_nBlock = 42; }
    CString GetLogText() const override { return ""; }
    void ParseArgs(LPCTSTR) override { }

private:
    std::vector<int>* m_pRuns;
    BOOL m_bSucceed;
};

class CWASessionTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_pCatalog = std::make_unique<CCatalog>(ProgramPathFromHostPath((Home() / "archiv.cat").string()).c_str(), 1);
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity("guest", "pw", "");
        pProfile->SetPermissions(FALSE, FALSE, 1);
        CWAGroupRightsMap rights;
        rights.SetAt({ 1, 0 }, WA_GROUP_WHOLE);
        pProfile->SetGroupRights(rights);
        m_settings.m_profiles.push_back(std::move(pProfile));
    }
    void TearDown() override
    {
        m_pCatalog.reset();
        ProgramFolderTest::TearDown();
    }

    std::unique_ptr<CWASession> Login(const char* pszToken)
    {
        const auto pLogin = CreateWebCommand(pszToken);
        EXPECT_EQ(pLogin->GetStatus(), WA_STATUS_OK);
        return std::make_unique<CWASession>(static_cast<CWACmdLogin&>(*pLogin), m_settings, *m_pCatalog);
    }

    BOOL Run(CWASession& session, std::unique_ptr<CWACommand>& pCommand)
    {
        return session.RunCommand(pCommand, m_reply);
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    CWASettings m_settings;
    CWAOutputFile m_reply; // Never opened: the commands here write nothing
    std::vector<int> m_runs;
};

} // namespace

TEST_F(CWASessionTest, LoginTakesTheProfileOfThePassword)
{
    const auto pSession = Login("<#LOGIN |7| |ana| |pw| |Mozilla NETSCAPE|#>");
    ASSERT_NE(pSession->GetProfile(), nullptr);
    EXPECT_STREQ(pSession->GetProfile()->GetName(), "guest");
    EXPECT_TRUE(pSession->IsNetscape());
    EXPECT_STREQ(pSession->GetPlace().m_strFolder, "C:\\");
    EXPECT_EQ(Login("<#LOGIN |7| |ana| |PW| |netscape|#>")->GetProfile(), nullptr);
    EXPECT_FALSE(Login("<#LOGIN |7| |ana| |pw| |netscape|#>")->IsNetscape());
}

TEST_F(CWASessionTest, AnEmptyPasswordFindsOnlyAProfileWithoutPassword)
{
    EXPECT_EQ(Login("<#LOGIN |7| |ana| || |x|#>")->GetProfile(), nullptr);
    auto pOpen = std::make_unique<CWAProfiles>();
    pOpen->SetIdentity("open", "", "");
    pOpen->SetPermissions(FALSE, FALSE, 1);
    m_settings.m_profiles.insert(m_settings.m_profiles.begin(), std::move(pOpen));
    const auto pSession = Login("<#LOGIN |7| |ana| || |x|#>");
    ASSERT_NE(pSession->GetProfile(), nullptr);
    EXPECT_STREQ(pSession->GetProfile()->GetName(), "open");
    EXPECT_STREQ(Login("<#LOGIN |7| |ana| |pw| |x|#>")->GetProfile()->GetName(), "guest");
}

TEST_F(CWASessionTest, WithoutAProfileNothingRuns)
{
    const auto pSession = Login("<#LOGIN |7| |ana| |nope| |x|#>");
    std::unique_ptr<CWACommand> pCommand = std::make_unique<CRecordingCommand>(WA_CMD_WTREE, &m_runs);
    EXPECT_FALSE(Run(*pSession, pCommand));
    EXPECT_EQ(pSession->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_TRUE(m_runs.empty());
}

TEST_F(CWASessionTest, RefusedRightsAndServerCommandsDoNotRun)
{
    const auto pSession = Login("<#LOGIN |7| |ana| |pw| |x|#>");
    for (int nId : { WA_CMD_EDIR, WA_CMD_DOWN2, WA_CMD_UPL, WA_CMD_LOGIN, WA_CMD_LOGOUT }) {
        std::unique_ptr<CWACommand> pCommand = std::make_unique<CRecordingCommand>(nId, &m_runs);
        EXPECT_FALSE(Run(*pSession, pCommand)) << nId;
        EXPECT_EQ(pSession->GetStatus(), WA_STATUS_MALFORMED);
    }
    EXPECT_TRUE(m_runs.empty());
}

TEST_F(CWASessionTest, FailedRunReportsTheCommandsCodeAndKeepsThePlace)
{
    const auto pSession = Login("<#LOGIN |7| |ana| |pw| |x|#>");
    std::unique_ptr<CWACommand> pCommand = std::make_unique<CRecordingCommand>(WA_CMD_WDIR, &m_runs, FALSE);
    EXPECT_FALSE(Run(*pSession, pCommand));
    EXPECT_EQ(pSession->GetStatus(), 8);
    EXPECT_EQ(pSession->GetPlace().m_nBlock, 0);
    pCommand = std::make_unique<CRecordingCommand>(WA_CMD_WDIR, &m_runs);
    EXPECT_TRUE(Run(*pSession, pCommand));
    EXPECT_EQ(pSession->GetPlace().m_nBlock, 42);
    EXPECT_NE(pCommand, nullptr); // Only a search is kept
}

TEST_F(CWASessionTest, PageWithoutAKeptSearchIsRefused)
{
    const auto pSession = Login("<#LOGIN |7| |ana| |pw| |x|#>");
    std::unique_ptr<CWACommand> pPage = CreateWebCommand("<#PAGE |2|#>");
    EXPECT_FALSE(Run(*pSession, pPage));
    EXPECT_EQ(pSession->GetStatus(), WA_STATUS_MALFORMED);
}

TEST_F(CWASessionTest, PageRunsTheLatestKeptSearchFromPageOne)
{
    const auto pSession = Login("<#LOGIN |7| |ana| |pw| |x|#>");
    std::vector<int> firstRuns;
    std::unique_ptr<CWACommand> pFirst = std::make_unique<CRecordingCommand>(WA_CMD_WFIND, &firstRuns);
    ASSERT_TRUE(Run(*pSession, pFirst));
    EXPECT_EQ(pFirst, nullptr); // The session keeps it
    std::unique_ptr<CWACommand> pSecond = std::make_unique<CRecordingCommand>(WA_CMD_WFIND, &m_runs);
    ASSERT_TRUE(Run(*pSession, pSecond));
    for (const char* pszToken : { "<#PAGE |3|#>", "<#PAGE ||#>", "<#PAGE |-5|#>" }) {
        std::unique_ptr<CWACommand> pPage = CreateWebCommand(pszToken);
        EXPECT_TRUE(Run(*pSession, pPage));
    }
    EXPECT_EQ(firstRuns, std::vector<int> { 1 });
    EXPECT_EQ(m_runs, (std::vector<int> { 1, 3, 1, 1 }));
}
