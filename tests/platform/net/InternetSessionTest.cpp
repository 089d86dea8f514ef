#include "platform/net/InternetSession.h"

#include "tools/testpeers/FakeDirectoryServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class InternetSessionTest : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("no_proxy", "127.0.0.1", 1);
        setenv("NO_PROXY", "127.0.0.1", 1);
    }
    void TearDown() override
    {
        SetTimeout(INTERNET_OPTION_CONNECT_TIMEOUT, 0);
        SetTimeout(INTERNET_OPTION_RECEIVE_TIMEOUT, 0);
    }

    static void SetTimeout(DWORD dwOption, DWORD dwMilliseconds)
    {
        ASSERT_TRUE(InternetSetOption(nullptr, dwOption, &dwMilliseconds, sizeof dwMilliseconds));
    }

    // The whole body read as a caller reads it, in pieces of 255 bytes.
    static std::string Fetch(const std::string& strUrl)
    {
        CInternetSession session(nullptr, 1, PRE_CONFIG_INTERNET_ACCESS);
        CInternetFile* pFile
            = session.OpenURL(strUrl.c_str(), 1, INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_ASCII);
        std::string strBody;
        char buffer[255];
        while (UINT nRead = pFile->Read(buffer, sizeof buffer))
            strBody.append(buffer, nRead);
        pFile->Close();
        delete pFile;
        session.Close();
        return strBody;
    }

    // The error number OpenURL throws for the URL, 0 when it succeeds; the
    // exception's message goes to *pstrMessage.
    static DWORD FailureOf(const std::string& strUrl, std::string* pstrMessage = nullptr)
    {
        try {
            Fetch(strUrl);
        } catch (CInternetException* pException) {
            DWORD dwError = pException->m_dwError;
            EXPECT_EQ(pException->m_dwContext, 1u);
            char szMessage[1024];
            EXPECT_TRUE(pException->GetErrorMessage(szMessage, sizeof szMessage));
            if (pstrMessage)
                *pstrMessage = szMessage;
            pException->Delete();
            return dwError;
        }
        return 0;
    }

    CFakeDirectoryServer m_server;
};

} // namespace

TEST_F(InternetSessionTest, GivesTheBodyAndSendsThePathAndQueryAsGiven)
{
    std::string strBody = "<#WAPG |0| |x| |ok|#>";
    for (int i = 0; i < 100; ++i)
        strBody += "0123456789"; // longer than one piece of the caller
    m_server.SetReply(strBody);
    EXPECT_EQ(Fetch(m_server.BaseUrl() + "/waping.asp?Cnum=12&Cpor=%20x"), strBody);
    ASSERT_EQ(m_server.Requests().size(), 1u);
    EXPECT_EQ(m_server.Requests()[0], "GET /waping.asp?Cnum=12&Cpor=%20x HTTP/1.1");
}

TEST_F(InternetSessionTest, AnHttpErrorStillGivesItsPage)
{
    CFakeReply reply;
    reply.nStatus = 500;
    reply.strBody = "<html><body>Server Error</body></html>";
    m_server.SetReply(reply);
    EXPECT_EQ(Fetch(m_server.BaseUrl() + "/wartcat.asp"), reply.strBody);
}

TEST_F(InternetSessionTest, TransportFailuresThrowTheirNumbers)
{
    EXPECT_EQ(FailureOf("ftp://127.0.0.1/x"), ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    EXPECT_EQ(FailureOf("file:///etc/passwd"), ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    EXPECT_EQ(FailureOf("http://[::1"), ERROR_INTERNET_INVALID_URL);

    CFakeReply closeAtOnce;
    closeAtOnce.eEnding = CFakeReply::Ending::Close;
    m_server.SetReply(closeAtOnce);
    EXPECT_EQ(FailureOf(m_server.BaseUrl() + "/a"), ERROR_INTERNET_CONNECTION_ABORTED);

    CFakeReply reset;
    reset.eEnding = CFakeReply::Ending::Reset;
    m_server.SetReply(reset);
    DWORD dwReset = FailureOf(m_server.BaseUrl() + "/a");
    EXPECT_TRUE(dwReset == ERROR_INTERNET_CONNECTION_RESET || dwReset == ERROR_INTERNET_CONNECTION_ABORTED) << dwReset;

    std::string strUrl = m_server.BaseUrl() + "/a";
    m_server.Close();
    std::string strMessage;
    EXPECT_EQ(FailureOf(strUrl, &strMessage), ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_EQ(strMessage, "A connection with the server could not be established.");
}

TEST_F(InternetSessionTest, AReplyHeldPastTheReceiveTimeOutTimesOut)
{
    SetTimeout(INTERNET_OPTION_RECEIVE_TIMEOUT, 300);
    CFakeReply slow;
    slow.nDelay = std::chrono::milliseconds(4000);
    slow.strBody = "late";
    m_server.SetReply(slow);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FailureOf(m_server.BaseUrl() + "/waping.asp"), ERROR_INTERNET_TIMEOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));
}

TEST_F(InternetSessionTest, TheBodyIsCappedAtOneMebibyte)
{
    m_server.SetReply(std::string(INTERNET_MAX_BODY_SIZE, 'a'));
    EXPECT_EQ(Fetch(m_server.BaseUrl() + "/").size(), INTERNET_MAX_BODY_SIZE);
    m_server.SetReply(std::string(INTERNET_MAX_BODY_SIZE + 1, 'a'));
    EXPECT_EQ(FailureOf(m_server.BaseUrl() + "/"), ERROR_HTTP_INVALID_SERVER_RESPONSE);
}

TEST(InternetOptionTest, OnlyTheTwoTimeOutsOfTheProcessAreSet)
{
    DWORD dwValue = 1000;
    int nHandle = 0;
    EXPECT_FALSE(InternetSetOption(&nHandle, INTERNET_OPTION_CONNECT_TIMEOUT, &dwValue, sizeof dwValue));
    EXPECT_FALSE(InternetSetOption(nullptr, 77, &dwValue, sizeof dwValue));
    EXPECT_FALSE(InternetSetOption(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &dwValue, 2));
    EXPECT_FALSE(InternetSetOption(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, nullptr, sizeof dwValue));
}
