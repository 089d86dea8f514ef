#include "store/CDocumentRec.h"

#include "platform/base/Clock.h"
#include "store/CPreferences.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr LONGLONG DAY = 86400;
constexpr LONGLONG NOW = 1780272000; // 2026-06-01 00:00:00 UTC

ULONGLONG FileTimeOf(LONGLONG tTime)
{
    return (static_cast<ULONGLONG>(tTime) + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND;
}

}

// The state of documents whose files lie in the program folder, at a fixed
// time. Documents count as new for no day unless a test says otherwise.
class CDocumentRecStateTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        thePreferences.m_nNumDayFileNew = 0;
        m_pCatalog = NewMainCatalog();
        m_pNode = AddNode(*Root(*m_pCatalog), "Work");
    }
    void TearDown() override
    {
        thePreferences.SetDefaults();
        CatalogTest::TearDown();
    }

    std::unique_ptr<CDocumentRec> AddFile(const char* pszName, LONG nExpiry, bool bCreateFile = true)
    {
        if (bCreateFile)
            std::ofstream(HostPath(pszName)) << "twelve bytes";
        auto pDocument = AddDocument(*m_pCatalog, m_pNode.get(), ProgramPath(pszName).c_str());
        CDocumentInfo info;
        pDocument->GetInfo(&info);
        info.nExpiry = nExpiry;
        EXPECT_TRUE(pDocument->UpdateInfo(info));
        pDocument->Load();
        return pDocument;
    }

    CManualClock m_clock { FileTimeOf(NOW) };
    CClockOverride m_clockOverride { m_clock };
    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pNode;
};

TEST_F(CDocumentRecStateTest, LoadStateReadsTheFile)
{
    auto pDocument = AddFile("a.txt", 0);
    const CDocumentState& state = pDocument->LoadState();
    EXPECT_TRUE(state.bFound);
    EXPECT_EQ(state.nSize, 12);
    EXPECT_GT(state.tModified, 0);

    auto pMissing = AddFile("gone.txt", 0, false);
    EXPECT_FALSE(pMissing->LoadState().bFound);
    EXPECT_LT(pMissing->LoadState().nSize, 0);
}

TEST_F(CDocumentRecStateTest, ExpiryStatesFollowTheDateAndTheFile)
{
    EXPECT_EQ(AddFile("none.txt", 0)->GetExpiryState(FALSE), EXPIRY_NONE);
    EXPECT_EQ(AddFile("later.txt", static_cast<LONG>(NOW + 30 * DAY))->GetExpiryState(FALSE), EXPIRY_NONE);
    // An expiry date that is near says nothing yet.
    EXPECT_EQ(AddFile("soon.txt", static_cast<LONG>(NOW + 2 * DAY))->GetExpiryState(FALSE), EXPIRY_NONE);
    EXPECT_EQ(AddFile("past.txt", static_cast<LONG>(NOW - 1))->GetExpiryState(FALSE), EXPIRY_PASSED);
    // A missing file is reported before its date.
    EXPECT_EQ(AddFile("gone.txt", static_cast<LONG>(NOW - 1), false)->GetExpiryState(FALSE), EXPIRY_NOT_FOUND);
}

TEST_F(CDocumentRecStateTest, StateIsCachedUntilChecked)
{
    auto pDocument = AddFile("a.txt", static_cast<LONG>(NOW + DAY * 30));
    EXPECT_EQ(pDocument->GetExpiryState(FALSE), EXPIRY_NONE);
    std::filesystem::remove(HostPath("a.txt"));
    EXPECT_EQ(pDocument->GetExpiryState(FALSE), EXPIRY_NONE);
    EXPECT_EQ(pDocument->GetExpiryState(TRUE), EXPIRY_NOT_FOUND);
}

TEST_F(CDocumentRecStateTest, RefreshStateTellsWhetherTheStateChanged)
{
    auto pDocument = AddFile("a.txt", static_cast<LONG>(NOW + DAY));
    EXPECT_EQ(pDocument->RefreshState(), 0);
    m_clock.SetUtcNow(FileTimeOf(NOW + 2 * DAY));
    EXPECT_EQ(pDocument->RefreshState(), 1);
    EXPECT_EQ(pDocument->GetExpiryState(FALSE), EXPIRY_PASSED);
    EXPECT_EQ(pDocument->RefreshState(), 0);
}

TEST_F(CDocumentRecStateTest, DocumentsCataloguedFewerThanTheNewDaysAgoAreNew)
{
    thePreferences.m_nNumDayFileNew = 3;
    auto pDocument = AddFile("a.txt", 0);
    EXPECT_EQ(pDocument->GetExpiryState(FALSE), EXPIRY_NEW);
    m_clock.SetUtcNow(FileTimeOf(NOW + 2 * DAY));
    EXPECT_EQ(pDocument->RefreshState(), 0);
    m_clock.SetUtcNow(FileTimeOf(NOW + 3 * DAY));
    EXPECT_EQ(pDocument->RefreshState(), 1);
    EXPECT_EQ(pDocument->GetExpiryState(FALSE), EXPIRY_NONE);

    // The preference is read at each check.
    thePreferences.m_nNumDayFileNew = 10;
    EXPECT_EQ(pDocument->GetExpiryState(TRUE), EXPIRY_NEW);
    thePreferences.m_nNumDayFileNew = 0;
    EXPECT_EQ(pDocument->GetExpiryState(TRUE), EXPIRY_NONE);
}

TEST_F(CDocumentRecStateTest, ExpiredAndMissingGoBeforeNew)
{
    thePreferences.m_nNumDayFileNew = 5;
    EXPECT_EQ(AddFile("past.txt", static_cast<LONG>(NOW - 1))->GetExpiryState(FALSE), EXPIRY_PASSED);
    EXPECT_EQ(AddFile("gone.txt", 0, false)->GetExpiryState(FALSE), EXPIRY_NOT_FOUND);

    // A document without a catalog time was never catalogued as new.
    auto pDocument = AddFile("old.txt", 0);
    CDocumentInfo info;
    ASSERT_TRUE(pDocument->GetInfo(&info));
    info.ftCatalogTime = {};
    ASSERT_TRUE(pDocument->UpdateInfo(info));
    EXPECT_EQ(pDocument->GetExpiryState(TRUE), EXPIRY_NONE);
}

TEST_F(CDocumentRecStateTest, MailStatesComeFromTheRecordAndTheStore)
{
    std::ofstream(HostPath("inbox")) << std::string(100, 'm');
    CDocumentInfo message {};
    strcpy(message.szName, "Hello");
    message.nVersion = 2;
    LONG nOffset = 40, nLength = 50;
    std::memcpy(message.id + 4, &nOffset, 4);
    std::memcpy(message.id + 8, &nLength, 4);
    message.dwAttributes = static_cast<DWORD>(NOW - DAY);
    std::unique_ptr<CDocumentRec> pMail(m_pCatalog->AddAndLink(m_pNode.get(), message, ProgramPath("inbox").c_str()));
    ASSERT_TRUE(pMail);
    EXPECT_EQ(pMail->LoadState().nSize, 50);
    EXPECT_EQ(pMail->LoadState().tCreated, NOW - DAY);
    EXPECT_EQ(pMail->GetExpiryState(FALSE), EXPIRY_NONE);

    // The store shrank below the message's end: it needs reorganising.
    std::filesystem::resize_file(HostPath("inbox"), 60);
    EXPECT_EQ(pMail->RefreshState(), 2);

    message.id[12] = 'x';
    std::memcpy(message.id + 4, &nLength, 4); // another message: another position
    std::unique_ptr<CDocumentRec> pDeleted(
        m_pCatalog->AddAndLink(m_pNode.get(), message, ProgramPath("inbox").c_str()));
    ASSERT_TRUE(pDeleted);
    EXPECT_EQ(pDeleted->GetExpiryState(FALSE), EXPIRY_MAIL_DELETED);

    std::filesystem::remove(HostPath("inbox"));
    EXPECT_EQ(pMail->GetExpiryState(TRUE), EXPIRY_NOT_FOUND);
}

TEST_F(CDocumentRecStateTest, ClonesKeepTheCachedState)
{
    auto pDocument = AddFile("a.txt", 0);
    EXPECT_EQ(pDocument->GetExpiryState(FALSE), EXPIRY_NONE);
    std::filesystem::remove(HostPath("a.txt"));
    std::unique_ptr<CDocumentRec> pClone(pDocument->Clone());
    ASSERT_TRUE(pClone);
    EXPECT_EQ(pClone->GetExpiryState(FALSE), EXPIRY_NONE);
    EXPECT_EQ(pClone->LoadState().nSize, 12);
    EXPECT_EQ(pClone->GetExpiryState(TRUE), EXPIRY_NOT_FOUND);
}
