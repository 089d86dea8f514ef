#include "monitor/NoticeNames.h"

#include "mail/CMailMessage.h"
#include "mail/MailResult.h"
#include "tests/catalog/CatalogDriveFixture.h"
#include "tests/platform/gdi/GdiTestCanvas.h"

#include <gtest/gtest.h>

namespace {

// A message that has only a subject.
class CSubjectMessage : public CMailMessage {
public:
    explicit CSubjectMessage(const char* pszSubject)
        : m_strSubject(pszSubject)
    {
    }
    int GetStoreKind() const override { return MAIL_STORE_NETSCAPE; }
    CString GetSubject() const override { return m_strSubject; }
    CString GetText() const override { return {}; }
    void GetExtraField(char* pszBuffer) const override { *pszBuffer = '\0'; }
    int Load(LPCTSTR) override { return MAIL_OK; }
    int ReadNext(LPCTSTR, DWORD, int) override { return MAIL_END; }

private:
    CString m_strSubject;
};

class NoticeNamesTest : public CatalogDriveTest {
protected:
    std::string Short(const CNewDocNotice& notice, int nWidth)
    {
        const RECT rc { 0, 0, nWidth, 20 };
        return std::string(GetShortDisplayName(notice, m_canvas.Dc(), &rc));
    }
    CTestCanvas m_canvas { 400, 40 };
};

TEST_F(NoticeNamesTest, NamesGiveWayFromTheMiddleAndKeepTheFileOrSubject)
{
    const CNewDocNotice file("t:\\projects\\archive\\2024\\report.txt", CNewDocNotice::STORE_NONE);
    EXPECT_EQ(Short(file, 4000), "t:\\projects\\archive\\2024\\report.txt");
    EXPECT_EQ(Short(file, 0), "...\\report.txt");

    const CNewDocNotice untitled("t:\\mail\\inbox", MAIL_STORE_NETSCAPE, std::make_unique<CSubjectMessage>(""));
    EXPECT_EQ(Short(untitled, 4000), "t:\\mail\\inbox\\(no subject)");
    const CNewDocNotice titled("t:\\mail\\inbox", MAIL_STORE_NETSCAPE, std::make_unique<CSubjectMessage>("Minutes"));
    EXPECT_EQ(Short(titled, 0), "...\\Minutes");
}

} // namespace
