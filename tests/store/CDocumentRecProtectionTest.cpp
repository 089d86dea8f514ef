#include "store/CDocumentRec.h"

#include "platform/base/FileFunctions.h"
#include "store/CatalogIo.h"
#include "tests/store/DocumentFilesFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// File documents protected and read through their catalog records.
class CDocumentRecProtectionTest : public DocumentFilesTest {
protected:
    void SetUp() override
    {
        DocumentFilesTest::SetUp();
        m_pNode = AddNode(*Root(*m_pCatalog), "Work");
        m_pDocument = AddDocument(*m_pCatalog, m_pNode.get(), WriteOnT("docs/plan.txt", TEXT).c_str());
    }

    // The document as the catalog now has it.
    std::unique_ptr<CDocumentRec> Reloaded() { return Document(*m_pCatalog, m_pDocument->GetRef()); }
    std::string StoredPassword()
    {
        CDocumentInfo info;
        Reloaded()->GetInfo(&info);
        return info.szPassword;
    }
    bool IsReadOnly() const { return GetFileAttributes(OnT("docs\\plan.txt").c_str()) & FILE_ATTRIBUTE_READONLY; }

    static constexpr const char* TEXT = "Plan: finish the report by Friday.\n";
    std::unique_ptr<CNodeRec> m_pNode;
    std::unique_ptr<CDocumentRec> m_pDocument;
};

TEST_F(CDocumentRecProtectionTest, ProtectingLocksTheFileAndTheRecordAndUnprotectingGivesThemBack)
{
    ASSERT_EQ(m_pDocument->ChangeProtection("pw", ""), PROTECT_OK);
    EXPECT_EQ(StoredPassword(), "pw");
    EXPECT_TRUE(IsProtectedFile(OnT("docs\\plan.txt").c_str()));
    EXPECT_TRUE(IsReadOnly());
    char szText[100];
    EXPECT_EQ(Reloaded()->ReadContent(szText, sizeof(szText)), CONTENT_PROTECTED_FILE);
    EXPECT_STREQ(szText, "");

    ASSERT_EQ(m_pDocument->ChangeProtection("", "pw"), PROTECT_OK);
    EXPECT_EQ(StoredPassword(), "");
    EXPECT_EQ(ReadOnT("docs/plan.txt"), TEXT);
    EXPECT_FALSE(IsReadOnly());
    EXPECT_EQ(Reloaded()->ReadContent(szText, sizeof(szText)), CONTENT_TEXT);
    EXPECT_STREQ(szText, TEXT);
}

TEST_F(CDocumentRecProtectionTest, AFileThatWasReadOnlyStaysReadOnly)
{
    ASSERT_TRUE(SetFileAttributes(OnT("docs\\plan.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(m_pDocument->ChangeProtection("pw", ""), PROTECT_OK);
    ASSERT_EQ(m_pDocument->ChangeProtection("", "pw"), PROTECT_OK);
    EXPECT_TRUE(IsReadOnly());
    EXPECT_EQ(ReadOnT("docs/plan.txt"), TEXT);
}

TEST_F(CDocumentRecProtectionTest, ChangingThePasswordKeepsTheFileLocked)
{
    ASSERT_EQ(m_pDocument->ChangeProtection("first", ""), PROTECT_OK);
    ASSERT_EQ(m_pDocument->ChangeProtection("second", "first"), PROTECT_OK);
    EXPECT_EQ(StoredPassword(), "second");
    EXPECT_TRUE(IsReadOnly());
    CString strHeld;
    ReadProtectedFileHeader(OnT("docs\\plan.txt").c_str(), strHeld);
    EXPECT_EQ(std::string(strHeld), "second");
    // Without a new password only the password is checked.
    EXPECT_EQ(m_pDocument->ChangeProtection(nullptr, "second"), PROTECT_OK);
    EXPECT_EQ(m_pDocument->ChangeProtection(nullptr, "first"), PROTECT_BAD_PASSWORD);
    EXPECT_TRUE(IsProtectedFile(OnT("docs\\plan.txt").c_str()));
}

TEST_F(CDocumentRecProtectionTest, WrongOrTooLongPasswordsChangeNothing)
{
    EXPECT_EQ(m_pDocument->ChangeProtection("sixteen-chars-pw", ""), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(m_pDocument->ChangeProtection("pw", "not the password"), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(ReadOnT("docs/plan.txt"), TEXT);
    ASSERT_EQ(m_pDocument->ChangeProtection("fifteen-chars-p", ""), PROTECT_OK);
    std::string strLocked = ReadOnT("docs/plan.txt");
    EXPECT_EQ(m_pDocument->ChangeProtection("", "Fifteen-chars-p"), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(m_pDocument->ChangeProtection("", ""), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(ReadOnT("docs/plan.txt"), strLocked);
    EXPECT_EQ(StoredPassword(), "fifteen-chars-p");
}

TEST_F(CDocumentRecProtectionTest, AFileUnprotectedBehindTheCatalogsBackClearsTheRecord)
{
    ASSERT_EQ(m_pDocument->ChangeProtection("pw", ""), PROTECT_OK);
    ASSERT_EQ(ProtectFile(OnT("docs\\plan.txt").c_str(), "", "pw"), PROTECT_OK);
    EXPECT_EQ(m_pDocument->ChangeProtection("", "pw"), PROTECT_NOT_PROTECTED);
    EXPECT_EQ(StoredPassword(), "");
    EXPECT_FALSE(IsReadOnly());
    EXPECT_EQ(ReadOnT("docs/plan.txt"), TEXT);
}

TEST_F(CDocumentRecProtectionTest, AMissingOrDamagedFileKeepsTheRecord)
{
    ASSERT_EQ(m_pDocument->ChangeProtection("pw", ""), PROTECT_OK);
    std::string strBad = ReadOnT("docs/plan.txt");
    strBad[PROTECTED_HEADER_SIZE] ^= 0x20;
    ASSERT_TRUE(SetFileAttributes(OnT("docs\\plan.txt").c_str(), 0));
    WriteOnT("docs/plan.txt", strBad);
    EXPECT_EQ(m_pDocument->ChangeProtection("", "pw"), PROTECT_DAMAGED);
    EXPECT_EQ(StoredPassword(), "pw");
    EXPECT_EQ(ReadOnT("docs/plan.txt"), strBad);

    auto pOther = AddDocument(*m_pCatalog, m_pNode.get(), OnT("docs\\gone.txt").c_str());
    EXPECT_EQ(pOther->ChangeProtection("pw", ""), PROTECT_NOT_FOUND);
    CDocumentInfo info;
    Document(*m_pCatalog, pOther->GetRef())->GetInfo(&info);
    EXPECT_STREQ(info.szPassword, "");
    char szText[10];
    EXPECT_EQ(pOther->ReadContent(szText, sizeof(szText)), CONTENT_NOT_FOUND);
}

TEST_F(CDocumentRecProtectionTest, ARecordThatCannotBeWrittenTakesTheFilesChangeBack)
{
    // Protecting writes the temporary in two pieces (content, header); the
    // record's write follows. Fail each later write until one is the record's.
    int nWrites = 3;
    for (; nWrites <= 6; ++nWrites) {
        SetCatalogWriteFailure(nWrites);
        int nResult = m_pDocument->ChangeProtection("pw", "");
        SetCatalogWriteFailure(0);
        if (nResult == PROTECT_WRITE_FAILED)
            break;
        ASSERT_EQ(nResult, PROTECT_OK);
        ASSERT_EQ(m_pDocument->ChangeProtection("", "pw"), PROTECT_OK);
    }
    ASSERT_LE(nWrites, 6);
    EXPECT_EQ(StoredPassword(), "");
    EXPECT_EQ(ReadOnT("docs/plan.txt"), TEXT);
    EXPECT_FALSE(IsReadOnly());
}

TEST_F(CDocumentRecProtectionTest, ReadContentOfFilesGoesThroughTheContentReader)
{
    auto pPicture = AddDocument(*m_pCatalog, m_pNode.get(), WriteOnT("docs/p.png", "\x89PNG\r\n\x1A\n").c_str());
    char szText[64];
    EXPECT_EQ(pPicture->ReadContent(szText, sizeof(szText)), CONTENT_PICTURE);
    CString strPath, strFormat;
    ASSERT_TRUE(GetContentPicture(strPath, strFormat));
    EXPECT_EQ(strPath.CompareNoCase(OnT("docs\\p.png").c_str()), 0);
    EXPECT_EQ(m_pDocument->ReadContent(szText, 5), CONTENT_TEXT);
    EXPECT_STREQ(szText, "Plan");
}

} // namespace
