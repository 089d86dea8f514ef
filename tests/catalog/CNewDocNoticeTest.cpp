#include "catalog/CNewDocNotice.h"

#include "mail/CMailMessage.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/ProtectedFile.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A message with a subject, text and sender of the test's choosing, which
// counts its destruction.
class CTestMessage : public CMailMessage {
public:
    CTestMessage(std::string strSubject, std::string strText, int* pnDestroyed)
        : m_strSubject(std::move(strSubject))
        , m_strText(std::move(strText))
        , m_pnDestroyed(pnDestroyed)
    {
    }
    ~CTestMessage() override { ++*m_pnDestroyed; }
    int GetStoreKind() const override { return MAIL_STORE_NETSCAPE; }
    CString GetSubject() const override { return m_strSubject.c_str(); }
    CString GetText() const override { return m_strText.c_str(); }
    void GetExtraField(char* pszBuffer) const override { std::strcpy(pszBuffer, "ana@example.org"); }
    int Load(LPCTSTR) override { return MAIL_OK; }
    int ReadNext(LPCTSTR, DWORD, int) override { return MAIL_END; }

private:
    std::string m_strSubject;
    std::string m_strText;
    int* m_pnDestroyed;
};

class CNewDocNoticeTest : public CatalogDriveTest { };

TEST_F(CNewDocNoticeTest, AMessageIsNamedByItsStoreAndSubject)
{
    int nDestroyed = 0;
    CNewDocNotice notice("t:\\mail\\inbox", MAIL_STORE_NETSCAPE,
        std::make_unique<CTestMessage>("", std::string(300, 'a') + "\xc3\xa9", &nDestroyed));
    CString strNoSubject;
    strNoSubject.LoadString(IDS_NOTICE_NO_SUBJECT);
    ASSERT_FALSE(strNoSubject.IsEmpty());
    EXPECT_EQ(notice.GetDisplayName(), "t:\\mail\\inbox\\" + strNoSubject);
    EXPECT_EQ(notice.GetDescription().GetLength(), MAX_NOTICE_DESCRIPTION);
    EXPECT_EQ(notice.GetMessageField(), CString("ana@example.org"));
    EXPECT_FALSE(notice.IsStoreChange());
}

TEST_F(CNewDocNoticeTest, TheQueueOwnsTheMessageItWasGiven)
{
    int nDestroyed = 0;
    {
        CNewDocNoticeArray queue;
        CNewDocNotice notice(
            "t:\\mail\\inbox", MAIL_STORE_NETSCAPE, std::make_unique<CTestMessage>("Hello", "text", &nDestroyed));
        queue.push_back(std::move(notice));
        for (int i = 0; i < 40; ++i)
            queue.emplace_back("t:\\x.txt", CNewDocNotice::STORE_NONE);
        EXPECT_EQ(queue.front().GetDisplayName(), CString("t:\\mail\\inbox\\Hello"));
        EXPECT_EQ(nDestroyed, 0);
    }
    EXPECT_EQ(nDestroyed, 1);
}

TEST_F(CNewDocNoticeTest, AFileProposesItsTextAndItsPassword)
{
    WriteOnT("docs/plan.txt", "The plan\tfor May");
    WriteOnT("docs/secret.txt", "hidden");
    ASSERT_EQ(ProtectFile(OnT("docs/secret.txt").c_str(), "pw", ""), PROTECT_OK);
    const CNewDocNotice plan(OnT("docs/plan.txt").c_str(), CNewDocNotice::STORE_NONE);
    EXPECT_EQ(plan.GetDisplayName(), CString(OnT("docs/plan.txt").c_str()));
    EXPECT_EQ(plan.GetDescription(), CString("The plan\tfor May"));
    EXPECT_TRUE(plan.GetProtection().IsEmpty());
    EXPECT_TRUE(plan.GetMessageField().IsEmpty());
    const CNewDocNotice secret(OnT("docs/secret.txt").c_str(), CNewDocNotice::STORE_NONE);
    EXPECT_EQ(secret.GetProtection(), CString("pw"));
    EXPECT_TRUE(secret.GetDescription().IsEmpty());
    const CNewDocNotice gone(OnT("docs/gone.txt").c_str(), CNewDocNotice::STORE_NONE);
    EXPECT_TRUE(gone.GetProtection().IsEmpty());
    EXPECT_TRUE(CNewDocNotice("t:\\mail\\inbox", MAIL_STORE_NETSCAPE).IsStoreChange());
}

} // namespace
